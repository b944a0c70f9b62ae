// The whole update against a real web server: nginx on 127.0.0.1 serving the version file and
// the catalogue that the catalogue tool publishes.
#include "NginxServer.h"
#include "UpdateFixture.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <filesystem>

namespace wt::test {
namespace {

namespace fs = std::filesystem;

class NginxUpdateTest : public UpdateFixture {
protected:
    void SetUp() override {
        UpdateFixture::SetUp();
        if (NginxServer::Binary().empty()) GTEST_SKIP() << "nginx is not installed (Debian package nginx-light)";
        fs::create_directories(folder + "www");
        nginx = std::make_unique<NginxServer>(folder + "www", folder + "nginx");
    }
    void TearDown() override {
        nginx.reset();
        UpdateFixture::TearDown();
    }
    // Publishes stations as catalogue version catalogueVersion with the catalogue tool, or, in a
    // build without the tool, writes the same two files directly.
    void Publish(const std::vector<StationRecord>& stations, int catalogueVersion, int programVersion) {
        const std::string source = folder + "source/";
        fs::remove_all(source);
        fs::create_directories(source);
        {
            StationCatalogue published(source);
            published.Open();
            for (const StationRecord& s : stations) published.AddStation(s);
            published.Close();
        }
        const std::string www = folder + "www/";
        if (std::string(WAVETRAP_CATALOGUE_TOOL).empty()) {
            std::cout << "[ NOTE     ] catalogue tool not built: writing upd.db and upd.txt directly\n";
            fs::copy_file(source + "data.db", www + "upd.db", fs::copy_options::overwrite_existing);
            char text[32];
            std::snprintf(text, sizeof text, "%03d\r\n%03d\r\n", catalogueVersion, programVersion);
            std::ofstream(www + "upd.txt", std::ios::binary) << text;
            return;
        }
        const std::string command = std::string(WAVETRAP_CATALOGUE_TOOL) + " " + source + "data.db publish " + www +
                                    " --catalogue-version " + std::to_string(catalogueVersion) +
                                    " --program-version " + std::to_string(programVersion) + " > " + folder +
                                    "publish.log 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << command << "\n" << ReadFileBytes(folder + "publish.log");
    }

    std::unique_ptr<NginxServer> nginx;
};

TEST_F(NginxUpdateTest, PublishedUpdateIsOfferedDownloadedAndMerged) {
    catalogue->AddStation(MakeStation(0, "Mine", "http://mine/1", 128, "Talk"));
    ASSERT_NO_FATAL_FAILURE(Publish({MakeStation(1, "Mine again", "http://mine/1", 128, "Talk"), MakeStation(2, "Jazz One", "http://j/1", 96, "Jazz"),
             MakeStation(3, "Jazz Two", "http://j/2", 160, "Jazz"), MakeStation(4, "Metal", "http://m/1", 192, "Metal")},
            7, 2));
    std::string error;
    ASSERT_TRUE(nginx->Start(&error)) << error;
    UseServer(nginx->HostAndPort());
    settings->WriteBool("AutoUpdate", true);
    host.answerYes = true;

    updater->NeedWTUpdate();  // program version 2: nothing to offer
    EXPECT_TRUE(host.messages.empty());
    updater->OfferUpdateOnActivation();

    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0], "ask: Radio Station's database update is avalaible.\rWould you like to update now?");
    EXPECT_EQ(host.messages[1], "info: Radio stations database has been updated.\rYou have now 4 radio stations.");
    EXPECT_EQ(settings->ReadInteger("DatabaseVersion", 0), 7);
    EXPECT_EQ(host.genreReloads, 1);
    EXPECT_EQ(host.progressMax, 4);
    EXPECT_EQ(catalogue->Genres(), (std::vector<std::string>{"Jazz", "Metal", "Talk"}));
    const std::vector<StationRecord> all = Stations();
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[1].ID, 2);
    EXPECT_EQ(all[1].Title, "Jazz One");
    EXPECT_EQ(all[3].URL, "http://m/1");
    EXPECT_FALSE(fs::exists(folder + kUpdateTempFile));

    host.messages.clear();
    updater->UpdateRadioStations();  // the same version again: nothing newer
    EXPECT_EQ(host.messages, std::vector<std::string>{"info: There is no update avalaible at this moment."});
}

}  // namespace
}  // namespace wt::test
