#pragma once
// "Import Stations...": a station list file (M3U, PLS, XSPF or a radio-browser JSON export)
// added to the catalogue, with its summary shown to the user.
#include <QString>

#include <string>
#include <vector>

class QWidget;

namespace wt {
class StationCatalogue;
}

namespace wt::ui {

class UserDialogs;

// The genre a list's stations go under: a playlist's file name without its extension; an
// export's stations ("" here) keep their first tag.
std::string ImportGenreFor(const QString& path, const std::string& content);

// Imports the file and shows the summary (information) or the reason it could not be read
// (error), captioned "Import Stations". Returns how many stations were added; the caller then
// rebuilds its genre tree.
int ImportStationsFile(QWidget* parent, const QString& path, StationCatalogue& catalogue,
                       const std::vector<std::string>& blackList, UserDialogs& dialogs);

}  // namespace wt::ui
