// Program entry: the single-instance guard, the display check, the application object and the
// program behind the main window.
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
    // A second instance ends at once, silently, before any window exists.
    wt::app::SingleInstance guard(wt::app::SingleInstance::LockFilePath());
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

    wt::ui::QtUserDialogs dialogs;
    std::unique_ptr<wt::app::Program> program;
    try {
        program = std::make_unique<wt::app::Program>(dialogs, wt::ExecutableFolder());
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
