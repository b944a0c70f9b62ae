#pragma once
// What the catalogue update shows the user, word for word (the misspellings are the product's).
namespace wt::updatetext {

inline constexpr const char* kNewProgramVersion = "A new version of Wavetrap is available.\rWould you like to update?";
inline constexpr const char* kNoConnection = "Unable to connect to the update server!";
inline constexpr const char* kDownloadFailed = "Unable update database!";
inline constexpr const char* kUpdatedPrefix = "Radio stations database has been updated.\rYou have now ";
inline constexpr const char* kUpdatedSuffix = " radio stations.";
inline constexpr const char* kNoUpdateServer =
    "No update server is set, so there is nothing to update from.\r"
    "Enter the address of an update server in Update Configuration to receive catalogue updates.";
inline constexpr const char* kNoUpdate = "There is no update avalaible at this moment.";
inline constexpr const char* kOfferUpdate = "Radio Station's database update is avalaible.\rWould you like to update now?";
inline constexpr const char* kInvalidStation = "Invalid Radio Station!";

}  // namespace wt::updatetext
