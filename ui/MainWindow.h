#pragma once
// The main window: the browse tree, the Browse and Downloading lists with their toolbars and
// menus, the Manage and Statistics groups, the advertisement strip, the tray icon. It is the
// controller of the program: it owns the settings store, the catalogue and the ripping manager
// and runs every command on the GUI thread.
#include "UserDialogs.h"

#include <QMainWindow>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

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

    explicit TForm1(UserDialogs& dialogs, QWidget* parent = nullptr);
    ~TForm1() override;

    // --- outward links ---------------------------------------------------------------------
    // Opens a URL or a folder with the desktop's default handler (tests replace it).
    void SetOpener(std::function<void(const QUrl&)> opener);
    void SetAdvertSite(const QString& baseUrl) { advertSite_ = baseUrl; }
    void SetProductSite(const QString& baseUrl) { productSite_ = baseUrl; }
    // The folder that holds the help page.
    void SetProgramFolder(const QString& folder) { programFolder_ = folder; }
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
    } manage{};

signals:
    // The window has been asked to go to the tray (tests watch it on platforms without a tray).
    void SentToTray();

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

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

    UserDialogs& dialogs_;
    CommandHooks hooks_;
    std::function<void(const QUrl&)> opener_;
    QString advertSite_;
    QString productSite_;
    QString programFolder_;
    QWidget* nowPlayingStrip_ = nullptr;
};

}  // namespace wt::ui
