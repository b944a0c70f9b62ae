// From the directory to a song file: a station found in the dialog and added to the catalogue
// is ripped from the address the catalogue stored.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>

#include "FindStationsDialog.h"
#include "IcyTestServer.h"
#include "LoopbackHttpServer.h"
#include "TempFolder.h"
#include "catalogue/StationCatalogue.h"
#include "engine/NetRadio.h"
#include "net/HttpClient.h"
#include "settings/zIniData.h"

namespace wt {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(FindAndRip, AStationAddedFromTheDirectoryRipsIntoItsGenreFolder) {
    test::IcyTestServer station({{"First Song", 2}, {"Second Song", 1}});
    test::LoopbackHttpServer directory;
    // The owner's address is a playlist; the directory resolved it to the stream.
    const std::string answer = R"([{"stationuuid":"u1","name":"Loopback FM","url":"http://127.0.0.1:1/listen.pls",)"
                               R"("url_resolved":")" + station.Url() +
                               R"(","tags":"loopback,test","codec":"MP3","bitrate":128,"hls":0,"votes":1}])";
    directory.SetHandler([&](const test::RecordedRequest&) { return test::ScriptedResponse::Ok(answer, "application/json"); });

    test::TempFolder folder;
    TzIniData settings;
    settings.SetFileName(folder.Path() + "cfg.dat");
    settings.WriteString(kDirectoryServersSetting, directory.Url(""));
    StationCatalogue catalogue(folder.Path());
    catalogue.Open();
    net::HttpClient http;
    {
        ui::FindStationsDialog dialog(nullptr, catalogue, {}, settings, http);
        dialog.show();
        dialog.searchButton->click();
        QElapsedTimer timer;
        timer.start();
        while (dialog.Searching() && timer.elapsed() < 10000) QApplication::processEvents(QEventLoop::AllEvents, 20);
        ASSERT_EQ(dialog.results->topLevelItemCount(), 1);
        dialog.results->topLevelItem(0)->setSelected(true);
        dialog.addButton->click();
        EXPECT_TRUE(dialog.AddedAny());
    }
    settings.SetActive(false);
    ASSERT_EQ(catalogue.Genres(), (std::vector<std::string>{"loopback"}));
    const auto stations = catalogue.StationsOfGenre("loopback");
    ASSERT_EQ(stations.size(), 1u);
    EXPECT_EQ(stations[0].URL, station.Url());

    // The rip as "Download this station" starts it: the station's URL into the genre's folder.
    const fs::path music = fs::path(folder.Path()) / "Wavetrap Music";
    QueueDispatcher dispatcher;
    auto radio = std::make_unique<TNetRadio>(dispatcher);
    std::vector<std::string> songs;
    bool ended = false;
    radio->OnNewSong = [&](TNetRadioChannel*, const std::string& title) { songs.push_back(title); };
    radio->OnChannelTerminating = [&](TNetRadioChannel*) { ended = true; };
    TNetRadioChannel* channel = radio->StartRip(stations[0].URL, (music / stations[0].Genre).string() + "/", "");
    ASSERT_TRUE(dispatcher.PumpUntil([&] { return songs.size() == 2; }, 15000));
    radio->StopRip(channel->ID);
    ASSERT_TRUE(dispatcher.PumpUntil([&] { return ended; }, 15000));
    dispatcher.Close();
    radio.reset();
    EXPECT_EQ(ReadFile(music / "loopback" / "First Song.mp3"), station.Song(0));
}

}  // namespace
}  // namespace wt
