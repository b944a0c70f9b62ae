#include "WishListDialog.h"

#include "ButtonNames.h"

#include "platform/StringList.h"
#include "settings/SettingNames.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>

#include <algorithm>

namespace wt::ui {

namespace {
const char kAskWish[] =
    "Please enter a song name or artist. If Wavetrap finds\rany song name containing the string you "
    "entered,\rit will download the song automatically";
const char kWishExists[] = "A Wish already exists with such string";
const char kConfirmClear[] = "This will delete all Wish-Lists\rAre you sure you want to continue?";
}  // namespace

std::vector<std::string> WishLines(const QString& text) {
    std::vector<std::string> lines;
    for (const QString& line : text.split(QRegularExpression(QStringLiteral("[\\r\\n]+")))) {
        const QString wish = line.trimmed();
        if (!wish.isEmpty()) lines.push_back(wish.toStdString());
    }
    return lines;
}

TForm7::TForm7(QWidget* parent, UserDialogs& dialogs, TzIniData& settings, std::vector<std::string>& wishList,
               std::vector<std::string>& newWishes, WishSearchControl searches)
    : QDialog(parent),
      dialogs_(dialogs),
      settings_(settings),
      wishList_(wishList),
      newWishes_(newWishes),
      searches_(std::move(searches)) {
    setWindowTitle("Manage Wish List");
    setFixedSize(362, 312);
    panel_ = new QWidget(this);
    panel_->setGeometry(0, 0, 362, 312);
    TeListBox3 = new QListWidget(panel_);
    TeListBox3->setGeometry(0, 0, 240, 238);
    lLastMatch = new QLabel(panel_);
    lLastMatch->setGeometry(4, 240, 234, 70);
    lLastMatch->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lLastMatch->setWordWrap(true);
    lLastMatch->setAccessibleName(QStringLiteral("Last match"));
    auto button = [this](const char* text, int top) {
        auto* b = new QPushButton(text, panel_);
        b->setGeometry(240 + 8, top, 103, 25);
        return b;
    };
    TeButton17 = button("Add", 14);
    TeButton16 = button("Remove", 46);
    TeButton19 = button("Clear All", 79);
    TeButton18 = button("Done", 110);
    setTabOrder(TeButton17, TeButton16);
    setTabOrder(TeButton16, TeButton18);
    setTabOrder(TeButton18, TeButton19);
    TeButton18->setDefault(true);
    NameButtonsByCaption(this);
    connect(TeListBox3, &QListWidget::itemSelectionChanged, this, [this] { TeListBox3Click(); });
    connect(TeButton17, &QPushButton::clicked, this, [this] { TeButton17Click(); });
    connect(TeButton16, &QPushButton::clicked, this, [this] { TeButton16Click(); });
    connect(TeButton19, &QPushButton::clicked, this, [this] { TeButton19Click(); });
    connect(TeButton18, &QPushButton::clicked, this, [this] { TeButton18Click(); });
    ReloadWishesListBox();
}

void TForm7::ReloadWishesListBox() {
    wishList_ = SplitLines(settings_.ReadString(setting::kWishes, ""));
    TeListBox3->clear();
    for (const auto& wish : wishList_) {
        auto* item = new QListWidgetItem(QString::fromStdString(wish), TeListBox3);
        item->setToolTip(LastMatchText(wish));
    }
    TeListBox3Click();
}

QString TForm7::LastMatchText(const std::string& wish) const {
    const QString match = searches_.LastMatch ? searches_.LastMatch(wish) : QString();
    return match.isEmpty() ? QString::fromLatin1(kNotMatchedYet) : match;
}

void TForm7::TeListBox3Click() {
    const auto selected = TeListBox3->selectedItems();
    if (selected.isEmpty()) {
        const QString lookingAt = searches_.LookingAt ? searches_.LookingAt() : QString();
        lLastMatch->setText(QString::fromLatin1(kNoWishSelected) + (lookingAt.isEmpty() ? QString() : "\n" + lookingAt));
    } else {
        lLastMatch->setText(LastMatchText(selected.front()->text().toStdString()));
    }
    TeButton16->setEnabled(!selected.isEmpty());
    TeButton19->setEnabled(!wishList_.empty());
}

void TForm7::WriteWishes() { settings_.WriteString(setting::kWishes, JoinLinesCrLf(wishList_)); }

void TForm7::TeButton17Click() {
    auto text = dialogs_.InputText(this, "Wish-Lists", QString::fromLatin1(kAskWish), QString());
    if (!text || text->isEmpty()) return;
    // A pasted list (one wish per line) becomes one wish per line: a line break inside a wish
    // would split it into two lines of the stored list anyway.
    bool refused = false, added = false;
    for (const std::string& wish : WishLines(*text)) {
        bool known = std::any_of(wishList_.begin(), wishList_.end(),
                                 [&](const std::string& w) { return EqualsIgnoreCase(w, wish); });
        if (known) {
            refused = true;
            continue;
        }
        wishList_.push_back(wish);
        newWishes_.push_back(wish);
        added = true;
    }
    if (added) {
        WriteWishes();
        ReloadWishesListBox();
    }
    if (refused) dialogs_.ShowMessage(this, MessageKind::Error, QString::fromLatin1(kWishExists));
}

void TForm7::TeButton16Click() {
    int row = TeListBox3->currentRow();
    if (row < 0 || TeListBox3->selectedItems().isEmpty() || row >= static_cast<int>(wishList_.size())) return;
    if (searches_.RemoveWish) searches_.RemoveWish(TeListBox3->item(row)->text().toStdString());
    wishList_.erase(wishList_.begin() + row);
    WriteWishes();
    ReloadWishesListBox();
}

void TForm7::TeButton19Click() {
    if (!dialogs_.AskYesNo(this, MessageKind::Warning, QString::fromLatin1(kConfirmClear))) return;
    settings_.WriteString(setting::kWishes, "");
    ReloadWishesListBox();
}

void TForm7::TeButton18Click() {
    panel_->hide();
    if (searches_.StopAllWishes) searches_.StopAllWishes();
    for (int i = 0; i < TeListBox3->count(); ++i)
        if (searches_.AddWish) searches_.AddWish(TeListBox3->item(i)->text().toStdString());
    newWishes_.clear();
    accept();
}

}  // namespace wt::ui
