#pragma once
// The catalogue update: asks the update server for its version file, downloads a newer
// catalogue to "tmpdb.db" beside the program and merges the stations the user does not have.
// Everything runs on the GUI thread, one operation at a time.
#include "catalogue/zDataset.h"
#include "update/UpdateFilter.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace wt {

class StationCatalogue;
class TzIniData;
class UpdateHost;
namespace net {
class HttpClient;
}

inline constexpr const char* kUpdateTempFile = "tmpdb.db";

// The window's BlackListEntries, asked for when needed (the window fills it during start-up,
// after the updater exists).
using BlackListSource = std::function<std::vector<std::string>&()>;
inline BlackListSource BlackListOf(std::vector<std::string>& list) {
    return [&list]() -> std::vector<std::string>& { return list; };
}

struct UpdaterOptions {
    // A downloaded catalogue of more stations than this is merged only when the user says so:
    // the whole radio-browser directory is about 50,000 stations, and a hostile or broken server
    // can send far more, which costs memory and time in proportion.
    std::int32_t mergeQuestionStations = 150000;
    // Connect time limits of the two version checks (the download has none of its own).
    long programCheckConnectMs = 4000;
    long catalogueCheckConnectMs = 2000;
    // A server that sends nothing for this long after connecting is given up, so that a
    // stalled server cannot keep an update running for ever.
    long stallTimeoutMs = 60000;
    // The whole of one version check, connecting included.
    long versionCheckTotalMs = 15000;
    // The files of the download (the real ones unless a test hands in a faulty disk, which
    // must outlive the updater).
    FileSystem* files = nullptr;
};

class CatalogueUpdater {
public:
    // The catalogue is the window's.
    CatalogueUpdater(TzIniData& settings, StationCatalogue& catalogue, net::HttpClient& http, UpdateHost& host,
             std::string programFolder, BlackListSource blackList, UpdaterOptions options = {});

    // Program version check: offers the product's web site when the server has a newer release.
    void NeedWTUpdate();
    // The server's catalogue version when newer than the installed one, 0 when not, -1 when the
    // server could not be asked (the failure has been shown).
    int NeedUpdate();
    // Downloads, merges and records newVersion; shows the result or the failure.
    void Update(int newVersion);
    // "Update Radio Stations": update at once when the server has something newer.
    void UpdateRadioStations();
    // The offer at the first activation of the window, when "AutoUpdate" is on.
    void OfferUpdateOnActivation();

    // The filter for the current record of the downloaded catalogue.
    bool IsUpdateCompatible();
    TzDataset& zUpdate() { return update_; }
    bool IsInBlackList(const std::string& title) const;

    // True while a check or an update runs; further calls return at once meanwhile.
    bool Busy() const { return busy_; }
    std::string TempFilePath() const;
    // Deletes a "tmpdb.db" left by an update that failed in an earlier run.
    void RemoveStaleTempFile() const;

private:
    bool FetchVersionText(long connectTimeoutMs, std::string& text);
    int CheckCatalogueVersion();
    void RunUpdate(int newVersion);
    bool Download(const std::string& path);
    BitRateWindow ReadBitRateWindow();
    FileSystem& Files() const;

    TzIniData& settings_;
    StationCatalogue& catalogue_;
    TzDataset update_{"zUpdate"};  // the downloaded catalogue, open only while it is merged
    net::HttpClient& http_;
    UpdateHost& host_;
    std::string programFolder_;
    BlackListSource blackList_;
    UpdaterOptions options_;
    bool busy_ = false;
};

}  // namespace wt
