#include "UpdateFixture.h"

#include "update/UpdateServer.h"

#include <fstream>
#include <sstream>

namespace wt::test {

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

StationRecord MakeStation(int id, std::string title, std::string url, int bitRate, std::string genre) {
    StationRecord s;
    s.ID = id;
    s.Title = std::move(title);
    s.URL = std::move(url);
    s.BitRate = static_cast<std::int16_t>(bitRate);
    s.Genre = std::move(genre);
    return s;
}

void UpdateFixture::SetUp() {
    char pattern[] = "/tmp/wt_update_XXXXXX";
    folder = std::string(::mkdtemp(pattern)) + "/";
    settings = std::make_unique<TzIniData>();
    settings->SetFileName(folder + "cfg.dat");

    catalogue = std::make_unique<StationCatalogue>(folder);
    catalogue->Open();
    options.stallTimeoutMs = 800;
}

void UpdateFixture::TearDown() {
    updater.reset();
    catalogue.reset();
    settings.reset();
    std::filesystem::remove_all(folder);
}

void UpdateFixture::UseServer(const std::string& serverHost) {
    settings->WriteString(kUpdateServerSetting, serverHost);
    settings->WriteString(kProductSiteSetting, "site.test");
    updater = std::make_unique<CatalogueUpdater>(*settings, *catalogue, http, host, folder, BlackListOf(blackList), options);
}

std::vector<StationRecord> UpdateFixture::Stations() {
    std::vector<StationRecord> all;
    catalogue->ForEachStation([&](const StationRecord& s) { all.push_back(s); });
    return all;
}

}  // namespace wt::test
