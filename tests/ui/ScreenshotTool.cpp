// Renders the main window to a PNG file on the offscreen platform, for the README.
// Usage: wt_ui_screenshot OUTPUT.png
#include "MainWindow.h"
#include "ScriptedDialogs.h"
#include "WindowTestSupport.h"
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
    // A small catalogue and a stored output folder, so the window shows what a user sees
    // after the first start.
    wt::test::WriteCatalogue(folder.Path(),
                             {wt::test::Station("Jazz", "Smooth Jazz Lounge", 128, "http://127.0.0.1:9/1"),
                              wt::test::Station("Rock", "Classic Rock Radio", 128, "http://127.0.0.1:9/2"),
                              wt::test::Station("Rock", "Indie Rock Nights", 96, "http://127.0.0.1:9/3")});
    {
        wt::TzIniData settings("cfg.dat", false, folder.Path());
        settings.WriteString("WorkingPath", folder.Path() + "Wavetrap Music/");
        settings.WriteString("AdvertSite", "http://127.0.0.1:9");
    }
    wt::ui::TForm1 window(dialogs, folder.Path());
    if (!window.FormCreate()) return 1;
    window.show();
    window.FormActivate();
    window.TeTreeView1->expandAll();
    window.TeTreeView1->setCurrentItem(window.GenresRoot()->child(1));
    window.TeTreeView1Change(window.GenresRoot()->child(1));
    QApplication::processEvents();
    if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
