#include "Program.h"

#include "BrowseCommands.h"
#include "FindStationsDialog.h"
#include "ImportStationsFile.h"
#include "MainWindow.h"
#include "QtDispatcher.h"
#include "ScheduleWiring.h"
#include "UserDialogs.h"
#include "WishWiring.h"

#include "net/HttpClient.h"
#include "update/UpdateServer.h"
#include "update/UpdateTexts.h"
#include "ui/update/UpdateWiring.h"

#include <QDesktopServices>

namespace wt::app {

Program::Program(ui::UserDialogs& dialogs, const std::string& programFolder,
                 std::function<void(const QUrl&)> opener)
    : Program(dialogs, ProgramFolders::AllIn(programFolder), std::move(opener)) {}

Program::Program(ui::UserDialogs& dialogs, const ProgramFolders& folders,
                 std::function<void(const QUrl&)> opener) {
    if (!opener) opener = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    window_ = std::make_unique<ui::TForm1>(dialogs, folders);
    window_->SetOpener(opener);
    // The catalogue update has an HTTP client of its own: shutdown stops every request on it.
    updateHttp_ = std::make_unique<net::HttpClient>();
    ui::TForm1& window = *window_;
    updates_ = std::make_unique<UpdateController>(
        window_.get(), *window.zIniData1, *window.zDataset1, *updateHttp_, folders.cache,
        [&window]() -> std::vector<std::string>& { return *window.BlackListEntries; },
        [&window] { window.LoadGenres(); });
    WireUpdateCommands(window, *updates_, opener);
    window.SetUpdateChecks(std::make_unique<ControllerUpdateChecks>(*updates_));
    // Worker threads hand their notifications to the GUI thread through this dispatcher.
    dispatcher_ = std::make_unique<ui::QtDispatcher>();
    dispatcher_->SetErrorReporter(
        [&window](const std::string& message) { window.ReportHandlerError(message); });
    wishes_ = std::make_unique<ui::WishWiring>(window, *dispatcher_);
    browseCommands_ = std::make_unique<ui::BrowseCommands>(window);
    browseCommands_->Install();
    directoryHttp_ = std::make_unique<net::HttpClient>();
    window.Hooks().findStations = [&window, this] {
        if (ui::RunFindStationsDialog(&window, *window.zDataset1, *window.BlackListEntries,
                                      *window.zIniData1, *directoryHttp_))
            window.LoadGenres();
    };
    window.Hooks().importStations = [&window](const QString& path) {
        if (ui::ImportStationsFile(&window, path, *window.zDataset1, *window.BlackListEntries,
                                   window.Dialogs()) > 0)
            window.LoadGenres();
    };
    // With no update server set, the update command offers the open directory instead.
    window.Hooks().updateRadioStations = [&window, update = window.Hooks().updateRadioStations] {
        if (HasUpdateServer(*window.zIniData1) || !window.Hooks().findStations) {
            if (update) update();
            return;
        }
        if (window.Dialogs().AskYesNo(&window, ui::MessageKind::Information,
                                      QString::fromLatin1(updatetext::kNoUpdateServerOfferDirectory)))
            window.Hooks().findStations();
    };
    schedules_ = std::make_unique<ui::ScheduleWiring>(window);
    window.ApplyHooks();
}

Program::~Program() {
    // Workers still waiting in a hand-off are released before their owners are destroyed.
    if (dispatcher_) dispatcher_->Close();
    // The reverse of construction; the update controller is a child of the window and leaves
    // it before the window goes.
    schedules_.reset();
    browseCommands_.reset();
    wishes_.reset();
    directoryHttp_.reset();
    dispatcher_.reset();
    updates_.reset();
    updateHttp_.reset();
    window_.reset();
}

bool Program::Start() {
    if (!window_->FormCreate()) return false;
    window_->show();
    return true;
}

}  // namespace wt::app
