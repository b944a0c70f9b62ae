#include "FindStationsDialog.h"

#include <QApplication>
#include <QBrush>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "catalogue/StationCatalogue.h"
#include "directory/CatalogueImport.h"
#include "directory/RadioBrowserClient.h"
#include "net/HttpClient.h"
#include "settings/zIniData.h"
#include "update/StationMerge.h"

namespace wt::ui {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }
std::string S(const QString& text) { return text.trimmed().toStdString(); }

// Every control is named for assistive tools by the text a sighted user reads for it.
QLabel* NamedLabel(const QString& text, QWidget* field, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAccessibleName(text);
    label->setBuddy(field);
    field->setAccessibleName(text);
    return label;
}

QPushButton* NamedButton(const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setAccessibleName(text);
    return button;
}

}  // namespace

bool RunFindStationsDialog(QWidget* parent, StationCatalogue& catalogue, const std::vector<std::string>& blackList,
                           TzIniData& settings, net::HttpClient& http) {
    FindStationsDialog dialog(parent, catalogue, blackList, settings, http);
    dialog.exec();
    return dialog.AddedAny();
}

FindStationsDialog::FindStationsDialog(QWidget* parent, StationCatalogue& catalogue,
                                       const std::vector<std::string>& blackList, TzIniData& settings,
                                       net::HttpClient& http, HostLookup lookup)
    : QDialog(parent), catalogue_(catalogue), blackList_(blackList), http_(http) {
    setWindowTitle("Find Stations");
    setAccessibleName("Find Stations");
    resize(760, 520);
    client_ = std::make_unique<RadioBrowserClient>(
        http_, ServersFromSetting(settings.ReadString(kDirectoryServersSetting, "")), std::move(lookup));

    nameEdit = new QLineEdit(this);
    tagEdit = new QLineEdit(this);
    countryEdit = new QLineEdit(this);
    languageEdit = new QLineEdit(this);
    codecBox = new QComboBox(this);
    codecBox->setEditable(true);
    codecBox->addItems({"", "MP3", "AAC", "AAC+", "OGG", "OPUS", "FLAC"});
    minBitRateBox = new QSpinBox(this);
    minBitRateBox->setRange(0, 32767);
    minBitRateBox->setSuffix(" kbit/s");
    minBitRateBox->setSpecialValueText("Any");

    auto* form = new QFormLayout;
    form->addRow(NamedLabel("Name:", nameEdit, this), nameEdit);
    form->addRow(NamedLabel("Tag:", tagEdit, this), tagEdit);
    form->addRow(NamedLabel("Country:", countryEdit, this), countryEdit);
    form->addRow(NamedLabel("Language:", languageEdit, this), languageEdit);
    form->addRow(NamedLabel("Codec:", codecBox, this), codecBox);
    form->addRow(NamedLabel("Minimum bit rate:", minBitRateBox, this), minBitRateBox);

    searchButton = NamedButton("Search", this);
    stopButton = NamedButton("Stop", this);
    stopButton->setEnabled(false);
    auto* searchRow = new QHBoxLayout;
    searchRow->addStretch();
    searchRow->addWidget(searchButton);
    searchRow->addWidget(stopButton);

    results = new QTreeWidget(this);
    results->setColumnCount(6);
    results->setHeaderLabels({"Name", "Tags", "Country", "Codec", "Bit rate", "Votes"});
    results->setRootIsDecorated(false);
    results->setUniformRowHeights(true);
    results->setSelectionMode(QAbstractItemView::ExtendedSelection);
    results->setSortingEnabled(true);
    results->sortByColumn(kVotesColumn, Qt::DescendingOrder);
    results->header()->resizeSection(kNameColumn, 230);
    results->header()->resizeSection(kTagsColumn, 170);
    auto* resultsLabel = NamedLabel("Stations found:", results, this);

    genreBox = new QComboBox(this);
    genreBox->setEditable(true);
    genreBox->setInsertPolicy(QComboBox::NoInsert);
    genreBox->setMinimumWidth(200);
    addButton = NamedButton("Add to Catalogue", this);
    closeButton = NamedButton("Close", this);
    auto* addRow = new QHBoxLayout;
    addRow->addWidget(NamedLabel("Genre:", genreBox, this));
    addRow->addWidget(genreBox, 1);
    addRow->addWidget(addButton);
    addRow->addStretch();
    addRow->addWidget(closeButton);

    status = new QLabel(this);
    status->setWordWrap(true);
    status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(searchRow);
    layout->addWidget(resultsLabel);
    layout->addWidget(results, 1);
    layout->addLayout(addRow);
    layout->addWidget(status);
    SetStatus("Type what you look for and press Search.");

    catalogueGenres_ = catalogue_.Genres();
    for (const std::string& genre : catalogueGenres_) genreBox->addItem(Q(genre));
    genreBox->setCurrentText({});

    connect(searchButton, &QPushButton::clicked, this, [this] { StartSearch(); });
    connect(stopButton, &QPushButton::clicked, this, [this] { StopSearch(); });
    connect(addButton, &QPushButton::clicked, this, [this] { AddSelected(); });
    connect(closeButton, &QPushButton::clicked, this, [this] { reject(); });
    connect(results, &QTreeWidget::itemSelectionChanged, this, [this] { SelectionChanged(); });
    connect(genreBox->lineEdit(), &QLineEdit::textEdited, this, [this] { genreTyped_ = true; });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { FocusChanged(now); });
    searchButton->setDefault(true);
    nameEdit->setFocus();
}

FindStationsDialog::~FindStationsDialog() {
    // The widgets' own destruction moves the focus; by then this is no longer a whole dialog.
    disconnect(qApp, nullptr, this, nullptr);
    if (stop_) stop_->store(true);
    if (worker_.joinable()) worker_.join();
}

void FindStationsDialog::SetStatus(const QString& text) {
    status->setText(text);
    status->setAccessibleName(text);
}

void FindStationsDialog::SetSearching(bool searching) {
    searching_ = searching;
    searchButton->setEnabled(!searching);
    stopButton->setEnabled(searching);
}

// Enter searches from the search fields and adds from the results and the genre box.
void FindStationsDialog::FocusChanged(QWidget* now) {
    if (!now || now->window() != this) return;
    const bool adding = now == results || now == genreBox || now == genreBox->lineEdit() || now == addButton;
    addButton->setDefault(adding);
    searchButton->setDefault(!adding);
}

void FindStationsDialog::StartSearch() {
    if (searching_) return;
    if (worker_.joinable()) worker_.join();  // a stopped search ends within its abort poll
    StationQuery query;
    query.name = S(nameEdit->text());
    query.tag = S(tagEdit->text());
    query.country = S(countryEdit->text());
    query.language = S(languageEdit->text());
    query.codec = S(codecBox->currentText());
    query.minBitRate = minBitRateBox->value();
    query.limit = limit_;
    auto stop = std::make_shared<std::atomic<bool>>(false);
    stop_ = stop;
    const unsigned generation = ++generation_;
    SetSearching(true);
    SetStatus("Searching...");
    RadioBrowserClient* client = client_.get();
    // The thread is joined before the dialog goes, so it may post to it; Qt drops what is
    // still queued when the dialog is destroyed.
    worker_ = std::thread([this, client, query, stop, generation] {
        try {
            std::vector<DirectoryStation> stations = client->Search(query, [stop] { return stop->load(); });
            std::string server = client->LastServer();
            QMetaObject::invokeMethod(
                this,
                [this, generation, stations = std::move(stations), server]() mutable {
                    ShowResults(generation, std::move(stations), server);
                },
                Qt::QueuedConnection);
        } catch (const std::exception& e) {
            if (stop->load()) return;  // stopped: the dialog already says so
            std::string reason = e.what();
            QMetaObject::invokeMethod(this, [this, generation, reason] { ShowFailure(generation, reason); },
                                      Qt::QueuedConnection);
        }
    });
}

void FindStationsDialog::StopSearch() {
    if (!searching_) return;
    stop_->store(true);
    ++generation_;
    SetSearching(false);
    SetStatus("Search stopped.");
}

void FindStationsDialog::reject() {
    StopSearch();
    QDialog::reject();
}

void FindStationsDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && searching_) {
        StopSearch();
        return;
    }
    QDialog::keyPressEvent(event);
}

void FindStationsDialog::ShowFailure(unsigned generation, const std::string& reason) {
    if (generation != generation_) return;
    SetSearching(false);
    SetStatus(Q(reason));
}

void FindStationsDialog::ShowResults(unsigned generation, std::vector<DirectoryStation> stations, std::string) {
    if (generation != generation_) return;
    SetSearching(false);
    found_ = std::move(stations);
    const StationMerger catalogueUrls(catalogue_);
    const QBrush dimmed = palette().brush(QPalette::Disabled, QPalette::Text);
    results->setSortingEnabled(false);
    results->clear();
    for (std::size_t i = 0; i < found_.size(); ++i) {
        const DirectoryStation& s = found_[i];
        auto* item = new QTreeWidgetItem(results);
        item->setText(kNameColumn, Q(s.name));
        item->setText(kTagsColumn, Q(s.tags));
        item->setText(kCountryColumn, Q(s.country));
        item->setText(kCodecColumn, Q(s.codec) + (IsHlsStation(s) ? " (HLS)" : ""));
        // Numbers as numbers, so that the columns sort by value.
        item->setData(kBitRateColumn, Qt::DisplayRole, static_cast<qlonglong>(s.bitrate));
        item->setData(kVotesColumn, Qt::DisplayRole, static_cast<qlonglong>(s.votes));
        item->setData(kNameColumn, Qt::UserRole, static_cast<qulonglong>(i));
        const StationRefusal refusal = CheckStation(s);
        QString note;
        if (refusal != StationRefusal::None) note = Q(RefusalMessage(refusal, s));
        else if (catalogueUrls.Knows(s.StreamUrl())) note = "\"" + Q(s.name) + "\": already in the catalogue.";
        if (!note.isEmpty()) {
            for (int c = 0; c < results->columnCount(); ++c) {
                item->setForeground(c, dimmed);
                item->setToolTip(c, note);
            }
        }
    }
    results->setSortingEnabled(true);
    if (found_.empty()) SetStatus("No station matches.");
    else if (found_.size() >= static_cast<std::size_t>(limit_))
        SetStatus(QString("Found the %1 stations with the most votes; narrow the search to see others.").arg(found_.size()));
    else SetStatus(QString("Found %1 station%2.").arg(found_.size()).arg(found_.size() == 1 ? "" : "s"));
}

void FindStationsDialog::SelectionChanged() {
    if (genreTyped_) return;
    const QList<QTreeWidgetItem*> selected = results->selectedItems();
    QStringList tags;
    for (QTreeWidgetItem* item : selected) {
        const DirectoryStation& s = found_[item->data(kNameColumn, Qt::UserRole).toULongLong()];
        for (const QString& tag : Q(s.tags).split(',', Qt::SkipEmptyParts)) {
            const QString t = tag.trimmed();
            if (!t.isEmpty() && !tags.contains(t)) tags << t;
        }
    }
    genreBox->clear();
    genreBox->addItems(tags);
    for (const std::string& genre : catalogueGenres_)
        if (!tags.contains(Q(genre))) genreBox->addItem(Q(genre));
    genreBox->setCurrentText(tags.isEmpty() ? QString() : tags.front());
}

void FindStationsDialog::AddSelected() {
    std::vector<DirectoryStation> chosen;
    for (int row = 0; row < results->topLevelItemCount(); ++row) {  // in the order shown
        QTreeWidgetItem* item = results->topLevelItem(row);
        if (item->isSelected()) chosen.push_back(found_[item->data(kNameColumn, Qt::UserRole).toULongLong()]);
    }
    if (chosen.empty()) {
        SetStatus("Select the stations to add.");
        return;
    }
    StationMerger merger(catalogue_);
    ImportSummary summary;
    AddStations(merger, chosen, S(genreBox->currentText()), blackList_, summary);
    if (summary.added > 0) {
        addedAny_ = true;
        catalogueGenres_ = catalogue_.Genres();
    }
    SetStatus(Q(FormatImportSummary(summary)));
    for (int row = 0; row < results->topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = results->topLevelItem(row);
        const DirectoryStation& s = found_[item->data(kNameColumn, Qt::UserRole).toULongLong()];
        if (item->isSelected() && CheckStation(s) == StationRefusal::None && merger.Knows(s.StreamUrl()))
            for (int c = 0; c < results->columnCount(); ++c)
                item->setForeground(c, palette().brush(QPalette::Disabled, QPalette::Text));
    }
}

}  // namespace wt::ui
