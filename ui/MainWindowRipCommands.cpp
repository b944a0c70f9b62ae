// The ripping commands of the Browse and Downloading lists and the manager's events.
#include "DownloadColumns.h"
#include "MainWindow.h"
#include "NetListItem.h"
#include "QtDispatcher.h"

#include "platform/FileNames.h"
#include "platform/FileSystem.h"
#include "platform/StringList.h"
#include "platform/TextEncoding.h"

#include <QAction>
#include <QKeySequence>
#include <QShortcut>
#include <QLabel>
#include <QTabWidget>
#include <QTreeWidget>
#include <QUrl>


namespace wt::ui {

namespace {
const char kAlreadyRipping[] = "This Radio Station is already in ripping list.";
const char kUnableToPlay[] = "Unable to play this station!";
const char kInternalError[] = "An internal error has occured. Please contact software provider";
}  // namespace

void TForm1::ConnectRipCommands() {
    auto command = [this](QAction* action, void (TForm1::*handler)()) {
        connect(action, &QAction::triggered, this, [this, handler] {
            ReloadAdvert();
            (this->*handler)();
        });
    };
    command(browseBar.download, &TForm1::CustomItem1Click);
    command(menus.download, &TForm1::CustomItem1Click);
    command(browseBar.downloadAll, &TForm1::TeSpeedButton14Click);
    command(browseBar.play, &TForm1::TeSpeedButton7Click);
    command(menus.play, &TForm1::TeSpeedButton7Click);
    command(browseBar.stopPlaying, &TForm1::TeSpeedButton8Click);
    command(menus.trayStopPlaying, &TForm1::TeSpeedButton8Click);
    command(downloadBar.stopPlaying, &TForm1::TeSpeedButton8Click);
    command(downloadBar.stopRipping, &TForm1::TeSpeedButton9Click);
    command(menus.stopRipping, &TForm1::TeSpeedButton9Click);
    command(downloadBar.stopAll, &TForm1::TeSpeedButton13Click);
    command(menus.cancelAllRips, &TForm1::TeSpeedButton13Click);
    command(downloadBar.openFolder, &TForm1::TeSpeedButton10Click);
    command(menus.openFolder, &TForm1::TeSpeedButton10Click);
    command(downloadBar.preview, &TForm1::TeSpeedButton11Click);
    command(menus.previewSong, &TForm1::TeSpeedButton11Click);
    // Enter or a double click on a station downloads it, the first entry of its menu.
    connect(BrowseList, &QTreeWidget::itemActivated, this, [this] {
        ReloadAdvert();
        CustomItem1Click();
    });
    // The Delete key on a rip stops it, as the toolbar's "Stop ripping" does.
    auto* stopKey = new QShortcut(QKeySequence::Delete, TeListView1);
    stopKey->setContext(Qt::WidgetShortcut);
    connect(stopKey, &QShortcut::activated, this, [this] {
        ReloadAdvert();
        TeSpeedButton9Click();
    });
}

void TForm1::CreateManager() {
    ripDispatcher_ = std::make_unique<QtDispatcher>();
    Radio = std::make_unique<TNetRadio>(*ripDispatcher_);
    Radio->OnStatus = [this](TNetRadioChannel* c, const std::string& s) { Radio_OnStatus(c, s); };
    Radio->OnNewSong = [this](TNetRadioChannel* c, const std::string& t) { Radio_OnNewSong(c, t); };
    Radio->OnProgress = [this](std::int32_t id, std::int32_t kb) { Radio_OnProgress(id, kb); };
    Radio->OnChannelTerminating = [this](TNetRadioChannel* c) { Radio_ChannelTerminating(c); };
    ripDispatcher_->SetErrorReporter([this](const std::string& message) { ReportHandlerError(message); });
    Radio->OnPlayerFailed = [this] {
        SetNowPlaying(QString::fromLatin1(kNoStationSelected));
        dialogs_.ShowMessage(this, MessageKind::Error, QString::fromLatin1(kUnableToPlay));
    };
    Radio->OnPlayerTitle = [this](const std::string& title) {
        SetNowPlaying(PlayingStation + QStringLiteral(": ") + QString::fromStdString(title));
    };
}

void TForm1::ReleaseManager() {
    // Channels waiting in a hand-off are released first, so none can wait for this thread
    // while the manager joins them.
    if (ripDispatcher_) ripDispatcher_->Close();
    for (int i = 0; i < TeListView1->topLevelItemCount(); ++i)
        static_cast<TNetListItem*>(TeListView1->topLevelItem(i))->Channel = nullptr;
    Radio.reset();
}

void TForm1::StopRipOf(TNetListItem* row) {
    if (Radio) Radio->StopRip(row->ChannelID);
}

void TForm1::TerminateRipOf(TNetListItem* row) {
    // A channel that has ended is no longer the manager's: ask only a running one.
    if (Radio && row->HasChannel() && Radio->FindChannel(row->ChannelID) == row->Channel)
        row->Channel->Terminate();
}

bool TForm1::AddRipRow(TNetListItem* browseRow) {
    std::string folder = WorkingPath;
    if (DataSetGoto(browseRow->StationID))
        folder += SanitizeFileName(zDataset1->CurrentStation().Genre) + "/";
    std::string error;
    if (!AddRipRow(browseRow->text(0), browseRow->text(1), browseRow->URL, browseRow->StationID, folder, error)) {
        dialogs_.ShowMessage(this, MessageKind::Error, QString::fromStdString(error));
        return false;
    }
    return true;
}

TNetListItem* TForm1::AddRipRow(const QString& caption, const QString& bitRate, const std::string& url,
                                std::int32_t stationId, const std::string& folder, std::string& error) {
    auto* row = new TNetListItem(TeListView1, {caption, bitRate, {}, {}, {}, {}, {}});
    row->URL = url;
    row->StationID = stationId;
    try {
        row->StartTick = clock_->TickCount();
        TNetRadioChannel* channel = Radio->StartRip(row->URL, folder, "");
        row->Channel = channel;
        row->ChannelID = channel->ID;
        row->Started = true;
    } catch (const std::exception& failure) {
        // The row stays without a channel and is swept away.
        error = failure.what();
        return nullptr;
    }
    return row;
}

void TForm1::CustomItem1Click() {
    const auto selected = SelectedBrowseRows();
    if (selected.empty() || !Radio) return;
    // Every selected station not yet listed starts; one warning covers those that are.
    bool added = false;
    bool alreadyListed = false;
    for (TNetListItem* browseRow : selected) {
        if (Radio->IsRipping(browseRow->URL) || ContainsTitle(browseRow->text(0))) {
            alreadyListed = true;
            continue;
        }
        if (!AddRipRow(browseRow)) return;
        added = true;
    }
    if (alreadyListed)
        dialogs_.ShowMessage(this, MessageKind::Warning, QString::fromLatin1(kAlreadyRipping));
    if (added) TeSPageControl1->setCurrentIndex(TeSPageControl1->currentIndex() + 1);
}

void TForm1::TeSpeedButton14Click() {
    if (!Radio) return;
    for (int i = 0; i < BrowseList->topLevelItemCount(); ++i) {
        auto* browseRow = static_cast<TNetListItem*>(BrowseList->topLevelItem(i));
        if (Radio->IsRipping(browseRow->URL) || ContainsTitle(browseRow->text(0))) continue;
        if (!AddRipRow(browseRow)) return;
    }
    TeSPageControl1->setCurrentIndex(TeSPageControl1->currentIndex() + 1);
}

void TForm1::TeSpeedButton7Click() {
    TNetListItem* row = SelectedBrowseRow();
    if (!row || !Radio) return;
    PlayingStation = row->text(0);
    TeSpeedButton8Click();
    Radio->Play(row->URL);
    // The station's name shows until its first title arrives.
    SetNowPlaying(PlayingStation);
}

void TForm1::TeSpeedButton8Click() {
    if (Radio) Radio->StopPlaying();
    SetNowPlaying(QString::fromLatin1(kNoStationSelected));
}

void TForm1::TeSpeedButton9Click() {
    for (TNetListItem* row : SelectedDownloadRows()) {
        StopRipOf(row);
        delete row;
    }
}

void TForm1::TeSpeedButton13Click() {
    while (TeListView1->topLevelItemCount() > 0) {
        auto* row = static_cast<TNetListItem*>(TeListView1->topLevelItem(TeListView1->topLevelItemCount() - 1));
        StopRipOf(row);
        delete row;
    }
}

void TForm1::TeSpeedButton10Click() {
    TNetListItem* row = SelectedDownloadRow();
    if (!row || !Radio) return;
    TNetRadioChannel* channel = Radio->FindChannel(row->ChannelID);
    if (!channel) return;
    OpenUrl(QUrl::fromLocalFile(QString::fromStdString(channel->Folder())));
}

void TForm1::TeSpeedButton11Click() {
    TNetListItem* row = SelectedDownloadRow();
    if (!row || !Radio) return;
    TeSpeedButton8Click();
    TNetRadioChannel* channel = Radio->FindChannel(row->ChannelID);
    if (!channel) {
        dialogs_.ShowMessage(this, MessageKind::Error, QString::fromLatin1(kInternalError), QStringLiteral("Error"));
        return;
    }
    std::string song = row->text(kSongColumn).toStdString();
    SetNowPlaying(row->text(0) + QStringLiteral(": ") + row->text(kSongColumn));
    if (song.empty()) return;
    // A copy of what has been written so far; the song's own file keeps growing.
    std::string target = folders_.cache + "preview.mp3";
    FileSystem& files = RealFileSystem();
    (void)files.Remove(target);  // the last preview's copy, if any
    // The channel's own file name: a repeated title is "Title (2).mp3", an AAC stream ".aac".
    if (CopyWholeFile(files, channel->SongFile(), target).ok()) Radio->PlayFile(target);
}

void TForm1::Radio_ChannelTerminating(TNetRadioChannel* channel) {
    for (int i = 0; i < TeListView1->topLevelItemCount(); ++i) {
        auto* row = static_cast<TNetListItem*>(TeListView1->topLevelItem(i));
        if (row->Channel != channel) continue;
        row->Channel = nullptr;
        row->ChannelID = 0;  // the id is free again and may go to the next rip at once
        row->Ended = true;
    }
}

void TForm1::Radio_OnStatus(TNetRadioChannel* sender, const std::string& status) {
    ShowRipStatus(sender->ID, status);
}

void TForm1::Radio_OnNewSong(TNetRadioChannel* sender, const std::string& title) {
    ShowRipSong(sender->ID, sender->SongCount(), sender->IsWishChannel(), title);
}

void TForm1::Radio_OnProgress(std::int32_t id, std::int32_t kb) {
    if (Radio && Radio->FindChannel(id)) ShowRipProgress(id, kb);
}

void TForm1::Radio_WishFound(const TWishInfo& info) {
    if (!Radio || Radio->IsRipping(info.URL)) return;
    QString caption = QString::fromStdString(DecodeText(info.Station));
    if (ContainsTitle(caption)) return;
    // Two sources may name one stream differently (a listing's server name, the catalogue's
    // title): a stream that a row already records is not started twice.
    for (int i = 0; i < TeListView1->topLevelItemCount(); ++i) {
        const auto* listed = dynamic_cast<const TNetListItem*>(TeListView1->topLevelItem(i));
        if (listed && !info.URL.empty() && listed->URL == info.URL) return;
    }
    auto* row = new TNetListItem(TeListView1, {caption, QStringLiteral("Wish List"), {}, {}, {}, {}, {}});
    row->URL = info.URL;
    row->StartTick = clock_->TickCount();
    try {
        TNetRadioChannel* channel =
            Radio->StartRip(info.URL, WorkingPath + "Wish List/", JoinLinesCrLf(WishList ? *WishList : std::vector<std::string>{}));
        row->Channel = channel;
        row->ChannelID = channel->ID;
        row->Started = true;
    } catch (const std::exception&) {
        // The row has no channel and is swept away; a hit needs no message.
    }
}

}  // namespace wt::ui
