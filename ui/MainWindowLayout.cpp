// The main window's widgets and their places: a fixed 752 x 563 client area with the browse
// tree on the left, the advertisement strip and the Statistics and Manage groups on the right,
// and the Browse / Downloading pages across the bottom.
#include "AdvertStrip.h"
#include "CommandIcons.h"
#include "GridDelegate.h"
#include "DownloadSweeps.h"
#include "MainWindow.h"
#include "ScrollingLabel.h"

#include <QAction>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSizePolicy>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

namespace wt::ui {

namespace {

constexpr int kTreeWidth = 225;
constexpr int kTreeHeight = 342;
constexpr int kRightLeft = 227;
constexpr int kRightWidth = 525;
constexpr int kAdvertHeight = 62;
constexpr int kGroupsTop = 68;
constexpr int kGroupsHeight = 272;
constexpr int kStatisticsWidth = 291;
constexpr int kManageWidth = 219;
constexpr int kPagesHeight = 221;
constexpr int kManageButtonWidth = 197;
constexpr int kButtonHeight = 25;
constexpr int kBarButtonWidth = 29;

QFont BoldPixelFont(const QFont& base, int pixels, const QString& family = {}) {
    QFont font = base;
    if (!family.isEmpty()) font.setFamilies({family, QStringLiteral("DejaVu Sans")});
    font.setPixelSize(pixels);
    font.setBold(true);
    return font;
}

QTreeWidget* NewReportList(QWidget* parent, const QStringList& columns) {
    auto* list = new QTreeWidget(parent);
    list->setColumnCount(columns.size());
    list->setHeaderLabels(columns);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setItemDelegate(new GridDelegate(list));
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    list->header()->setStretchLastSection(true);
    list->header()->setSectionsMovable(false);
    QFont font = list->font();
    font.setBold(true);
    list->setFont(font);
    return list;
}

}  // namespace

void TForm1::BuildLayout() {
    setWindowTitle(QString::fromLatin1(kWindowCaption));
    setWindowIcon(ProgramIcon());
    auto* central = new QWidget(this);
    central->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(central);
    setFixedSize(kClientWidth, kClientHeight);
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);

    BuildTree(central);
    BuildAdvertAndGroups(central);
    BuildPages(central);
    BuildMenusAndTray();

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    Timer2 = new QTimer(this);
    Timer2->setInterval(kNowPlayingTickMs);
    Timer3 = new QTimer(this);
    Timer3->setInterval(1000);
    connect(Timer2, &QTimer::timeout, this, &TForm1::Timer2Timer);
}

void TForm1::BuildTree(QWidget* central) {
    TeTreeView1 = new QTreeWidget(central);
    TeTreeView1->setGeometry(0, 0, kTreeWidth, kTreeHeight);
    TeTreeView1->setHeaderHidden(true);
    TeTreeView1->setAccessibleName(QStringLiteral("Genres and favourites"));
    TeTreeView1->setIndentation(27);
    TeTreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TeTreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
    TeTreeView1->setIconSize(QSize(16, 16));
    QFont font = TeTreeView1->font();
    font.setPixelSize(13);
    TeTreeView1->setFont(font);
    // The selection stays visible when the tree loses focus.
    QPalette palette = TeTreeView1->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    TeTreeView1->setPalette(palette);

    auto* genres = new QTreeWidgetItem(TeTreeView1, {QString::fromLatin1(kGenresRoot)});
    genres->setIcon(0, GenreIcon());
    auto* favourites = new QTreeWidgetItem(TeTreeView1, {QString::fromLatin1(kFavouritesRoot)});
    favourites->setIcon(0, FavoritesIcon());
}

void TForm1::BuildAdvertAndGroups(QWidget* central) {
    WebBrowser1 = new AdvertStrip(central);
    WebBrowser1->setGeometry(kRightLeft, 0, kRightWidth, kAdvertHeight);
    WebBrowser1->setFrameShape(QFrame::StyledPanel);

    TeGroupBox2 = new QGroupBox(QStringLiteral("Statistics"), central);
    TeGroupBox2->setGeometry(kRightLeft, kGroupsTop, kStatisticsWidth, kGroupsHeight);
    const QFont statsFont = BoldPixelFont(font(), 11, QStringLiteral("Verdana"));
    int y = 26;
    auto addRow = [&](const QString& caption, QLabel** value, bool visible = true) {
        auto* label = new QLabel(caption, TeGroupBox2);
        label->setFont(statsFont);
        label->setGeometry(14, y, 170, 18);
        *value = new QLabel(QStringLiteral("0"), TeGroupBox2);
        (*value)->setFont(statsFont);
        (*value)->setGeometry(190, y, 90, 18);
        label->setVisible(visible);
        (*value)->setVisible(visible);
        if (visible) y += 30;
    };
    addRow(QStringLiteral("Total Ripped Songs:"), &lTotalRippedSongs);
    // The wished-songs row lies under the genres row and is hidden.
    int wishedRowY = y + 30;
    addRow(QStringLiteral("Total Genres:"), &lTotalGenres);
    {
        int saved = y;
        y = wishedRowY;
        addRow(QStringLiteral("Total Ripped Wished Songs:"), &lTotalRippedWishedSongs, false);
        y = saved;
    }
    addRow(QStringLiteral("Total Wishes:"), &lTotalWishes);
    addRow(QStringLiteral("Total Radio Stations:"), &lTotalRadioStations);
    addRow(QStringLiteral("Total Favorites:"), &lTotalFavorites);
    auto* nowCaption = new QLabel(QStringLiteral("Now Playing:"), TeGroupBox2);
    nowCaption->setFont(statsFont);
    nowCaption->setGeometry(14, y, 100, 18);
    nowPlayingStrip_ = new QWidget(TeGroupBox2);
    nowPlayingStrip_->setGeometry(100, y - 4, 177, 25);
    // The label moves a pixel every 10 ms: an opaque strip keeps each move's repaint inside
    // the strip instead of the whole group behind it.
    nowPlayingStrip_->setAutoFillBackground(true);
    lNowPlaying = new ScrollingLabel(QString::fromLatin1(kNoStationSelected), nowPlayingStrip_);
    lNowPlaying->setFont(BoldPixelFont(font(), 11));
    lNowPlaying->adjustSize();
    lNowPlaying->move(0, (25 - lNowPlaying->height()) / 2);

    TeGroupBox1 = new QGroupBox(QStringLiteral("Manage"), central);
    TeGroupBox1->setGeometry(kClientWidth - kManageWidth - 2, kGroupsTop, kManageWidth,
                             kGroupsHeight);
    int buttonY = 24;
    auto addButton = [&](const QString& caption) {
        auto* button = new QPushButton(caption, TeGroupBox1);
        button->setAccessibleName(caption);
        button->setGeometry((kManageWidth - kManageButtonWidth) / 2, buttonY, kManageButtonWidth,
                            kButtonHeight);
        buttonY += kButtonHeight + 2;
        return button;
    };
    manage.manageGenres = addButton(QStringLiteral("Manage Genres"));
    manage.updateRadioStations = addButton(QStringLiteral("Update Radio Stations"));
    manage.findStations = addButton(QStringLiteral("Find Stations"));
    manage.setOutputFolder = addButton(QStringLiteral("Set Output Folder"));
    manage.about = addButton(QStringLiteral("About"));
    manage.help = addButton(QStringLiteral("Help"));
    manage.updateConfiguration = addButton(QStringLiteral("Update Configuration"));
    manage.manageWishList = addButton(QStringLiteral("Manage Wish List"));
    manage.scheduleRecordings = addButton(QStringLiteral("Schedule Recordings"));
    manage.scheduleRecordings->hide();
    manage.updateConfiguration->hide();
    manage.manageWishList->hide();
    manage.findStations->hide();
}

void TForm1::BuildPages(QWidget* central) {
    TeSPageControl1 = new QTabWidget(central);
    TeSPageControl1->setGeometry(0, kClientHeight - kPagesHeight, kClientWidth, kPagesHeight);
    auto* browse = new QWidget;
    auto* downloading = new QWidget;
    TeSPageControl1->addTab(browse, QStringLiteral("Browse"));
    TeSPageControl1->addTab(downloading, QStringLiteral("Downloading"));
    BuildBrowsePage(browse);
    BuildDownloadPage(downloading);
}

QToolBar* TForm1::NewToolBar(QWidget* parent) {
    auto* bar = new QToolBar(parent);
    bar->setIconSize(QSize(20, 20));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setContentsMargins(0, 0, 0, 0);
    return bar;
}

QAction* TForm1::AddBarButton(QToolBar* bar, int image, const QString& hint) {
    QAction* action = bar->addAction(CommandIcon(static_cast<CommandImage>(image)), hint);
    action->setToolTip(hint);
    if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action))) {
        button->setFixedSize(kBarButtonWidth, kButtonHeight);
        button->setAutoRaise(true);
        button->setAccessibleName(hint);
    }
    return action;
}

void TForm1::AddBanner(QToolBar* bar) {
    auto* banner = new QLabel(QString::fromLatin1(kBannerCaption), bar);
    QFont font = banner->font();
    font.setBold(true);
    banner->setFont(font);
    banner->setCursor(Qt::PointingHandCursor);
    banner->setStyleSheet(QStringLiteral("color: #1a4fa0;"));
    banner->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    banner->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    banner->setContentsMargins(0, 0, 8, 0);
    banner->setObjectName(QStringLiteral("banner"));
    banner->installEventFilter(this);
    bar->addWidget(banner);
}

void TForm1::BuildBrowsePage(QWidget* page) {
    BrowseBar = NewToolBar(page);
    auto& b = browseBar;
    b.addToFavorites = AddBarButton(BrowseBar, 0, QStringLiteral("Add to Favorites"));
    b.dividerAfterAdd = BrowseBar->addSeparator();
    b.download = AddBarButton(BrowseBar, 1, QStringLiteral("Download this station"));
    b.downloadAll = AddBarButton(BrowseBar, 7, QStringLiteral("Download all"));
    b.deleteStation = AddBarButton(BrowseBar, 2, QStringLiteral("Delete the station"));
    b.deleteAll = AddBarButton(BrowseBar, 3, QStringLiteral("Delete all"));
    b.deleteFavorite = AddBarButton(BrowseBar, 2, QStringLiteral("Delete this favorite"));
    b.deleteFavoriteGroup =
        AddBarButton(BrowseBar, 3, QStringLiteral("Delete entire favorite's group"));
    b.dividerBeforePlay = BrowseBar->addSeparator();
    b.play = AddBarButton(BrowseBar, 5, QStringLiteral("Play current station"));
    b.stopPlaying = AddBarButton(BrowseBar, 4, QStringLiteral("Stop playing"));
    b.dividerAfterStop = BrowseBar->addSeparator();
    AddBanner(BrowseBar);

    BrowseList = NewReportList(page, {QStringLiteral("Radio Station"), QStringLiteral("BitRate")});
    BrowseList->setColumnWidth(0, 250);
    BrowseList->setAccessibleName(QStringLiteral("Stations"));

    const int barHeight = kButtonHeight + 4;
    BrowseBar->setGeometry(0, 0, kClientWidth - 4, barHeight);
    BrowseList->setGeometry(0, barHeight, kClientWidth - 4, kPagesHeight - barHeight - 26);
}

void TForm1::BuildDownloadPage(QWidget* page) {
    TeToolBar2 = NewToolBar(page);
    auto& d = downloadBar;
    d.stopRipping = AddBarButton(TeToolBar2, 2, QStringLiteral("Stop ripping"));
    d.stopAll = AddBarButton(TeToolBar2, 3, QStringLiteral("Stop all stations"));
    d.openFolder = AddBarButton(TeToolBar2, 6, QStringLiteral("Open containing folder"));
    TeToolBar2->addSeparator();
    d.preview = AddBarButton(TeToolBar2, 5, QStringLiteral("Preview this song"));
    d.stopPlaying = AddBarButton(TeToolBar2, 4, QStringLiteral("Stop playing"));
    AddBanner(TeToolBar2);

    TeListView1 = NewReportList(
        page, {QStringLiteral("Radio Station"), QStringLiteral("BitRate"), QStringLiteral("Status"),
               QStringLiteral("Ripped"), QStringLiteral("Song Name"),
               QStringLiteral("Downloaded")});
    TeListView1->setAccessibleName(QStringLiteral("Rips"));
    // Wide enough for "Reconnecting..." and for a scheduled rip's "Ripping · Scheduled until
    // HH:MM"; longer texts show whole in a tooltip.
    const int widths[] = {165, 55, 240, 50, 150, 85};
    for (int i = 0; i < 6; ++i) TeListView1->setColumnWidth(i, widths[i]);

    const int barHeight = kButtonHeight + 4;
    TeToolBar2->setGeometry(0, 0, kClientWidth - 4, barHeight);
    TeListView1->setGeometry(0, barHeight, kClientWidth - 4, kPagesHeight - barHeight - 26);
}

void TForm1::BuildMenusAndTray() {
    auto icon = [](int image) { return CommandIcon(static_cast<CommandImage>(image)); };
    BrowseMenu = new QMenu(this);
    menus.download = BrowseMenu->addAction(icon(1), QStringLiteral("Download"));
    menus.addToFavorites = BrowseMenu->addAction(icon(0), QStringLiteral("Add to Favorites"));
    menus.deleteFavorite = BrowseMenu->addAction(icon(2), QStringLiteral("Delete Favorite"));
    menus.play = BrowseMenu->addAction(icon(5), QStringLiteral("Play"));
    menus.scheduleStation = BrowseMenu->addAction(QStringLiteral("Schedule recording..."));
    menus.scheduleStation->setVisible(false);
    menus.stationsDivider = BrowseMenu->addSeparator();
    menus.findStations = BrowseMenu->addAction(QStringLiteral("Find Stations..."));
    menus.importStations = BrowseMenu->addAction(QStringLiteral("Import Stations..."));
    // Shown once the program has given them their work.
    for (QAction* action : {menus.stationsDivider, menus.findStations, menus.importStations})
        action->setVisible(false);
    menus.deleteFavorite->setVisible(false);
    connect(BrowseList, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { BrowseMenu->popup(BrowseList->viewport()->mapToGlobal(at)); });

    TePopupMenu2 = new QMenu(this);
    menus.stopRipping = TePopupMenu2->addAction(icon(2), QStringLiteral("Stop Ripping"));
    menus.previewSong = TePopupMenu2->addAction(icon(5), QStringLiteral("Preview This Song"));
    menus.openFolder = TePopupMenu2->addAction(icon(6), QStringLiteral("Open Folder"));
    connect(TeListView1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        TePopupMenu2->popup(TeListView1->viewport()->mapToGlobal(at));
    });

    TrayMenu = new QMenu(this);
    menus.cancelAllRips = TrayMenu->addAction(icon(3), QStringLiteral("Cancel All Rips"));
    menus.trayStopPlaying = TrayMenu->addAction(icon(4), QStringLiteral("Stop Playing"));
    TrayMenu->addSeparator();
    menus.restore = TrayMenu->addAction(icon(8), QStringLiteral("Restore"));
    menus.exit = TrayMenu->addAction(icon(9), QStringLiteral("Exit"));

    Tray = new QSystemTrayIcon(ProgramIcon(), this);
    Tray->setToolTip(QString::fromLatin1(kWindowCaption));
    Tray->setContextMenu(TrayMenu);
    connect(Tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
        if (why == QSystemTrayIcon::Trigger || why == QSystemTrayIcon::DoubleClick) CustomItem3Click();
    });
}

}  // namespace wt::ui
