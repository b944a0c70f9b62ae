#include "LoopbackHttpServer.h"
#include "catalogue/StationCatalogue.h"
#include "net/HttpClient.h"
#include "settings/zIniData.h"
#include "update/UpdateServer.h"
#include "ui/update/UpdateWiring.h"

#include <gtest/gtest.h>

#include <QPushButton>

#include <filesystem>

namespace wt {
namespace {

struct RecordingDialogs : ui::UserDialogs {
    bool AskYesNo(QWidget*, ui::MessageKind, const QString& text, const QString&) override {
        shown << "ask: " + text;
        return false;
    }
    void ShowMessage(QWidget*, ui::MessageKind kind, const QString& text, const QString&) override {
        shown << QString(kind == ui::MessageKind::Error ? "error: " : "info: ") + text;
    }
    std::optional<QString> ChooseFolder(QWidget*, const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> InputText(QWidget*, const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    QStringList shown;
};

TEST(UpdateWiring, TheWindowsButtonRunsTheUpdateThroughItsDialogs) {
    char pattern[] = "/tmp/wt_ui_update_XXXXXX";
    const std::string folder = std::string(::mkdtemp(pattern)) + "/";
    {
        RecordingDialogs dialogs;
        ui::TForm1 window(dialogs, folder);
        TzIniData settings;
        settings.SetFileName(folder + "cfg.dat");

        StationCatalogue catalogue(folder);
        catalogue.Open();
        net::HttpClient http;
        std::vector<std::string> blackList;
        test::LoopbackHttpServer server;
        server.Route("/upd.txt", test::ScriptedResponse::Ok("000\r\n002\r\n"));
        settings.WriteString(kUpdateServerSetting, "127.0.0.1:" + std::to_string(server.Port()));
        UpdateController controller(&window, settings, catalogue, http, folder, BlackListOf(blackList), nullptr);
        WireUpdateCommands(window, controller, nullptr);

        EXPECT_FALSE(window.manage.updateConfiguration->isHidden());
        window.manage.updateRadioStations->click();
        EXPECT_EQ(dialogs.shown, QStringList{"info: There is no update avalaible at this moment."});
        EXPECT_TRUE(window.manage.updateRadioStations->isEnabled());
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace wt
