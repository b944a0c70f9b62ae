#include "update/Updater.h"

#include "catalogue/StationCatalogue.h"
#include "net/HttpClient.h"
#include "settings/SettingNames.h"
#include "settings/zIniData.h"
#include "update/StationMerge.h"
#include "update/UpdateHost.h"
#include "update/UpdateServer.h"
#include "update/UpdateTexts.h"
#include "update/VersionFile.h"

#include <memory>

namespace wt {

namespace {

// A version file is a few bytes; anything this large is not one.
constexpr size_t kMaxVersionFileBytes = 64 * 1024;

net::HttpOptions RequestOptions(long connectTimeoutMs, long stallTimeoutMs) {
    net::HttpOptions o;
    o.userAgent = "Mozilla/3.0 (compatible; Indy Library)";
    o.headers = {"Accept: text/html, */*", "Content-Type: text/html"};
    o.acceptCookies = true;
    o.connectTimeoutMs = connectTimeoutMs;
    o.stallTimeoutMs = stallTimeoutMs;
    return o;
}

// Sets a flag for the life of one operation, so that the operation cannot start again while a
// request it waits for lets the window handle events.
class BusyScope {
public:
    explicit BusyScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyScope() { flag_ = false; }

private:
    bool& flag_;
};

}  // namespace

CatalogueUpdater::CatalogueUpdater(TzIniData& settings, StationCatalogue& catalogue, net::HttpClient& http, UpdateHost& host, std::string programFolder, BlackListSource blackList,
                   UpdaterOptions options)
    : settings_(settings),
      catalogue_(catalogue),
      http_(http),
      host_(host),
      programFolder_(std::move(programFolder)),
      blackList_(std::move(blackList)),
      options_(options) {
    DeclareStationFields(update_);
    update_.SetFileSystem(Files());
}

std::string CatalogueUpdater::TempFilePath() const { return programFolder_ + kUpdateTempFile; }

void CatalogueUpdater::RemoveStaleTempFile() const {
    if (busy_) return;
    (void)Files().Remove(TempFilePath());  // none left is the usual case
}

FileSystem& CatalogueUpdater::Files() const { return options_.files ? *options_.files : RealFileSystem(); }

bool CatalogueUpdater::FetchVersionText(long connectTimeoutMs, std::string& text) {
    std::string body;
    const std::string url = UpdateServerUrl(settings_, "/upd.txt");
    net::HttpOptions options = RequestOptions(connectTimeoutMs, options_.stallTimeoutMs);
    // A server that accepts and then drips or says nothing must not hold the window.
    options.totalTimeoutMs = options_.versionCheckTotalMs;
    try {
        host_.RunRequest([&] {
            http_.Get(url, [&](std::string_view bytes) {
                body.append(bytes);
                return body.size() <= kMaxVersionFileBytes;
            }, options);
        });
    } catch (const std::exception&) {
        return false;
    }
    text = NormalizeVersionText(body);
    return true;
}

void CatalogueUpdater::NeedWTUpdate() {
    if (busy_ || !HasUpdateServer(settings_)) return;
    BusyScope busy(busy_);
    std::string text;
    std::optional<int> version;
    if (FetchVersionText(options_.programCheckConnectMs, text)) version = VersionGroup(text, 6);
    if (!version) {
        host_.ShowError(updatetext::kNoConnection);
        return;
    }
    const bool hasProductSite = !settings_.ReadString(kProductSiteSetting, "").empty();
    if (*version > kProgramVersion && host_.AskYesNo(updatetext::kNewProgramVersion) && hasProductSite)
        host_.OpenWebSite(ProductSiteUrl(settings_));
}

int CatalogueUpdater::CheckCatalogueVersion() {
    std::string text;
    std::optional<int> version;
    if (FetchVersionText(options_.catalogueCheckConnectMs, text)) version = VersionGroup(text, 1);
    if (!version) {
        host_.ShowError(updatetext::kNoConnection);
        return -1;
    }
    return settings_.ReadInteger(setting::kDatabaseVersion, 0) < *version ? *version : 0;
}

int CatalogueUpdater::NeedUpdate() {
    if (busy_) return -1;
    BusyScope busy(busy_);
    return CheckCatalogueVersion();
}

void CatalogueUpdater::Update(int newVersion) {
    if (busy_) return;
    BusyScope busy(busy_);
    RunUpdate(newVersion);
}

void CatalogueUpdater::UpdateRadioStations() {
    if (busy_) return;
    if (!HasUpdateServer(settings_)) {
        host_.ShowInformation(updatetext::kNoUpdateServer);
        return;
    }
    BusyScope busy(busy_);
    const int version = CheckCatalogueVersion();
    if (version > 0)
        RunUpdate(version);
    else if (version == 0)
        host_.ShowInformation(updatetext::kNoUpdate);
}

void CatalogueUpdater::OfferUpdateOnActivation() {
    if (busy_ || !settings_.ReadBool(setting::kAutoUpdate, false) || !HasUpdateServer(settings_)) return;
    BusyScope busy(busy_);
    const int version = CheckCatalogueVersion();
    if (version > 0 && host_.AskYesNo(updatetext::kOfferUpdate)) RunUpdate(version);
}

bool CatalogueUpdater::Download(const std::string& path) {
    std::unique_ptr<OpenFile> file;
    if (!Files().Open(path, OpenMode::Replace, &file).ok()) return false;
    bool ok = true;
    try {
        const std::string url = UpdateServerUrl(settings_, "/upd.db");
        const net::HttpOptions options = RequestOptions(0, options_.stallTimeoutMs);
        host_.RunRequest([&] {
            // Straight to disk: a catalogue can be large.
            http_.Get(url, [&file](std::string_view bytes) {
                std::size_t written = 0;
                return file->Append(bytes.data(), bytes.size(), &written).ok();
            }, options);
        });
    } catch (const std::exception&) {
        ok = false;
    }
    if (!file->Close().ok()) ok = false;
    return ok;
}

void CatalogueUpdater::RunUpdate(int newVersion) {
    const std::string temp = TempFilePath();
    if (update_.Active()) update_.Close();
    (void)Files().Remove(temp);  // a stale download, if any; Download replaces it anyway

    if (!Download(temp)) {
        host_.ShowError(updatetext::kDownloadFailed);
        return;
    }

    update_.SetFileName(temp);
    try {
        update_.Open();
    } catch (const std::exception& refused) {
        host_.ShowError(refused.what());
        return;
    }

    const int count = update_.RecordCount();
    if (count > options_.mergeQuestionStations && !host_.AskYesNo(updatetext::LargeUpdateQuestion(count))) {
        update_.Close();
        (void)Files().Remove(temp);  // declined: nothing merged, the version stays
        return;
    }
    host_.ProgressStart(count);
    try {
        // The filter settings cannot change during the merge (the window is disabled), so they
        // are read once rather than for every record.
        MergeUpdateStations(catalogue_, update_, ReadBitRateWindow(), blackList_(),
                            [this](int position) { host_.ProgressPosition(position); });
    } catch (const std::exception& failed) {
        // The stations posted so far stay; the version is not stored, so the update is offered again.
        host_.ProgressClose();
        update_.Close();
        host_.ShowError(failed.what());
        return;
    }
    host_.ProgressClose();
    settings_.WriteInteger(setting::kDatabaseVersion, newVersion);
    update_.Close();
    (void)Files().Remove(temp);  // merged; a leftover is removed at the next start
    host_.LoadGenres();
    host_.ShowInformation(std::string(updatetext::kUpdatedPrefix) + std::to_string(catalogue_.StationCount()) +
                          updatetext::kUpdatedSuffix);
}

BitRateWindow CatalogueUpdater::ReadBitRateWindow() {
    return {settings_.ReadBool(setting::kHigherEnabled, false), settings_.ReadInteger(setting::kHigherIndex, 0),
            settings_.ReadBool(setting::kLowerEnabled, false), settings_.ReadInteger(setting::kLowerIndex, 0)};
}

bool CatalogueUpdater::IsUpdateCompatible() {
    return wt::IsUpdateCompatible(ReadBitRateWindow(), blackList_(), update_.FieldByName("BitRate").AsInteger(),
                                  update_.FieldByName("Title").AsString());
}

bool CatalogueUpdater::IsInBlackList(const std::string& title) const { return wt::IsInBlackList(blackList_(), title); }

}  // namespace wt
