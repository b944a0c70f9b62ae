// Program entry: the user's folders, the single-instance guard, the display check, the
// application object and the program behind the main window.
#include "DamagedFilesOffer.h"
#include "DisplayCheck.h"
#include "MainWindow.h"
#include "Program.h"
#include "SingleInstance.h"
#include "UserDialogs.h"

#include "platform/ProgramFolder.h"

#include <QApplication>
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
    std::unique_ptr<wt::app::Program> program;
    try {
        program = std::make_unique<wt::app::Program>(dialogs, folders);
    } catch (const std::exception& error) {
        // The settings file could not be opened: nothing can run without it.
        dialogs.ShowMessage(nullptr, wt::ui::MessageKind::Error, QString::fromStdString(error.what()));
        return 1;
    }
    // exit() rather than quit(): quit() asks the window to close, and its close question
    // belongs to the user's own quit, not to a program told to end.
    QObject::connect(&program->Window(), &wt::ui::TForm1::TerminateRequested, &application,
                     [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    if (!program->Start()) return 1;
    return QApplication::exec();
}
