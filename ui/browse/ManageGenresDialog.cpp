#include "ManageGenresDialog.h"

#include "BrowseCommands.h"
#include "BrowseTexts.h"
#include "ButtonNames.h"
#include "MainWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace wt::ui {

namespace {
using browsetext::kConfirmDeleteStation;
// Deleting a genre empties its group, as "Delete all" does in the window.
constexpr const char* kConfirmDeleteGenre = browsetext::kConfirmDeleteAll;
}  // namespace

TForm5::TForm5(TForm1& window, BrowseCommands& commands) : QDialog(&window), window_(window), commands_(commands) {
    setWindowTitle("Manage Genres");
    setFixedSize(474, 443);
    TeSComboBox1 = new QComboBox(this);
    TeSComboBox1->setGeometry(0, 0, 337, 24);
    pages_ = new QStackedWidget(this);
    pages_->setGeometry(0, 26, 337, 417);
    TeListBox1 = new QListWidget(pages_);
    pages_->addWidget(TeListBox1);

    auto* editor = new QWidget(pages_);
    auto* form = new QVBoxLayout(editor);
    form->addWidget(new QLabel("Genre:"));
    TeSComboBox2 = new QComboBox;
    TeSComboBox2->setEditable(true);
    form->addWidget(TeSComboBox2);
    form->addWidget(new QLabel("Station URL:"));
    urlEdit = new QLineEdit;
    form->addWidget(urlEdit);
    auto* urlExample = new QLabel("<i>Example: http://radio.example.com:8000</i>");
    form->addWidget(urlExample);
    form->addWidget(new QLabel("Station Title:"));
    titleEdit = new QLineEdit;
    form->addWidget(titleEdit);
    form->addWidget(new QLabel("<i>Example: My favorite radio</i>"));
    form->addWidget(new QLabel("BitRate:"));
    bitRateEdit = new QSpinBox;
    bitRateEdit->setRange(0, 32767);
    bitRateEdit->setValue(16);
    bitRateEdit->setFixedWidth(121);
    form->addWidget(bitRateEdit);
    form->addStretch();
    auto* buttons = new QHBoxLayout;
    TeButton7 = new QPushButton("Add");
    TeButton12 = new QPushButton("Apply");
    auto* cancel = new QPushButton("Cancel");
    for (auto* b : {TeButton7, TeButton12, cancel}) {
        b->setFixedSize(103, 25);
        buttons->addWidget(b);
    }
    form->addLayout(buttons);
    pages_->addWidget(editor);

    auto button = [this](const char* text, int top) {
        auto* b = new QPushButton(text, this);
        b->setGeometry(337 + 7, top, 121, 25);
        return b;
    };
    TeButton8 = button("Delete Genre", 8);
    TeButton10 = button("Add Station", 40);
    TeButton9 = button("Delete Station", 72);
    TeButton11 = button("Edit Station", 104);
    done_ = button("Done", 136);
    TeButton8->setEnabled(false);
    TeButton9->setEnabled(false);
    TeButton11->setEnabled(false);

    connect(TeSComboBox1, &QComboBox::activated, this, [this] { TeSComboBox1Change(); });
    // The station buttons follow the selected row however it was chosen: mouse, arrow keys, or
    // the dialog's own selection after a change.
    connect(TeListBox1, &QListWidget::currentRowChanged, this, [this] { TeListBox1Click(); });
    connect(TeListBox1, &QListWidget::itemClicked, this, [this] { TeListBox1Click(); });
    connect(TeButton8, &QPushButton::clicked, this, [this] { TeButton8Click(); });
    connect(TeButton10, &QPushButton::clicked, this, [this] { TeButton10Click(); });
    connect(TeButton9, &QPushButton::clicked, this, [this] { TeButton9Click(); });
    connect(TeButton11, &QPushButton::clicked, this, [this] { TeButton11Click(); });
    connect(done_, &QPushButton::clicked, this, &QDialog::accept);
    connect(TeButton7, &QPushButton::clicked, this, [this] { TeButton7Click(); });
    connect(TeButton12, &QPushButton::clicked, this, [this] { TeButton12Click(); });
    connect(cancel, &QPushButton::clicked, this, [this] { TeButton13Click(); });
    NameButtonsByCaption(this);
    FormCreate();
}

void TForm5::FillGenreChoosers() {
    TeSComboBox1->clear();
    TeSComboBox2->clear();
    for (const auto& genre : window_.GenreList) {
        TeSComboBox1->addItem(QString::fromStdString(genre));
        TeSComboBox2->addItem(QString::fromStdString(genre));
    }
}

void TForm5::ShowList() {
    pages_->setCurrentIndex(0);
    TeSComboBox1->show();
    TeButton7->hide();
    TeButton12->hide();
    SetDefaultButton(done_);
}

void TForm5::ShowEditor(QPushButton* save) {
    save->show();
    (save == TeButton7 ? TeButton12 : TeButton7)->hide();
    TeSComboBox1->hide();
    pages_->setCurrentIndex(1);
    SetDefaultButton(save);
}

void TForm5::SetDefaultButton(QPushButton* button) {
    for (QPushButton* b : {done_, TeButton7, TeButton12}) b->setDefault(b == button);
}

bool TForm5::EditorShown() const { return pages_->currentIndex() == 1; }

void TForm5::reject() {
    // Esc in the editor leaves the editor, as "Cancel" does; in the list it closes the dialog.
    if (EditorShown()) {
        TeButton13Click();
        return;
    }
    QDialog::reject();
}

void TForm5::FormCreate() {
    FillGenreChoosers();
    ShowList();
    if (TeSComboBox1->count() > 0) {
        TeSComboBox1->setCurrentIndex(0);
        TeSComboBox1Change();
    }
}

void TForm5::TeSComboBox1Change() {
    PopulateStationsMG(TeSComboBox1->currentText());
    TeButton8->setEnabled(!TeSComboBox1->currentText().isEmpty());
}

void TForm5::PopulateStationsMG(const QString& genre) {
    TeListBox1->clear();
    ListStationIDs.clear();
    std::string name = genre.toStdString();
    window_.zDataset1->ForEachStation([&](const StationRecord& s) {
        if (s.Genre != name) return;
        TeListBox1->addItem(QString::fromStdString(s.Title));
        ListStationIDs.push_back(s.ID);
    });
    if (TeListBox1->count() > 0) TeListBox1->setCurrentRow(0);
}

void TForm5::TeListBox1Click() {
    QListWidgetItem* item = TeListBox1->currentItem();
    bool has = item && !item->text().isEmpty();
    TeButton9->setEnabled(has);
    TeButton11->setEnabled(has);
}

void TForm5::SelectGenre(const QString& genre) {
    int index = TeSComboBox1->findText(genre);
    if (index >= 0) TeSComboBox1->setCurrentIndex(index);
}

void TForm5::TeButton8Click() {
    if (!window_.Dialogs().AskYesNo(this, MessageKind::Confirmation, QString::fromLatin1(kConfirmDeleteGenre)))
        return;
    QString genre = TeSComboBox1->currentText();
    commands_.DeleteGenre(genre.toStdString());
    TeSComboBox1->removeItem(TeSComboBox1->findText(genre));
    TeListBox1->clear();
    ListStationIDs.clear();
    TeButton8->setEnabled(false);
    TeButton9->setEnabled(false);
    TeButton11->setEnabled(false);
}

void TForm5::TeButton9Click() {
    int row = TeListBox1->currentRow();
    if (row < 0 || row >= static_cast<int>(ListStationIDs.size()) || TeListBox1->item(row)->text().isEmpty()) return;
    if (!window_.Dialogs().AskYesNo(this, MessageKind::Warning, QString::fromLatin1(kConfirmDeleteStation))) return;
    if (!window_.DataSetGoto(ListStationIDs[static_cast<std::size_t>(row)])) return;
    commands_.BlackListTitle(window_.zDataset1->CurrentStation().Title);
    window_.zDataset1->DeleteCurrentStation();
    window_.TeTreeView1Change(window_.TeTreeView1->currentItem());
    delete TeListBox1->takeItem(row);
    ListStationIDs.erase(ListStationIDs.begin() + row);
    QString genre = TeSComboBox1->currentText();
    SelectGenre(genre);
    if (TeListBox1->count() > 0) {
        TeListBox1->setCurrentRow(std::min(row, TeListBox1->count() - 1));
        return;
    }
    TeButton9->setEnabled(false);
    TeButton11->setEnabled(false);
    commands_.DeleteGenre(genre.toStdString());
    TeSComboBox1->removeItem(TeSComboBox1->findText(genre));
}

void TForm5::TeButton10Click() {
    if (TeSComboBox2->count() > 0) TeSComboBox2->setCurrentIndex(0);
    urlEdit->clear();
    titleEdit->clear();
    bitRateEdit->setValue(16);
    ShowEditor(TeButton7);
}

void TForm5::TeButton11Click() {
    int row = TeListBox1->currentRow();
    if (row < 0 || row >= static_cast<int>(ListStationIDs.size())) return;
    editedId_ = ListStationIDs[static_cast<std::size_t>(row)];
    if (window_.DataSetGoto(editedId_)) {
        StationRecord s = window_.zDataset1->CurrentStation();
        TeSComboBox2->setEditText(QString::fromStdString(s.Genre));
        urlEdit->setText(QString::fromStdString(s.URL));
        titleEdit->setText(QString::fromStdString(s.Title));
        bitRateEdit->setValue(s.BitRate);
    }
    ShowEditor(TeButton12);
}

bool TForm5::CheckAddModifyStationControls() {
    if (TeSComboBox2->currentText().isEmpty()) {
        TeSComboBox2->setFocus();
        return false;
    }
    if (urlEdit->text().isEmpty()) {
        urlEdit->setFocus();
        return false;
    }
    if (titleEdit->text().isEmpty()) {
        titleEdit->setFocus();
        return false;
    }
    return true;
}

void TForm5::TeButton7Click() {
    if (!CheckAddModifyStationControls()) return;
    StationRecord s;
    s.Genre = TeSComboBox2->currentText().toStdString();
    s.URL = urlEdit->text().toStdString();
    s.Title = titleEdit->text().toStdString();
    s.BitRate = static_cast<std::int16_t>(bitRateEdit->value());
    window_.zDataset1->AddStation(s);
    FormCreate();
}

void TForm5::TeButton12Click() {
    if (!CheckAddModifyStationControls()) return;
    if (window_.DataSetGoto(editedId_)) {
        StationRecord s;
        s.ID = editedId_;
        s.Genre = TeSComboBox2->currentText().toStdString();
        s.URL = urlEdit->text().toStdString();
        s.Title = titleEdit->text().toStdString();
        s.BitRate = static_cast<std::int16_t>(bitRateEdit->value());
        window_.zDataset1->Dataset().Edit();
        WriteStation(window_.zDataset1->Fields(), s);
        window_.zDataset1->Dataset().Post();
    }
    window_.TeTreeView1Change(window_.TeTreeView1->currentItem());
    int row = TeListBox1->currentRow();
    QString genre = TeSComboBox1->currentText();
    PopulateStationsMG(genre);
    SelectGenre(genre);
    if (TeListBox1->count() > 0) {
        TeListBox1->setCurrentRow(std::min(std::max(row, 0), TeListBox1->count() - 1));
    } else {
        TeButton9->setEnabled(false);
        TeButton11->setEnabled(false);
    }
    ShowList();
}

void TForm5::TeButton13Click() { ShowList(); }

}  // namespace wt::ui
