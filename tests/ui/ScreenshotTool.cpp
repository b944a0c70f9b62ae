// Renders the main window to PNG files on the offscreen platform, for the README, driving the
// real program as a user does: the genre clicked in the tree, a station clicked, "Download this
// station" pressed; the Browse page is taken first, then the Downloading page with the rip.
// Usage: wt_ui_screenshot BROWSE.png [DOWNLOADING.png]
#include "IcyTestServer.h"
#include "MainWindow.h"
#include "Program.h"
#include "TempFolder.h"
#include "UserActions.h"
#include "UserDialogs.h"
#include "WindowTestSupport.h"

#include <QApplication>
#include <QPixmap>
#include <QStyleFactory>
#include <QTreeWidget>

#include <cstdio>

namespace {
bool Save(QWidget& window, const char* path) {
    if (window.grab().save(QString::fromLocal8Bit(path))) return true;
    std::fprintf(stderr, "cannot write %s\n", path);
    return false;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s BROWSE.png [DOWNLOADING.png]\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    wt::test::IcyTestServer station({{"Miles Ahead - Blue Night", 4}, {"The Quartet - Autumn Leaves", 400}},
                                    8192, 40);
    wt::test::TempFolder folder;
    // A small catalogue and a stored output folder: what a user sees after the first start.
    wt::test::WriteCatalogue(folder.Path(),
                             {wt::test::Station("Jazz", "Smooth Jazz Lounge", 128, station.Url()),
                              wt::test::Station("Jazz", "Late Night Jazz", 64, "http://127.0.0.1:9/1"),
                              wt::test::Station("Rock", "Classic Rock Radio", 128, "http://127.0.0.1:9/2"),
                              wt::test::Station("Rock", "Indie Rock Nights", 96, "http://127.0.0.1:9/3")});
    {
        wt::TzIniData settings("cfg.dat", false, folder.Path());
        settings.WriteString("WorkingPath", folder.Path() + "Wavetrap Music/");
    }
    wt::ui::QtUserDialogs dialogs;
    wt::app::Program program(dialogs, folder.Path(), [](const QUrl&) {});
    if (!program.Start()) return 1;
    wt::ui::TForm1& window = program.Window();
    using namespace wt::acceptance;
    if (!WaitFor([&] { return window.GenresRoot()->isExpanded(); })) return 1;
    ClickItem(window.TeTreeView1, FindItem(window.TeTreeView1, "Jazz"));
    if (!WaitFor([&] { return FindItem(window.BrowseList, "Smooth Jazz Lounge") != nullptr; })) return 1;
    ClickItem(window.BrowseList, FindItem(window.BrowseList, "Smooth Jazz Lounge"));
    WaitFor([] { return false; }, 300);
    if (!Save(window, argv[1])) return 1;
    if (argc == 3) {
        Click(&window, "Download this station");
        QTreeWidgetItem* row = window.TeListView1->topLevelItem(0);
        if (!row || !WaitFor([&] { return row->text(4) == "The Quartet - Autumn Leaves" &&
                                         row->text(5) != "0 KB"; }, 20000))
            return 1;
        WaitFor([] { return false; }, 1500);
        if (!Save(window, argv[2])) return 1;
    }
    return 0;
}
