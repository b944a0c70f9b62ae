// A user updates the station catalogue from the update server: the progress window shows
// (with the program's icon) while the stations merge, a message tells the new total, and the
// new genres are in the tree.
#include "ProgramSession.h"

#include "LoopbackHttpServer.h"
#include "StationFile.h"
#include "settings/zIniData.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace wt::acceptance {
namespace {

// The catalogue file the update server offers.
std::string StationFileBytes(const std::string& folder, const std::vector<StationRecord>& stations) {
    const std::string path = folder + "offer.db";
    test::WriteStationFile(path, stations);
    return ReadWhole(path);
}

StationRecord Offered(int id, std::string genre, std::string title) {
    StationRecord s = Station(std::move(genre), std::move(title), 128, "http://127.0.0.1:9/" + std::to_string(id));
    s.ID = id;
    return s;
}

// What the progress window showed when it came up: its bar's range and its picture.
struct ProgressSeen : QObject {
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType() &&
            QByteArray(watched->metaObject()->className()) == "wt::TProgForm") {
            auto* window = static_cast<QWidget*>(watched);
            ++shown;
            if (auto* bar = window->findChild<QProgressBar*>()) maximum = bar->maximum();
            picture = window->grab().toImage();
        }
        return false;
    }
    int shown = 0;
    int maximum = -1;
    QImage picture;
};

TEST(UpdateStory, UpdateRadioStationsShowsProgressTheNewTotalAndTheNewGenres) {
    test::TempFolder offer;
    test::LoopbackHttpServer server;
    server.Route("/upd.txt", test::ScriptedResponse::Ok("002\r\n000\r\n"));
    server.Route("/upd.db", test::ScriptedResponse::Ok(
                                StationFileBytes(offer.Path(), {Offered(10, "Rock", "Rock New"),
                                                                Offered(11, "Ambient", "Calm Waves"),
                                                                Offered(12, "Blues", "Delta Blues")}),
                                "application/octet-stream"));
    ProgramSession session({Station("Rock", "Rock FM", 128, "http://127.0.0.1:9/")}, false, [&](TzIniData& settings) {
        settings.WriteString("UpdateServer", "127.0.0.1:" + std::to_string(server.Port()));
    });
    ASSERT_NO_FATAL_FAILURE(session.Start());
    ui::TForm1& w = session.Window();

    ProgressSeen progress;
    qApp->installEventFilter(&progress);
    session.answers.ThenPress("OK");
    Click(&w, "Update Radio Stations");
    ASSERT_TRUE(WaitFor([&] { return session.answers.AllAnswered(); }));
    qApp->removeEventFilter(&progress);

    EXPECT_EQ(session.answers.Seen(),
              QStringList{"Radio stations database has been updated.\nYou have now 4 radio stations."});
    EXPECT_EQ(progress.shown, 1);
    EXPECT_EQ(progress.maximum, 3) << "one step per offered station";
    // The program's icon stands at the window's top left.
    const QImage icon = w.windowIcon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(progress.picture.isNull());
    const QImage corner = progress.picture.copy(10, 8, 32, 32).convertToFormat(QImage::Format_ARGB32);
    int matching = 0, opaque = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            if (qAlpha(icon.pixel(x, y)) < 255) continue;
            ++opaque;
            if (corner.pixel(x, y) == icon.pixel(x, y)) ++matching;
        }
    EXPECT_GT(opaque, 100);
    EXPECT_GE(matching, opaque * 9 / 10) << "the progress window shows the program's icon";

    QStringList genres;
    for (int i = 0; i < w.GenresRoot()->childCount(); ++i) genres << w.GenresRoot()->child(i)->text(0);
    EXPECT_EQ(genres, QStringList({"Ambient", "Blues", "Rock"}));
    EXPECT_EQ(w.lTotalGenres->text(), "3");
    ClickItem(w.TeTreeView1, FindItem(w.TeTreeView1, "Rock"));
    ASSERT_TRUE(WaitFor([&] { return ColumnTexts(w.BrowseList, 0) == QStringList({"Rock FM", "Rock New"}); }));
    TzIniData settings("cfg.dat", false, session.Profile());
    EXPECT_EQ(settings.ReadInteger("DatabaseVersion", 0), 2);

    // Nothing newer: the same command says so.
    session.answers.ThenPress("OK");
    Click(&w, "Update Radio Stations");
    ASSERT_TRUE(WaitFor([&] { return session.answers.AllAnswered(); }));
    EXPECT_EQ(session.answers.Seen().back(), "There is no update avalaible at this moment.");
}

}  // namespace
}  // namespace wt::acceptance
