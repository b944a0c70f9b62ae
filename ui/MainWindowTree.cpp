// The browse tree: genres and favourite groups, and what selecting a node lists.
#include "CommandIcons.h"
#include "MainWindow.h"
#include "settings/SettingNames.h"
#include "NetListItem.h"

#include "platform/StringList.h"

#include <QAction>
#include <QTreeWidget>

#include <algorithm>

namespace wt::ui {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// A bit rate as the catalogue shows it in text: 0 reads back as empty.
QString BitRateText(std::int16_t bitRate) {
    return bitRate == 0 ? QString() : QString::number(bitRate);
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
    return CompareIgnoreCase(a, b) < 0;
}

}  // namespace

std::vector<std::string> TForm1::ReadList(const std::string& name) {
    return SplitLines(zIniData1->ReadString(name, ""));
}

bool TForm1::GenreListContains(const std::string& name) const {
    return std::binary_search(GenreList.begin(), GenreList.end(), name, LessIgnoringCase);
}

void TForm1::GenreListRemove(const std::string& name) {
    auto at = std::lower_bound(GenreList.begin(), GenreList.end(), name, LessIgnoringCase);
    if (at != GenreList.end() && EqualsIgnoreCase(*at, name)) GenreList.erase(at);
}

void TForm1::UpdateGenres() { GenreList = zDataset1->Genres(); }

void TForm1::LoadGenres() {
    QTreeWidgetItem* root = GenresRoot();
    qDeleteAll(root->takeChildren());
    UpdateGenres();
    const QIcon icon = GenreIcon();
    for (const auto& genre : GenreList) {
        auto* node = new QTreeWidgetItem(root, {Q(genre)});
        node->setIcon(0, icon);
    }
    root->setExpanded(true);
    CreateFolders(true);
    ShowGenreCount();
}

void TForm1::LoadFavorites() {
    QTreeWidgetItem* root = FavouritesRoot();
    const QIcon icon = FavoritesIcon();
    for (const auto& group : ReadList(setting::kFavorites)) {
        if (FavoriteTreeExists(Q(group))) continue;
        auto* node = new QTreeWidgetItem(root, {Q(group)});
        node->setIcon(0, icon);
    }
    root->setExpanded(true);
}

bool TForm1::FavoriteTreeExists(const QString& name) const {
    QTreeWidgetItem* root = FavouritesRoot();
    for (int i = 0; i < root->childCount(); ++i)
        if (root->child(i)->text(0) == name) return true;
    return false;
}

bool TForm1::GenreExists(const std::string& name) { return zDataset1->GenreExists(name); }

void TForm1::DeleteTreeGenre(const QString& name) {
    QTreeWidgetItem* root = GenresRoot();
    for (int i = 0; i < root->childCount(); ++i) {
        if (root->child(i)->text(0) == name) {
            delete root->takeChild(i);
            return;
        }
    }
}

void TForm1::DeleteTreeFavorite(const QString& name) {
    QTreeWidgetItem* root = FavouritesRoot();
    for (int i = 0; i < root->childCount(); ++i) {
        if (root->child(i)->text(0) == name) {
            delete root->takeChild(i);
            UpdateGenres();
            return;
        }
    }
}

bool TForm1::DataSetGoto(std::int32_t id) { return zDataset1->DataSetGoto(id); }

void TForm1::PopulateStationsTree(const QString& genre) {
    BrowseList->clear();
    if (BrowseList->columnCount() == 3) BrowseList->setColumnCount(2);
    const std::string wanted = genre.toStdString();
    zDataset1->ForEachStation([&](const StationRecord& station) {
        if (station.Genre != wanted) return;
        auto* row = new TNetListItem(BrowseList, {Q(station.Title), BitRateText(station.BitRate)});
        row->URL = station.URL;
        row->StationID = station.ID;
    });
    zDataset1->Dataset().First();
}

void TForm1::PopulateFavoritesTree(const QString& group) {
    BrowseList->clear();
    if (BrowseList->columnCount() == 2) {
        BrowseList->setColumnCount(3);
        BrowseList->headerItem()->setText(2, QStringLiteral("Genre"));
        BrowseList->setColumnWidth(1, BrowseList->width() - 250 - 120 - 4);
        BrowseList->setColumnWidth(2, 120);
    }
    for (const auto& line : ReadList(group.toStdString())) {
        bool ok = false;
        std::int32_t id = QString::fromStdString(line).trimmed().toInt(&ok);
        if (!ok || !DataSetGoto(id)) continue;  // a deleted station shows no row
        StationRecord station = zDataset1->CurrentStation();
        auto* row = new TNetListItem(
            BrowseList, {Q(station.Title), BitRateText(station.BitRate), Q(station.Genre)});
        row->URL = station.URL;
        row->StationID = station.ID;
    }
}

void TForm1::TeTreeView1Change(QTreeWidgetItem* node) {
    if (!node || !node->parent()) return;  // a root keeps the list as it was
    const QString parent = node->parent()->text(0);
    if (parent == QLatin1String(kGenresRoot)) {
        menus.deleteFavorite->setVisible(false);
        menus.addToFavorites->setVisible(true);
        PopulateStationsTree(node->text(0));
        ShowGenresButtons();
    } else if (parent == QLatin1String(kFavouritesRoot)) {
        menus.deleteFavorite->setVisible(true);
        menus.addToFavorites->setVisible(false);
        PopulateFavoritesTree(node->text(0));
        ShowFavoritesButtons();
    }
}

}  // namespace wt::ui
