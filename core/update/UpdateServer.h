#pragma once
// Where the update comes from: the update server and product site are settings, so that a user
// (or a test) can point them at any web server.
#include "settings/SettingNames.h"

#include <string>
#include <string_view>

namespace wt {

class TzIniData;

inline constexpr const char* kUpdateServerSetting = setting::kUpdateServer;
inline constexpr const char* kProductSiteSetting = setting::kProductSite;
// Unset by default: no update server means no checks at start and a word of advice when the
// user asks for an update.
inline constexpr const char* kDefaultUpdateServer = "";
inline constexpr const char* kDefaultProductSite = "";

bool HasUpdateServer(TzIniData& settings);

// "http://" + host + path; a setting that already holds a scheme is used as the base.
std::string ServerUrl(std::string_view hostSetting, std::string_view path);

std::string UpdateServerUrl(TzIniData& settings, std::string_view path);
std::string ProductSiteUrl(TzIniData& settings);

}  // namespace wt
