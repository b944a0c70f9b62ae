#pragma once
// The Browse commands that change the catalogue, the favourite groups or the output folder:
// Add to Favorites, Delete the station, Delete all, Delete this favorite, Delete entire
// favorite's group and Set Output Folder. They act on the main window's tree and lists and
// are installed as its command hooks (which reload the advertisement first).
#include <QString>
#include <QStringList>

#include <functional>
#include <string>

namespace wt::ui {

class TForm1;
class TNetListItem;

class BrowseCommands {
public:
    // chooseCategory shows the Favorites dialog; tests pass their own answer.
    using CategoryChooser = std::function<QString(const QStringList& groups)>;

    explicit BrowseCommands(TForm1& window, CategoryChooser chooseCategory = {});
    // Sets the window's hooks to these commands.
    void Install();

    void CustomItem2Click();     // Add to Favorites
    void TeSpeedButton3Click();  // Delete the station
    void TeSpeedButton4Click();  // Delete all
    void TeSpeedButton5Click();  // Delete this favorite
    void TeSpeedButton6Click();  // Delete entire favorite's group
    void TeButton4Click();       // Set Output Folder
    void TeButton2Click();       // Manage Genres: the dialog, then the genre tree rebuilt
    // Deletes (and blacklists) every station of the genre, then its tree node and list entry.
    void DeleteGenre(const std::string& genre);
    // Appends a deleted station's title to the blacklist and stores the list.
    void BlackListTitle(const std::string& title);

private:
    bool Confirm(const char* text);
    TNetListItem* SelectedBrowseRow() const;
    QString SelectedFavoriteGroup() const;
    TForm1& window_;
    CategoryChooser chooseCategory_;
};

}  // namespace wt::ui
