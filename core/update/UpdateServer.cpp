#include "update/UpdateServer.h"

#include "net/HttpClient.h"
#include "settings/zIniData.h"

namespace wt {

std::string ServerUrl(std::string_view hostSetting, std::string_view path) {
    std::string base(hostSetting);
    while (!base.empty() && base.back() == '/') base.pop_back();
    if (!net::IsHttpUrl(base)) base = "http://" + base;
    return base + std::string(path);
}

static std::string Setting(TzIniData& settings, const char* name, const char* fallback) {
    std::string value = settings.ReadString(name, fallback);
    return value.empty() ? fallback : value;
}

bool HasUpdateServer(TzIniData& settings) {
    return !settings.ReadString(kUpdateServerSetting, kDefaultUpdateServer).empty();
}

std::string UpdateServerUrl(TzIniData& settings, std::string_view path) {
    return ServerUrl(Setting(settings, kUpdateServerSetting, kDefaultUpdateServer), path);
}

std::string ProductSiteUrl(TzIniData& settings) {
    return ServerUrl(Setting(settings, kProductSiteSetting, kDefaultProductSite), "/");
}

}  // namespace wt
