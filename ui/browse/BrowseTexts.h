#pragma once
// The questions and refusals of the Browse commands and the Manage Genres dialog, each
// written once.
namespace wt::ui::browsetext {

inline constexpr char kConfirmDeleteStation[] =
    "This will delete current radio station from this group.\rAre you sure you want to continue?";
inline constexpr char kConfirmDeleteAll[] =
    "This will delete all radio stations from this group.\rAre you sure you want to continue?";
inline constexpr char kConfirmDeleteFavorite[] =
    "This will delete current radio station from this favorite's group.\rAre you sure you want to continue?";
inline constexpr char kConfirmDeleteGroup[] =
    "This will delete entire favorite's group.\rAre you sure you want to continue?";
inline constexpr char kReservedGroupName[] =
    "\"%1\" is the name of one of Wavetrap's own settings and cannot be a favorite's group.\r"
    "Please choose another name.";

}  // namespace wt::ui::browsetext
