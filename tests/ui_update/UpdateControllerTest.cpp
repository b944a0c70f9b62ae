#include "LoopbackHttpServer.h"
#include "ScriptedDialogs.h"
#include "catalogue/StationCatalogue.h"
#include "net/HttpClient.h"
#include "settings/zIniData.h"
#include "ui/update/UpdateController.h"
#include "update/UpdateServer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace wt {
namespace {

std::string StationFileBytes(const std::string& path, int count) {
    {
        TzDataset file("upd");
        StationFields fields = DeclareStationFields(file);
        file.SetFileName(path);
        file.Open();
        for (int i = 1; i <= count; ++i) {
            StationRecord s;
            s.ID = i;
            s.Genre = "Genre" + std::to_string(i);
            s.Title = "Station " + std::to_string(i);
            s.BitRate = 128;
            s.URL = "http://s/" + std::to_string(i);
            file.Append();
            WriteStation(fields, s);
            file.Post();
        }
        file.Close();
    }
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST(UpdateController, MergeRunsUnderTheProgressWindowAndEscHidesOnlyTheWindow) {
    char pattern[] = "/tmp/wt_ui_update_XXXXXX";
    const std::string folder = std::string(::mkdtemp(pattern)) + "/";
    {
        QWidget window;
        window.show();
        TzIniData settings;
        settings.SetFileName(folder + "cfg.dat");

        StationCatalogue catalogue(folder);
        catalogue.Open();
        net::HttpClient http;
        std::vector<std::string> blackList;
        test::LoopbackHttpServer server;
        server.Route("/upd.txt", test::ScriptedResponse::Ok("002\r\n002\r\n"));
        server.Route("/upd.db", test::ScriptedResponse::Ok(StationFileBytes(folder + "served.db", 3)));
        settings.WriteString(kUpdateServerSetting, "127.0.0.1:" + std::to_string(server.Port()));

        int reloads = 0;
        UpdateController controller(&window, settings, catalogue, http, folder, BlackListOf(blackList), [&] { ++reloads; });
        test::ScriptedDialogs dialogs;
        dialogs.AnswerYes();  // the cancel question of the progress window
        controller.SetDialogs(dialogs);
        QList<bool> busy;
        QObject::connect(&controller, &UpdateController::BusyChanged, [&](bool b) { busy << b; });

        TzProgress& progress = controller.Progress();
        progress.SetSoundOutput(std::make_shared<NullSoundOutput>());
        progress.SetInputPollInterval(std::chrono::milliseconds(0));
        bool disabledWhileShown = false;
        progress.OnShow = [&](TzProgress*) {
            disabledWhileShown = !window.isEnabled();
            QCoreApplication::postEvent(&window, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        };

        controller.UpdateRadioStations();

        EXPECT_TRUE(disabledWhileShown);
        ASSERT_EQ(dialogs.shown.size(), 2u);
        EXPECT_EQ(dialogs.shown[0].type, test::ShownDialog::Type::Question);
        EXPECT_EQ(dialogs.shown[0].kind, ui::MessageKind::Confirmation);
        EXPECT_TRUE(progress.Cancelled());
        EXPECT_EQ(progress.Window(), nullptr);
        EXPECT_TRUE(window.isEnabled());
        EXPECT_EQ(catalogue.StationCount(), 3);  // the merge ran to its end
        EXPECT_EQ(dialogs.shown[1].kind, ui::MessageKind::Information);
        EXPECT_EQ(dialogs.Messages(), QStringList{"Radio stations database has been updated.\rYou have now 3 radio stations."});
        EXPECT_EQ(reloads, 1);
        EXPECT_EQ(busy, (QList<bool>{true, false}));
        EXPECT_FALSE(controller.Busy());
        EXPECT_EQ(settings.ReadInteger("DatabaseVersion", 0), 2);
    }
    std::filesystem::remove_all(folder);
}

TEST(UpdateController, WindowStaysResponsiveWhileARequestRunsAndDisconnectEndsIt) {
    char pattern[] = "/tmp/wt_ui_update_XXXXXX";
    const std::string folder = std::string(::mkdtemp(pattern)) + "/";
    {
        QWidget window;
        TzIniData settings;
        settings.SetFileName(folder + "cfg.dat");
        StationCatalogue catalogue(folder);
        catalogue.Open();
        net::HttpClient http;
        std::vector<std::string> blackList;
        test::LoopbackHttpServer server;
        test::ScriptedResponse silent = test::ScriptedResponse::Ok("009\r\n002\r\n");
        silent.stallBeforeHead = true;
        server.Route("/upd.txt", silent);
        settings.WriteString(kUpdateServerSetting, "127.0.0.1:" + std::to_string(server.Port()));
        UpdaterOptions options;
        options.stallTimeoutMs = 20000;  // only Disconnect should end the request
        UpdateController controller(&window, settings, catalogue, http, folder, BlackListOf(blackList), nullptr,
                                     options);
        test::ScriptedDialogs dialogs;
        controller.SetDialogs(dialogs);

        bool busyMeanwhile = false;
        // Runs only if the window handles its events while the request blocks.
        QTimer::singleShot(50, [&] {
            busyMeanwhile = controller.Busy();
            controller.UpdateRadioStations();  // a second click: refused while busy
            controller.Disconnect();
        });
        QElapsedTimer clock;
        clock.start();
        controller.UpdateRadioStations();
        EXPECT_LT(clock.elapsed(), 10000);
        EXPECT_TRUE(busyMeanwhile);
        EXPECT_TRUE(dialogs.shown.empty());  // the cancelled check says nothing at shutdown
        EXPECT_EQ(server.RequestCount(), 1u);
        EXPECT_FALSE(controller.Busy());
        server.ReleaseStalls();
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace wt
