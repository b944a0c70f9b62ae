#include "UpdateConfig.h"

#include "AddBlackList.h"
#include "ButtonNames.h"
#include "settings/SettingNames.h"
#include "settings/zIniData.h"
#include "update/BlackList.h"
#include "update/UpdateFilter.h"
#include "update/UpdateTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace wt {

namespace {

QComboBox* BitRateList(QWidget* parent) {
    auto* list = new QComboBox(parent);
    for (int rate : BitRateSteps) list->addItem(QString::number(rate));
    list->setFixedWidth(121);
    list->setEnabled(false);
    return list;
}


}  // namespace

TForm6::TForm6(QWidget* parent, TzIniData& settings, std::vector<std::string>& blackList)
    : QDialog(parent), settings_(settings), blackList_(blackList), askTitle_(TForm3::AskTitle), dialogs_(&ui::QtDialogs()) {
    setWindowTitle("Update Configuration");
    setFixedSize(392, 433);  // not sizeable

    TeListBox2 = new QListWidget(this);
    chkHigher = new QCheckBox("Higher than:", this);
    cbHigher = BitRateList(this);
    chkLower = new QCheckBox("Lower than:", this);
    cbLower = BitRateList(this);
    bDone = new QPushButton("Done", this);
    bDone->setFixedSize(113, 25);
    TeCheckBox1 = new QCheckBox("Auto-Update", this);
    TeButton1 = new QPushButton("Add", this);
    TeButton3 = new QPushButton("Remove", this);
    TeButton1->setFixedSize(68, 25);
    TeButton3->setFixedSize(68, 25);

    auto* autoGroup = new QGroupBox("Auto-Update", this);
    auto* autoLayout = new QVBoxLayout(autoGroup);
    auto* caption = new QLabel("Update radio stations with BitRate", autoGroup);
    caption->setWordWrap(true);
    autoLayout->addWidget(caption);
    for (QWidget* w : std::initializer_list<QWidget*>{chkHigher, cbHigher, chkLower, cbLower, bDone, TeCheckBox1})
        autoLayout->addWidget(w);
    auto* blackGroup = new QGroupBox("Black List", this);
    auto* blackLayout = new QHBoxLayout(blackGroup);
    blackLayout->addWidget(TeButton1);
    blackLayout->addWidget(TeButton3);

    auto* column = new QWidget(this);
    column->setFixedWidth(178);
    auto* columnLayout = new QVBoxLayout(column);
    columnLayout->setContentsMargins(0, 0, 0, 0);
    columnLayout->addWidget(autoGroup);
    columnLayout->addStretch();
    columnLayout->addWidget(blackGroup);
    // Where updates come from: no server means no update checks at all.
    auto* serverGroup = new QGroupBox("Update Server", this);
    auto* serverLayout = new QGridLayout(serverGroup);
    serverEdit = new QLineEdit(serverGroup);
    serverEdit->setPlaceholderText("http://host:port (empty: no updates)");
    serverEdit->setAccessibleName("Update server:");
    auto* serverLabel = new QLabel("Update server:", serverGroup);
    serverLabel->setBuddy(serverEdit);
    versionLabel = new QLabel(serverGroup);
    resetVersion = new QPushButton("Reset Version", serverGroup);
    serverLayout->addWidget(serverLabel, 0, 0);
    serverLayout->addWidget(serverEdit, 0, 1, 1, 2);
    serverLayout->addWidget(versionLabel, 1, 0, 1, 2);
    serverLayout->addWidget(resetVersion, 1, 2);

    auto* top = new QHBoxLayout;
    top->addWidget(TeListBox2, 1);
    top->addWidget(column);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(serverGroup);

    FormCreate();

    // Attached only now, so that loading the stored values writes nothing. clicked and activated
    // come from the user only; the handlers' own changes to the controls do not re-enter them.
    connect(chkHigher, &QCheckBox::clicked, this, &TForm6::chkHigherClick);
    connect(chkLower, &QCheckBox::clicked, this, &TForm6::chkLowerClick);
    connect(cbHigher, &QComboBox::activated, this, &TForm6::cbHigherChange);
    connect(cbLower, &QComboBox::activated, this, &TForm6::cbLowerChange);
    connect(TeCheckBox1, &QCheckBox::clicked, this, &TForm6::TeCheckBox1Click);
    connect(TeButton1, &QPushButton::clicked, this, &TForm6::TeButton1Click);
    connect(TeButton3, &QPushButton::clicked, this, &TForm6::TeButton3Click);
    connect(bDone, &QPushButton::clicked, this, &TForm6::bDoneClick);
    connect(serverEdit, &QLineEdit::editingFinished, this, &TForm6::ServerChanged);
    connect(resetVersion, &QPushButton::clicked, this, &TForm6::ResetVersionClick);
    bDone->setDefault(true);
    ui::NameButtonsByCaption(this);
}

void TForm6::FormCreate() {
    for (const std::string& entry : blackList_) TeListBox2->addItem(QString::fromStdString(entry));
    chkHigher->setChecked(settings_.ReadBool(setting::kHigherEnabled, false));
    chkLower->setChecked(settings_.ReadBool(setting::kLowerEnabled, false));
    cbHigher->setEnabled(chkHigher->isChecked());
    cbLower->setEnabled(chkLower->isChecked());
    // A stored position outside the list (never written by this dialog) shows the nearest end.
    cbHigher->setCurrentIndex(std::clamp(settings_.ReadInteger(setting::kHigherIndex, 0), 0, 9));
    cbLower->setCurrentIndex(std::clamp(settings_.ReadInteger(setting::kLowerIndex, 0), 0, 9));
    TeCheckBox1->setChecked(settings_.ReadBool(setting::kAutoUpdate, false));
    serverEdit->setText(QString::fromStdString(settings_.ReadString(setting::kUpdateServer, "")));
    ShowVersion();
}

void TForm6::ShowVersion() {
    versionLabel->setText("Catalogue version: " +
                          QString::fromStdString(settings_.ReadString(setting::kDatabaseVersion, "1")));
}

void TForm6::ServerChanged() {
    const std::string server = serverEdit->text().trimmed().toStdString();
    if (server == settings_.ReadString(setting::kUpdateServer, "")) return;
    settings_.WriteString(setting::kUpdateServer, server);  // empty removes the setting
}

// A version the server once announced (even a bogus 999) would hide every later update;
// starting again from 1 offers the server's catalogue once more.
void TForm6::ResetVersionClick() {
    settings_.WriteString(setting::kDatabaseVersion, "1");
    ShowVersion();
}

void TForm6::chkHigherClick() {
    cbHigher->setEnabled(chkHigher->isChecked());
    settings_.WriteBool(setting::kHigherEnabled, chkHigher->isChecked());
}

void TForm6::chkLowerClick() {
    cbLower->setEnabled(chkLower->isChecked());
    settings_.WriteBool(setting::kLowerEnabled, chkLower->isChecked());
}

// An upper bound below the lower one is dropped: the lower list goes back to 16, switched off.
// Both lists are compared whether or not their bounds are on; equal values pass.
void TForm6::LimitLowerToHigher() {
    if (cbLower->currentText().toInt() < cbHigher->currentText().toInt()) {
        cbLower->setCurrentIndex(0);
        chkLower->setChecked(false);
        chkLowerClick();
    }
}

void TForm6::cbHigherChange() {
    LimitLowerToHigher();
    settings_.WriteInteger(setting::kHigherIndex, cbHigher->currentIndex());
}

void TForm6::cbLowerChange() {
    LimitLowerToHigher();
    settings_.WriteInteger(setting::kLowerIndex, cbLower->currentIndex());
}

void TForm6::TeCheckBox1Click() { settings_.WriteBool(setting::kAutoUpdate, TeCheckBox1->isChecked()); }

void TForm6::WriteBlackList() { StoreBlackList(settings_, blackList_); }

void TForm6::TeButton1Click() {
    const QString title = askTitle_ ? askTitle_(this) : QString();
    if (title.isEmpty()) return;
    const std::string text = title.toStdString();
    if (IsInBlackList(blackList_, text)) return;  // already covered: dropped without a word
    if (title.length() > 4) {
        blackList_.push_back(text);
        TeListBox2->addItem(title);
        WriteBlackList();
    } else {
        dialogs_->ShowMessage(this, ui::MessageKind::Error, QString::fromLatin1(updatetext::kInvalidStation));
    }
}

void TForm6::TeButton3Click() {
    QListWidgetItem* row = TeListBox2->currentItem();
    if (!row || !row->isSelected()) return;
    const QString text = row->text();
    auto entry = std::find_if(blackList_.begin(), blackList_.end(), [&](const std::string& e) {
        return QString::fromStdString(e).compare(text, Qt::CaseInsensitive) == 0;
    });
    if (entry != blackList_.end()) blackList_.erase(entry);
    delete TeListBox2->takeItem(TeListBox2->row(row));
    WriteBlackList();
}

void TForm6::bDoneClick() { close(); }

}  // namespace wt
