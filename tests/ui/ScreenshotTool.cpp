// Renders the main window to a PNG file on the offscreen platform, for the README.
// Usage: wt_ui_screenshot OUTPUT.png
#include "MainWindow.h"
#include "ScriptedDialogs.h"
#include "TempFolder.h"

#include <QApplication>
#include <QPixmap>
#include <QStyleFactory>
#include <QTreeWidget>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    wt::test::ScriptedDialogs dialogs;
    wt::test::TempFolder folder;
    wt::ui::TForm1 window(dialogs, folder.Path());
    window.show();
    window.TeTreeView1->expandAll();
    QApplication::processEvents();
    if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
