// The update against a scripted server on 127.0.0.1: version checks, failures, and the merge.
#include "LoopbackHttpServer.h"
#include "UpdateFixture.h"
#include "update/UpdateServer.h"

#include <filesystem>

namespace wt::test {
namespace {

namespace fs = std::filesystem;
using Messages = std::vector<std::string>;

const std::string kNoConnection = "error: Unable to connect to the update server!";
const std::string kDownloadFailed = "error: Unable update database!";

class UpdaterTest : public UpdateFixture {
protected:
    void SetUp() override {
        UpdateFixture::SetUp();
        UseServer("127.0.0.1:" + std::to_string(server.Port()));
    }
    void ServeVersion(const std::string& text) { server.Route("/upd.txt", ScriptedResponse::Ok(text, "text/plain")); }
    void ServeCatalogue(const std::vector<StationRecord>& stations) {
        WriteStationFile(folder + "served.db", stations);
        server.Route("/upd.db", ScriptedResponse::Ok(ReadFileBytes(folder + "served.db"), "application/octet-stream"));
    }
    void AddToCatalogue(const std::vector<StationRecord>& stations) {
        for (const StationRecord& s : stations) catalogue->AddStation(s);
    }
    std::string Updated(int count) {
        return "info: Radio stations database has been updated.\rYou have now " + std::to_string(count) +
               " radio stations.";
    }

    LoopbackHttpServer server;
};

TEST_F(UpdaterTest, VersionCheckFailuresAllReadAsNoConnection) {
    struct Case {
        const char* name;
        ScriptedResponse response;
    };
    ScriptedResponse shortBody = ScriptedResponse::Ok("012\r\n003\r\n");
    shortBody.contentLength = 100;
    ScriptedResponse stall = ScriptedResponse::Ok("012\r\n003\r\n");
    stall.stallBeforeHead = true;
    ScriptedResponse dropped;
    dropped.dropConnection = true;
    const Case cases[] = {
        {"404", ScriptedResponse::Status(404, "Not Found", "012\r\n003\r\n")},
        {"500", ScriptedResponse::Status(500, "Internal Server Error")},
        {"short body", shortBody},
        {"stalled server", stall},
        {"dropped connection", dropped},
        {"letters", ScriptedResponse::Ok("ab5\r\n003\r\n")},
        {"empty", ScriptedResponse::Ok("")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host.messages.clear();
        server.Route("/upd.txt", c.response);
        EXPECT_EQ(updater->NeedUpdate(), -1);
        EXPECT_EQ(host.messages, Messages{kNoConnection});
        server.ReleaseStalls();
    }
    EXPECT_EQ(settings->ReadInteger("DatabaseVersion", 0), 0);
}

TEST_F(UpdaterTest, NoServerListening) {
    LoopbackHttpServer* closed = new LoopbackHttpServer;
    const std::string host_ = "127.0.0.1:" + std::to_string(closed->Port());
    delete closed;  // the port is free again: connections are refused
    UseServer(host_);
    EXPECT_EQ(updater->NeedUpdate(), -1);
    updater->NeedWTUpdate();
    EXPECT_EQ(host.messages, (Messages{kNoConnection, kNoConnection}));
}

TEST_F(UpdaterTest, RequestsCarryTheClientHeaders) {
    ServeVersion("005\r\n002\r\n");
    updater->NeedUpdate();
    ASSERT_EQ(server.RequestCount(), 1u);
    const RecordedRequest r = server.Requests()[0];
    EXPECT_EQ(r.method, "GET");
    EXPECT_EQ(r.target, "/upd.txt");
    EXPECT_EQ(r.Header("User-Agent"), "Mozilla/3.0 (compatible; Indy Library)");
    EXPECT_EQ(r.Header("Accept"), "text/html, */*");
    EXPECT_EQ(r.Header("Content-Type"), "text/html");
}

TEST_F(UpdaterTest, CatalogueVersionIsOfferedOnlyWhenNewer) {
    ServeVersion("005\r\n002\r\n");
    const std::pair<int, int> cases[] = {{0, 5}, {4, 5}, {5, 0}, {7, 0}};  // installed -> result
    for (auto [installed, expected] : cases) {
        settings->WriteInteger("DatabaseVersion", installed);
        EXPECT_EQ(updater->NeedUpdate(), expected) << installed;
    }
    EXPECT_TRUE(host.messages.empty());
    updater->UpdateRadioStations();  // installed 7: nothing newer
    EXPECT_EQ(host.messages, Messages{"info: There is no update avalaible at this moment."});
    EXPECT_EQ(server.RequestCount(), 5u);  // no download
}

TEST_F(UpdaterTest, ProgramVersionAboveTwoOffersTheProductSite) {
    ServeVersion("012\r\n002\r\n");
    updater->NeedWTUpdate();
    EXPECT_TRUE(host.messages.empty());

    ServeVersion("012\r\n003\r\n");
    updater->NeedWTUpdate();  // answered No
    host.answerYes = true;
    updater->NeedWTUpdate();
    const std::string ask = "ask: A new version of Wavetrap is available.\rWould you like to update?";
    EXPECT_EQ(host.messages, (Messages{ask, ask}));
    EXPECT_EQ(host.opened, std::vector<std::string>{"http://site.test/"});

    host.messages.clear();
    ServeVersion("012");  // one line: enough for the catalogue check only
    updater->NeedWTUpdate();
    EXPECT_EQ(host.messages, Messages{kNoConnection});
    EXPECT_EQ(updater->NeedUpdate(), 12);
}

TEST_F(UpdaterTest, MergeSkipsKnownUrlsBlacklistAndBitRatesAndNumbersFromTheLargestId) {
    AddToCatalogue({MakeStation(0, "Old One", "http://a/1"), MakeStation(0, "Old Two", "http://a/2")});
    // IDs 1 and 2; raise the largest to 180 and delete the rest below it.
    catalogue->DataSetGoto(2);
    catalogue->Dataset().Edit();
    catalogue->DBID().SetAsInteger(180);
    catalogue->Dataset().Post();
    catalogue->DataSetGoto(1);
    catalogue->DeleteCurrentStation();

    blackList = {"Talk Radio"};
    settings->WriteBool("HigherEnabled", true);
    settings->WriteInteger("HigherIndex", 4);  // above 64
    settings->WriteBool("LowerEnabled", true);
    settings->WriteInteger("LowerIndex", 8);  // below 192
    ServeVersion("009\r\n002\r\n");
    ServeCatalogue({
        MakeStation(7, "Renamed", "http://a/2", 128, "Other"),  // known URL: skipped
        MakeStation(8, "Case", "HTTP://a/2"),                   // URL differs in case: added
        MakeStation(9, "Talk", "http://t/1"),                   // inside a blacklist entry
        MakeStation(10, "Best Talk Radio 24", "http://t/2"),    // contains an entry
        MakeStation(11, "Low", "http://b/64", 64),              // equal to the lower bound
        MakeStation(12, "Fine", "http://b/96", 96, "Jazz"),
        MakeStation(13, "High", "http://b/192", 192),           // equal to the upper bound
        MakeStation(14, "Zero", "http://b/0", 0),
        MakeStation(15, "Twice", "http://d/1"),
        MakeStation(16, "Twice again", "http://d/1"),           // same URL earlier in the update
    });

    updater->UpdateRadioStations();

    const std::vector<StationRecord> all = Stations();
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[0].URL, "http://a/2");
    EXPECT_EQ(all[0].Title, "Old Two");
    EXPECT_EQ(all[1].ID, 181);
    EXPECT_EQ(all[1].URL, "HTTP://a/2");
    EXPECT_EQ(all[2].ID, 182);
    EXPECT_EQ(all[2].Title, "Fine");
    EXPECT_EQ(all[2].Genre, "Jazz");
    EXPECT_EQ(all[2].BitRate, 96);
    EXPECT_EQ(all[3].ID, 183);
    EXPECT_EQ(all[3].Title, "Twice");

    EXPECT_EQ(host.progressMax, 10);
    EXPECT_EQ(host.positions, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(host.progressCloses, 1);
    EXPECT_EQ(host.genreReloads, 1);
    EXPECT_EQ(host.messages, Messages{Updated(4)});
    EXPECT_EQ(settings->ReadInteger("DatabaseVersion", 0), 9);
    EXPECT_FALSE(fs::exists(folder + kUpdateTempFile));
}

TEST_F(UpdaterTest, EmptyUpdateStoresTheVersionAndTwoUpdatesInOneRunBothWork) {
    AddToCatalogue({MakeStation(0, "Only", "http://a/1")});
    ServeVersion("003\r\n002\r\n");
    ServeCatalogue({});
    updater->UpdateRadioStations();
    EXPECT_EQ(host.messages, Messages{Updated(1)});
    EXPECT_EQ(settings->ReadInteger("DatabaseVersion", 0), 3);

    host.messages.clear();
    ServeVersion("004\r\n002\r\n");
    ServeCatalogue({MakeStation(1, "New", "http://n/1")});
    updater->UpdateRadioStations();
    EXPECT_EQ(host.messages, Messages{Updated(2)});
    EXPECT_EQ(settings->ReadInteger("DatabaseVersion", 0), 4);
    EXPECT_FALSE(fs::exists(folder + kUpdateTempFile));
}

TEST_F(UpdaterTest, AnUnusuallyLargeUpdateIsMergedOnlyWhenTheUserSaysSo) {
    options.mergeQuestionStations = 2;
    UseServer("127.0.0.1:" + std::to_string(server.Port()));
    AddToCatalogue({MakeStation(0, "Only", "http://a/1")});
    settings->WriteInteger("DatabaseVersion", 2);
    ServeVersion("003\r\n002\r\n");
    ServeCatalogue({MakeStation(1, "A", "http://n/1"), MakeStation(2, "B", "http://n/2"), MakeStation(3, "C", "http://n/3")});
    const std::string question =
        "ask: This catalogue update holds 3 radio stations, far more than usual.\r"
        "Merging it takes a lot of memory and time.\rWould you like to merge it anyway?";

    host.answerYes = false;
    updater->UpdateRadioStations();
    EXPECT_EQ(host.messages, Messages{question});
    EXPECT_EQ(catalogue->StationCount(), 1);
    EXPECT_EQ(settings->ReadInteger("DatabaseVersion", 0), 2);  // offered again next time
    EXPECT_FALSE(fs::exists(folder + kUpdateTempFile));
    EXPECT_EQ(host.progressMax, -1);

    host.messages.clear();
    host.answerYes = true;
    updater->UpdateRadioStations();
    EXPECT_EQ(host.messages, (Messages{question, Updated(4)}));
    EXPECT_EQ(settings->ReadInteger("DatabaseVersion", 0), 3);

    // At the limit there is no question.
    options.mergeQuestionStations = 1;
    UseServer("127.0.0.1:" + std::to_string(server.Port()));
    host.messages.clear();
    ServeVersion("004\r\n002\r\n");
    fs::remove(folder + "served.db");  // written anew, not appended to
    ServeCatalogue({MakeStation(1, "D", "http://n/4")});
    updater->UpdateRadioStations();
    EXPECT_EQ(host.messages, Messages{Updated(5)});
}

TEST_F(UpdaterTest, FailedDownloadOrRefusedFileChangesNothingAndTheTempFileGoesNextTime) {
    AddToCatalogue({MakeStation(0, "Only", "http://a/1")});
    settings->WriteInteger("DatabaseVersion", 2);
    ServeVersion("003\r\n002\r\n");
    ScriptedResponse shortBody = ScriptedResponse::Ok(std::string(300, 'x'));
    shortBody.contentLength = 5000;
    ScriptedResponse stalled = ScriptedResponse::Ok(std::string(5000, 'x'));
    stalled.stallAfter = 100;
    struct Case {
        const char* name;
        ScriptedResponse response;
        std::string message;
    };
    const Case cases[] = {
        {"404", ScriptedResponse::Status(404, "Not Found"), kDownloadFailed},
        {"short body", shortBody, kDownloadFailed},
        {"stalled", stalled, kDownloadFailed},
        {"not a data set", ScriptedResponse::Ok(std::string(300, 'x')), "error: Not a binary data set file."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host.messages.clear();
        server.Route("/upd.db", c.response);
        updater->UpdateRadioStations();
        EXPECT_EQ(host.messages, Messages{c.message});
        EXPECT_EQ(settings->ReadInteger("DatabaseVersion", 0), 2);
        EXPECT_EQ(catalogue->StationCount(), 1);
        EXPECT_FALSE(host.progressShown);
        server.ReleaseStalls();
    }
    EXPECT_TRUE(fs::exists(folder + kUpdateTempFile));  // left by the refused file

    // The next start of the program removes it; so does the next update before downloading.
    updater.reset();
    UseServer("127.0.0.1:" + std::to_string(server.Port()));
    updater->RemoveStaleTempFile();
    EXPECT_FALSE(fs::exists(folder + kUpdateTempFile));
}

TEST_F(UpdaterTest, FirstActivationOffersOnlyWithAutoUpdate) {
    ServeVersion("006\r\n002\r\n");
    ServeCatalogue({MakeStation(1, "New", "http://n/1")});
    updater->OfferUpdateOnActivation();
    EXPECT_EQ(server.RequestCount(), 0u);

    settings->WriteBool("AutoUpdate", true);
    updater->OfferUpdateOnActivation();  // answered No
    const std::string offer = "ask: Radio Station's database update is avalaible.\rWould you like to update now?";
    EXPECT_EQ(host.messages, Messages{offer});
    EXPECT_EQ(catalogue->StationCount(), 0);

    host.answerYes = true;
    updater->OfferUpdateOnActivation();
    EXPECT_EQ(host.messages, (Messages{offer, offer, Updated(1)}));
    EXPECT_EQ(settings->ReadInteger("DatabaseVersion", 0), 6);
}

TEST_F(UpdaterTest, CommandsDoNotReEnterWhileARequestRuns) {
    ServeVersion("006\r\n002\r\n");
    struct ReenteringHost : RecordingHost {
        CatalogueUpdater* updater = nullptr;
        int inner = -2;
        void RunRequest(const std::function<void()>& request) override {
            EXPECT_TRUE(updater->Busy());
            inner = updater->NeedUpdate();  // as a click handled while the request runs
            updater->UpdateRadioStations();
            request();
        }
    } reentering;
    CatalogueUpdater guarded(*settings, *catalogue, http, reentering, folder, BlackListOf(blackList), options);
    reentering.updater = &guarded;
    EXPECT_EQ(guarded.NeedUpdate(), 6);
    EXPECT_EQ(reentering.inner, -1);
    EXPECT_TRUE(reentering.messages.empty());
    EXPECT_EQ(server.RequestCount(), 1u);
    EXPECT_FALSE(guarded.Busy());
}

}  // namespace
}  // namespace wt::test
