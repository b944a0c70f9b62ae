// Program entry: the single-instance guard, the display check, the application object and the
// main window.
#include "BrowseCommands.h"
#include "DamagedFilesOffer.h"
#include "DisplayCheck.h"
#include "MainWindow.h"
#include "QtDispatcher.h"
#include "SingleInstance.h"
#include "UserDialogs.h"
#include "WishWiring.h"

#include "net/HttpClient.h"
#include "platform/ProgramFolder.h"
#include "update/UpdateWiring.h"

#include <QApplication>
#include <QDesktopServices>
#include <QStyleFactory>

#include <cstdio>
#include <exception>
#include <memory>

int main(int argc, char** argv) {
    // The user's files live in the XDG folders, or beside the program in portable mode.
    const wt::ProgramFolders folders =
        wt::ResolveProgramFolders(wt::ExecutableFolder(), wt::FolderEnvironment::FromProcess());
    std::string folderProblem;
    try {
        wt::CreateProgramFolders(folders);
    } catch (const std::exception& error) {
        folderProblem = error.what();  // shown once a window can show it
    }
    // A second instance ends at once, silently, before any window exists.
    wt::app::SingleInstance guard(wt::app::SingleInstance::LockFilePath(folders.runtime));
    if (!guard.Acquire()) return 0;

    std::string problem = wt::app::MissingDisplayMessage();
    if (!problem.empty()) {
        std::fputs(problem.c_str(), stderr);
        return 1;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Wavetrap"));
    QApplication::setApplicationDisplayName(QStringLiteral("Wavetrap"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    // The desktop entry's name: Wayland shows the icon of wavetrap.desktop for the window.
    QGuiApplication::setDesktopFileName(QStringLiteral("wavetrap"));

    wt::ui::QtUserDialogs dialogs;
    if (!folderProblem.empty()) {
        dialogs.ShowMessage(nullptr, wt::ui::MessageKind::Error, QString::fromStdString(folderProblem));
        return 1;
    }
    wt::app::OfferDamagedFileRepairs(folders, dialogs);
    std::unique_ptr<wt::ui::TForm1> window;
    try {
        window = std::make_unique<wt::ui::TForm1>(dialogs, folders);
    } catch (const std::exception& error) {
        // The settings file could not be opened: nothing can run without it.
        dialogs.ShowMessage(nullptr, wt::ui::MessageKind::Error, QString::fromStdString(error.what()));
        return 1;
    }
    // exit() rather than quit(): quit() asks the window to close, and its close question
    // belongs to the user's own quit, not to a program told to end.
    QObject::connect(window.get(), &wt::ui::TForm1::TerminateRequested, &application,
                     [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    // The catalogue update has an HTTP client of its own: shutdown stops every request on it.
    wt::net::HttpClient updateHttp;
    wt::TUpdateController updates(window.get(), *window->zIniData1, *window->zDataset1, updateHttp,
                                  folders.cache,
                                  [&window]() -> std::vector<std::string>& { return *window->BlackListEntries; },
                                  [&window] { window->LoadGenres(); });
    wt::WireUpdateCommands(*window, updates, [](const QUrl& url) { QDesktopServices::openUrl(url); });
    window->SetUpdateChecks(std::make_unique<wt::ControllerUpdateChecks>(updates));
    // Worker threads hand their notifications to the GUI thread through this dispatcher.
    wt::ui::QtDispatcher dispatcher;
    wt::ui::WishWiring wishes(*window, dispatcher);
    wt::ui::BrowseCommands browseCommands(*window);
    browseCommands.Install();
    window->ApplyHooks();
    // Workers still waiting in a hand-off are released before their owners are destroyed.
    if (!window->FormCreate()) {
        dispatcher.Close();
        return 1;
    }
    window->show();
    int status = QApplication::exec();
    dispatcher.Close();
    return status;
}
