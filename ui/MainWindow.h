#pragma once
// The main window: the browse tree, the Browse and Downloading lists with their toolbars and
// menus, the Manage and Statistics groups, the advertisement strip, the tray icon. It is the
// controller of the program: it owns the settings store, the catalogue and the ripping manager
// and runs every command on the GUI thread.
#include "UpdateChecks.h"
#include "UserDialogs.h"

#include "catalogue/StationCatalogue.h"
#include "engine/NetRadio.h"
#include "wishes/WishInfo.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"
#include "settings/zIniData.h"

#include <QMainWindow>
#include <QSet>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QSystemTrayIcon;
class QTabWidget;
class QTimer;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace wt::ui {

class AdvertStrip;
class TNetListItem;

// Commands whose dialogs or work live with other parts of the program. An empty hook does
// nothing; the window still reloads the advertisement first where its rule says so.
struct CommandHooks {
    std::function<void()> addToFavorites;         // "Add to Favorites"
    std::function<void()> deleteStation;          // "Delete the station"
    std::function<void()> deleteAll;              // "Delete all"
    std::function<void()> deleteFavorite;         // "Delete this favorite" / "Delete Favorite"
    std::function<void()> deleteFavoriteGroup;    // "Delete entire favorite's group"
    std::function<void()> setOutputFolder;        // "Set Output Folder"
    std::function<void()> manageGenres;           // "Manage Genres"
    std::function<void()> updateRadioStations;    // "Update Radio Stations"
    // The two buttons below show only when their hook is set.
    std::function<void()> updateConfiguration;    // "Update Configuration"
    std::function<void()> manageWishList;         // "Manage Wish List"
    // Stations from the open directory and from station list files; shown when set.
    std::function<void()> findStations;           // "Find Stations"
    std::function<void(const QString& path)> importStations;  // "Import Stations...", a dropped file
    // Scheduled recordings: the list, and a new schedule for the selected station; shown when set.
    std::function<void()> scheduleRecordings;     // "Schedule Recordings"
    std::function<void()> scheduleStation;        // "Schedule recording..."
    // Start-up runs this for every stored wish, in order (the manager's AddWish).
    std::function<void(const std::string& wish)> startWish;
};

// The window's texts that other parts of the program compare against.
inline constexpr const char* kWindowCaption = "Wavetrap (Beta  Release)";
inline constexpr const char* kNoStationSelected = "No Radio Station Selected...";
inline constexpr const char* kGenresRoot = "Genres";
inline constexpr const char* kFavouritesRoot = "Favourites";
inline constexpr const char* kBannerCaption = "Free Unlimited Software, PC Games and Music";

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 752;
    static constexpr int kClientHeight = 563;

    // Opens the settings store "cfg.dat" in folders.config, as the window's stored properties
    // load; FormCreate does the rest (the catalogue in folders.data).
    TForm1(UserDialogs& dialogs, const ProgramFolders& folders, QWidget* parent = nullptr);
    // Every file in programFolder (which ends in '/').
    TForm1(UserDialogs& dialogs, const std::string& programFolder, QWidget* parent = nullptr);
    ~TForm1() override;

    // --- start-up and shutdown --------------------------------------------------------------
    void SetUpdateChecks(std::unique_ptr<UpdateChecks> checks);
    UpdateChecks& Updates() { return *updates_; }
    // The creation handler: false when a step failed (its message has been shown and the
    // program is ending).
    bool FormCreate();
    // The first activation (runs once; later calls do nothing).
    void FormActivate();
    // Chooses and creates the output folder tree; see the Set Output Folder command too.
    void CreateFolders(bool onlyIfMissing);
    // The close question and the releases; true when the window may close.
    bool FormCloseQuery();
    // Set once the program has been told to end without the close question.
    bool Terminating() const { return terminating_; }

    const ProgramFolders& Folders() const { return folders_; }
    // The rip folder of a genre: WorkingPath + the genre as a folder name + '/'.
    std::string GenreFolder(const std::string& genre) const;

    // --- window-level state ---------------------------------------------------------------------
    std::unique_ptr<TzIniData> zIniData1;
    std::unique_ptr<StationCatalogue> zDataset1;
    std::string WorkingPath;                 // output folder, ends in '/'
    std::vector<std::string> GenreList;      // sorted, compared ignoring case
    std::unique_ptr<std::vector<std::string>> BlackListEntries;
    std::unique_ptr<std::vector<std::string>> WishList;
    std::unique_ptr<std::vector<std::string>> NewWishes;

    // --- browse tree -----------------------------------------------------------------------------
    void LoadGenres();
    void UpdateGenres();
    void LoadFavorites();
    bool FavoriteTreeExists(const QString& name) const;
    bool GenreExists(const std::string& name);
    void DeleteTreeGenre(const QString& name);
    void DeleteTreeFavorite(const QString& name);
    // Moves the catalogue to the station; false (cursor past the end) when there is none.
    bool DataSetGoto(std::int32_t id);
    void PopulateStationsTree(const QString& genre);
    void PopulateFavoritesTree(const QString& group);
    void TeTreeView1Change(QTreeWidgetItem* node);
    // Whether GenreList holds the name, ignoring case.
    bool GenreListContains(const std::string& name) const;
    // Removes the name from GenreList (ignoring case); the genre count is not refreshed here.
    void GenreListRemove(const std::string& name);

    // --- Downloading list ----------------------------------------------------------------------
    // The first row whose ChannelID is id, or none.
    TNetListItem* GetListItem(std::int32_t id) const;
    // Whether some row's caption is exactly caption.
    bool ContainsTitle(const QString& caption) const;
    // The selected rows (not merely the current one), in list order; the first of them.
    std::vector<TNetListItem*> SelectedBrowseRows() const;
    std::vector<TNetListItem*> SelectedDownloadRows() const;
    TNetListItem* SelectedBrowseRow() const;
    TNetListItem* SelectedDownloadRow() const;
    // What the manager's notifications do to a row, by channel id.
    void ShowRipStatus(std::int32_t id, const std::string& status);
    // A new title from rip channel id, whose song count is songCount.
    void ShowRipSong(std::int32_t id, int songCount, bool wishChannel, const std::string& title);
    void ShowRipProgress(std::int32_t id, std::int32_t kb);
    void Timer1Timer();
    void Timer3Timer();

    // --- ripping commands and the manager's events ---------------------------------------------
    std::unique_ptr<TNetRadio> Radio;  // the ripping manager, from window creation to the close
    QString PlayingStation;            // caption of the Browse row last played
    void CustomItem1Click();       // Download
    void TeSpeedButton14Click();   // Download all
    void TeSpeedButton7Click();    // Play
    void TeSpeedButton8Click();    // Stop playing
    void TeSpeedButton9Click();    // Stop ripping
    void TeSpeedButton13Click();   // Stop all
    void TeSpeedButton10Click();   // Open folder
    void TeSpeedButton11Click();   // Preview
    void Radio_OnStatus(TNetRadioChannel* sender, const std::string& status);
    void Radio_OnNewSong(TNetRadioChannel* sender, const std::string& title);
    void Radio_OnProgress(std::int32_t id, std::int32_t kb);
    // A channel's end: its rows let go of it and of its id.
    void Radio_ChannelTerminating(TNetRadioChannel* channel);
    // An error thrown while the window handled a notification: shown once the hand-off has
    // returned, so the worker never waits on the box; one box per distinct text at a time.
    void ReportHandlerError(const std::string& message);
    // A wish search's hit: a "Wish List" row ripping the station for the wish list.
    void Radio_WishFound(const TWishInfo& info);
    // The millisecond tick count rows start at and the silent-row sweep compares with.
    void SetClock(const Clock* clock) { clock_ = clock; }

    // --- statistics ------------------------------------------------------------------------------
    void LoadStatistics();
    void zDataset1AfterPost();
    void ShowGenreCount();
    void ShowWishCount();
    void ShowFavoriteCount();

    // --- outward links ---------------------------------------------------------------------
    // Opens a URL or a folder with the desktop's default handler (tests replace it).
    void SetOpener(std::function<void(const QUrl&)> opener);
    // The sites' addresses from their settings (SiteSettings.h), without a trailing '/'.
    QString AdvertSite();
    QString ProductSite();
    // The folder that holds the help page.
    CommandHooks& Hooks() { return hooks_; }
    // Shows the two optional Manage buttons whose hooks are set.
    void ApplyHooks();
    UserDialogs& Dialogs() { return dialogs_; }

    // --- advertisement and help (outward links) -------------------------------------------
    void ReloadAdvert();
    void Label1Click();       // a banner label
    void TeButton7Click();    // "Help"
    void TeButton6Click();    // "About"

    // --- tree ------------------------------------------------------------------------------
    QTreeWidgetItem* GenresRoot() const;
    QTreeWidgetItem* FavouritesRoot() const;
    void ShowGenresButtons();
    void ShowFavoritesButtons();

    // --- Now Playing -------------------------------------------------------------------------
    void SetNowPlaying(const QString& text);
    void Timer2Timer();

    // --- tray ----------------------------------------------------------------------------------
    void TeForm1Minimize();
    void CustomItem3Click();  // Restore
    void CustomItem4Click();  // Exit

    // --- widgets (for the commands of the other parts and for tests) --------------------------
    QTreeWidget* TeTreeView1 = nullptr;   // browse tree
    QTreeWidget* BrowseList = nullptr;    // the Browse list
    QTreeWidget* TeListView1 = nullptr;   // the Downloading list
    QTabWidget* TeSPageControl1 = nullptr;
    AdvertStrip* WebBrowser1 = nullptr;
    QToolBar* BrowseBar = nullptr;
    QToolBar* TeToolBar2 = nullptr;       // Downloading toolbar
    QMenu* BrowseMenu = nullptr;
    QMenu* TePopupMenu2 = nullptr;        // Downloading menu
    QMenu* TrayMenu = nullptr;
    QSystemTrayIcon* Tray = nullptr;
    QGroupBox* TeGroupBox1 = nullptr;     // Manage
    QGroupBox* TeGroupBox2 = nullptr;     // Statistics
    QLabel* lTotalRippedSongs = nullptr;
    QLabel* lTotalRippedWishedSongs = nullptr;
    QLabel* lTotalGenres = nullptr;
    QLabel* lTotalWishes = nullptr;
    QLabel* lTotalRadioStations = nullptr;
    QLabel* lTotalFavorites = nullptr;
    QLabel* lNowPlaying = nullptr;
    QTimer* Timer1 = nullptr;  // finished rows
    QTimer* Timer2 = nullptr;  // Now Playing label
    QTimer* Timer3 = nullptr;  // silent rows

    // Browse toolbar elements, in bar order.
    struct BrowseBarActions {
        QAction* addToFavorites;
        QAction* dividerAfterAdd;
        QAction* download;
        QAction* downloadAll;
        QAction* deleteStation;
        QAction* deleteAll;
        QAction* deleteFavorite;
        QAction* deleteFavoriteGroup;
        QAction* dividerBeforePlay;
        QAction* play;
        QAction* stopPlaying;
        QAction* dividerAfterStop;
    } browseBar{};
    struct DownloadBarActions {
        QAction* stopRipping;
        QAction* stopAll;
        QAction* openFolder;
        QAction* preview;
        QAction* stopPlaying;
    } downloadBar{};
    struct MenuActions {
        QAction* download;
        QAction* addToFavorites;
        QAction* deleteFavorite;
        QAction* play;
        QAction* stationsDivider;
        QAction* findStations;
        QAction* importStations;
        QAction* scheduleStation;
        QAction* stopRipping;
        QAction* previewSong;
        QAction* openFolder;
        QAction* cancelAllRips;
        QAction* trayStopPlaying;
        QAction* restore;
        QAction* exit;
    } menus{};
    struct ManageButtons {
        QPushButton* manageGenres;
        QPushButton* updateRadioStations;
        QPushButton* setOutputFolder;
        QPushButton* about;
        QPushButton* help;
        QPushButton* updateConfiguration;
        QPushButton* manageWishList;
        QPushButton* findStations;
        QPushButton* scheduleRecordings;
    } manage{};

signals:
    // The window has been asked to go to the tray (tests watch it on platforms without a tray).
    void SentToTray();
    // The program must end without the close question (a failed start, a cancelled first
    // folder choice); the program entry quits the event loop.
    void TerminateRequested();

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A station list file dropped on the window is imported.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildLayout();
    void BuildTree(QWidget* central);
    void BuildAdvertAndGroups(QWidget* central);
    void BuildPages(QWidget* central);
    void BuildBrowsePage(QWidget* page);
    void BuildDownloadPage(QWidget* page);
    void BuildMenusAndTray();
    QToolBar* NewToolBar(QWidget* parent);
    QAction* AddBarButton(QToolBar* bar, int image, const QString& hint);
    void AddBanner(QToolBar* bar);
    // Runs hook after reloading the advertisement.
    void RunHookCommand(const std::function<void()>& hook);
    void OpenUrl(const QUrl& url);

    void RequestTerminate();
    // "Import Stations...": a file chosen, then imported.
    void ImportStationsCommand();
    // Releases what the close question releases; failures go to reporter when there is one.
    void ReleaseAll(UserDialogs* reporter);
    // Adds the Downloading row of a Browse row and starts its rip; false when the manager
    // refused it (the rip limit, already shown).
    bool AddRipRow(TNetListItem* browseRow);

public:
    // Adds a Downloading row and starts its rip into folder; nullptr and the manager's reason
    // in error when it refused (the row is then swept away).
    TNetListItem* AddRipRow(const QString& caption, const QString& bitRate, const std::string& url,
                            std::int32_t stationId, const std::string& folder, std::string& error);

private:
    void ConnectRipCommands();
    std::unique_ptr<Dispatcher> ripDispatcher_;
    void CreateManager();
    void ReleaseManager();
    // The manager's StopRip for the row's channel id; the row's channel's own stop request.
    void StopRipOf(TNetListItem* row);
    void TerminateRipOf(TNetListItem* row);
    // The lines of a list setting.
    std::vector<std::string> ReadList(const std::string& name);

    void AddToRippedCount(const char* setting, QLabel* label);

    UserDialogs& dialogs_;
    const Clock* clock_ = &SystemClock::Instance();
    ProgramFolders folders_;
    std::unique_ptr<UpdateChecks> updates_;
    bool activated_ = false;
    bool terminating_ = false;
    bool released_ = false;
    CommandHooks hooks_;
    std::function<void(const QUrl&)> opener_;
    QWidget* nowPlayingStrip_ = nullptr;
    QSet<QString> queuedErrors_;
};

}  // namespace wt::ui
