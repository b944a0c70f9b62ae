// Program entry: the single-instance guard, the display check, the application object and the
// main window.
#include "DisplayCheck.h"
#include "MainWindow.h"
#include "SingleInstance.h"
#include "UserDialogs.h"

#include "platform/ProgramFolder.h"

#include <QApplication>
#include <QStyleFactory>

#include <cstdio>

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
    QApplication::setQuitOnLastWindowClosed(true);

    wt::ui::QtUserDialogs dialogs;
    wt::ui::TForm1 window(dialogs);
    window.SetProgramFolder(QString::fromStdString(wt::ExecutableFolder()));
    window.show();
    return QApplication::exec();
}
