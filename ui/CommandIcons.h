#pragma once
// The pictures of the toolbars and menus, drawn in code so they need no image files.
#include <QIcon>

namespace wt::ui {

// The command image list, by index.
enum class CommandImage {
    AddToFavorites = 0,
    Download = 1,
    Delete = 2,       // also "stop ripping"
    DeleteAll = 3,    // also "stop all"
    StopPlaying = 4,
    Play = 5,         // also "preview"
    OpenFolder = 6,
    DownloadAll = 7,
    Restore = 8,
    Exit = 9,
};

QIcon CommandIcon(CommandImage image);

// The tree's two images: a genre and a favourites group.
QIcon GenreIcon();
QIcon FavoritesIcon();

// The window's and the tray's icon.
QIcon ProgramIcon();

}  // namespace wt::ui
