#include "BrowseCommands.h"

#include "BrowseTexts.h"
#include "FavoriteGroups.h"
#include "FavoritesDialog.h"
#include "ManageGenresDialog.h"
#include "MainWindow.h"
#include "NetListItem.h"

#include "platform/StringList.h"
#include "settings/SettingNames.h"
#include "update/BlackList.h"

#include <QLabel>
#include <QTreeWidget>

namespace wt::ui {

namespace {
using namespace browsetext;

QStringList ToQStringList(const std::vector<std::string>& lines) {
    QStringList out;
    for (const auto& line : lines) out << QString::fromStdString(line);
    return out;
}
}  // namespace

BrowseCommands::BrowseCommands(TForm1& window, CategoryChooser chooseCategory)
    : window_(window), chooseCategory_(std::move(chooseCategory)) {
    if (!chooseCategory_) {
        chooseCategory_ = [this](const QStringList& groups) {
            TForm2 dialog(&window_);
            return dialog.ChooseCategory(groups);
        };
    }
}

void BrowseCommands::Install() {
    auto& hooks = window_.Hooks();
    hooks.addToFavorites = [this] { CustomItem2Click(); };
    hooks.deleteStation = [this] { TeSpeedButton3Click(); };
    hooks.deleteAll = [this] { TeSpeedButton4Click(); };
    hooks.deleteFavorite = [this] { TeSpeedButton5Click(); };
    hooks.deleteFavoriteGroup = [this] { TeSpeedButton6Click(); };
    hooks.setOutputFolder = [this] { TeButton4Click(); };
    hooks.manageGenres = [this] { TeButton2Click(); };
}

bool BrowseCommands::Confirm(const char* text) {
    return window_.Dialogs().AskYesNo(&window_, MessageKind::Warning, QString::fromUtf8(text));
}

void BrowseCommands::BlackListTitle(const std::string& title) {
    window_.BlackListEntries->push_back(title);
    StoreBlackList(*window_.zIniData1, *window_.BlackListEntries);
}

TNetListItem* BrowseCommands::SelectedBrowseRow() const { return window_.SelectedBrowseRow(); }

QString BrowseCommands::SelectedFavoriteGroup() const {
    QTreeWidgetItem* node = window_.TeTreeView1->currentItem();
    if (!node || node->parent() != window_.FavouritesRoot()) return QString();
    return node->text(0);
}

void BrowseCommands::CustomItem2Click() {
    TNetListItem* row = SelectedBrowseRow();
    if (!row) return;
    FavoriteGroups groups(*window_.zIniData1);
    QString chosen = chooseCategory_(ToQStringList(groups.Names()));
    if (chosen.isEmpty()) return;
    std::string name = chosen.toStdString();
    if (FavoriteGroups::IsReservedName(name)) {
        window_.Dialogs().ShowMessage(&window_, MessageKind::Error, QString(kReservedGroupName).arg(chosen));
        return;
    }
    groups.AddStation(name, row->StationID);
    window_.ShowFavoriteCount();
    window_.LoadFavorites();
}

void BrowseCommands::TeSpeedButton3Click() {
    TNetListItem* row = SelectedBrowseRow();
    if (!row || !Confirm(kConfirmDeleteStation)) return;
    if (!window_.DataSetGoto(row->StationID)) return;
    StationRecord station = window_.zDataset1->CurrentStation();
    BlackListTitle(station.Title);
    window_.zDataset1->DeleteCurrentStation();
    delete row;
    if (!window_.GenreExists(station.Genre)) window_.DeleteTreeGenre(QString::fromStdString(station.Genre));
}

void BrowseCommands::TeSpeedButton4Click() {
    QTreeWidgetItem* node = window_.TeTreeView1->currentItem();
    if (!node || node->parent() != window_.GenresRoot()) return;
    if (!Confirm(kConfirmDeleteAll)) return;
    DeleteGenre(node->text(0).toStdString());
}

void BrowseCommands::DeleteGenre(const std::string& genre) {
    // Collect first, then delete by ID: deleting moves the cursor to the next station, and
    // collecting keeps every matching station visited exactly once.
    std::vector<std::int32_t> ids;
    window_.zDataset1->ForEachStation([&](const StationRecord& s) {
        if (s.Genre == genre) ids.push_back(s.ID);
    });
    {
        // One replacement of the catalogue file for the whole genre, not one per station.
        TzBulkChange bulk(window_.zDataset1->Dataset());
        for (std::int32_t id : ids) {
            if (!window_.DataSetGoto(id)) continue;
            BlackListTitle(window_.zDataset1->CurrentStation().Title);
            window_.zDataset1->DeleteCurrentStation();
        }
        bulk.Finish();
    }
    window_.DeleteTreeGenre(QString::fromStdString(genre));
    auto& list = window_.GenreList;
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (*it == genre) {
            list.erase(it);
            break;
        }
    }
    window_.lTotalGenres->setText(QString::number(window_.GenresRoot()->childCount()));
}

void BrowseCommands::TeSpeedButton5Click() {
    TNetListItem* row = SelectedBrowseRow();
    QString group = SelectedFavoriteGroup();
    if (!row || group.isEmpty() || !Confirm(kConfirmDeleteFavorite)) return;
    FavoriteGroups groups(*window_.zIniData1);
    bool groupDeleted = false;
    if (!groups.RemoveStation(group.toStdString(), row->StationID, &groupDeleted)) return;
    if (groupDeleted) {
        window_.DeleteTreeFavorite(group);
        window_.BrowseList->clear();
    } else {
        delete row;
    }
    window_.ShowFavoriteCount();
}

void BrowseCommands::TeSpeedButton6Click() {
    QString group = SelectedFavoriteGroup();
    if (group.isEmpty() || !Confirm(kConfirmDeleteGroup)) return;
    FavoriteGroups(*window_.zIniData1).DeleteGroup(group.toStdString());
    window_.DeleteTreeFavorite(group);
    window_.ShowFavoriteCount();
    window_.BrowseList->clear();
}

void BrowseCommands::TeButton4Click() { window_.CreateFolders(false); }

void BrowseCommands::TeButton2Click() {
    {
        TForm5 dialog(window_, *this);
        dialog.exec();
    }
    qDeleteAll(window_.GenresRoot()->takeChildren());
    window_.BrowseList->clear();
    window_.LoadGenres();
    window_.lTotalGenres->setText(QString::number(window_.GenresRoot()->childCount()));
}

}  // namespace wt::ui
