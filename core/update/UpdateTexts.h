#pragma once
// What the catalogue update shows the user, word for word (the misspellings are the product's).
#include <cstdint>
#include <string>

namespace wt::updatetext {

inline constexpr const char* kNewProgramVersion = "A new version of Wavetrap is available.\rWould you like to update?";
inline constexpr const char* kNoConnection = "Unable to connect to the update server!";
inline constexpr const char* kDownloadFailed = "Unable update database!";
inline constexpr const char* kUpdatedPrefix = "Radio stations database has been updated.\rYou have now ";
inline constexpr const char* kUpdatedSuffix = " radio stations.";
inline constexpr const char* kNoUpdateServerOfferDirectory =
    "No update server is set, so there is nothing to update from (enter one in Update "
    "Configuration).\rWould you like to find stations in the open radio directory instead?";
inline constexpr const char* kNoUpdateServer =
    "No update server is set, so there is nothing to update from.\r"
    "Enter the address of an update server in Update Configuration to receive catalogue updates.";
inline constexpr const char* kNoUpdate = "There is no update avalaible at this moment.";
inline constexpr const char* kOfferUpdate = "Radio Station's database update is avalaible.\rWould you like to update now?";
inline constexpr const char* kInvalidStation = "Invalid Radio Station!";

// The question before merging an unusually large update.
inline std::string LargeUpdateQuestion(std::int32_t stations) {
    return "This catalogue update holds " + std::to_string(stations) + " radio stations, far more than usual.\r"
           "Merging it takes a lot of memory and time.\rWould you like to merge it anyway?";
}

}  // namespace wt::updatetext
