#pragma once
// The web sites the window links to. Their addresses are settings in cfg.dat, so a user or a
// test can point them elsewhere; a missing setting gives the default below.
#include "settings/SettingNames.h"

namespace wt::ui {

inline constexpr const char* kAdvertSiteSetting = setting::kAdvertSite;
inline constexpr const char* kProductSiteSetting = setting::kProductSite;

// The advertisement site (its "/wt_advert.php" page fills the strip, its home page opens from
// the banner labels) and the vendor's site (the About box's link). Unset by default: with no
// site the strip fetches nothing and shows only its banner, and the links open nothing.
inline constexpr const char* kDefaultAdvertSite = "";
inline constexpr const char* kDefaultProductSite = "";

}  // namespace wt::ui
