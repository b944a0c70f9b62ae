#include "MainWindow.h"

#include "AboutBox.h"
#include "AdvertStrip.h"
#include "DownloadSweeps.h"
#include "SiteSettings.h"

#include <QAction>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QTreeWidget>
#include <QWindowStateChangeEvent>

namespace wt::ui {

namespace {
constexpr const char* kAdvertPath = "/wt_advert.php";
constexpr const char* kHelpPage = "Help.html";
}  // namespace

TForm1::TForm1(UserDialogs& dialogs, const std::string& programFolder, QWidget* parent)
    : TForm1(dialogs, ProgramFolders::AllIn(programFolder), parent) {}

TForm1::TForm1(UserDialogs& dialogs, const ProgramFolders& folders, QWidget* parent)
    : QMainWindow(parent),
      zIniData1(std::make_unique<TzIniData>("cfg.dat", false, folders.config)),
      zDataset1(std::make_unique<StationCatalogue>(folders.data)),
      dialogs_(dialogs),
      folders_(folders),
      updates_(std::make_unique<NoUpdateChecks>()) {
    opener_ = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    zDataset1->SetAfterChange([this](TzDataset&) { zDataset1AfterPost(); });
    BuildLayout();
    WebBrowser1->SetPageUrl([this] {
        QString site = AdvertSite();
        return site.isEmpty() ? QString() : site + QLatin1String(kAdvertPath);
    });
    WebBrowser1->SetLinkOpener([this](const QUrl& url) { OpenUrl(url); });

    auto onHook = [this](QAction* action, std::function<void()> CommandHooks::*hook) {
        connect(action, &QAction::triggered, this, [this, hook] { RunHookCommand(hooks_.*hook); });
    };
    onHook(browseBar.addToFavorites, &CommandHooks::addToFavorites);
    onHook(menus.addToFavorites, &CommandHooks::addToFavorites);
    onHook(browseBar.deleteStation, &CommandHooks::deleteStation);
    onHook(browseBar.deleteAll, &CommandHooks::deleteAll);
    onHook(browseBar.deleteFavorite, &CommandHooks::deleteFavorite);
    onHook(menus.deleteFavorite, &CommandHooks::deleteFavorite);
    onHook(browseBar.deleteFavoriteGroup, &CommandHooks::deleteFavoriteGroup);
    auto onButton = [this](QPushButton* button, std::function<void()> CommandHooks::*hook) {
        connect(button, &QPushButton::clicked, this, [this, hook] { RunHookCommand(hooks_.*hook); });
    };
    onButton(manage.manageGenres, &CommandHooks::manageGenres);
    onButton(manage.updateRadioStations, &CommandHooks::updateRadioStations);
    onButton(manage.setOutputFolder, &CommandHooks::setOutputFolder);
    onButton(manage.findStations, &CommandHooks::findStations);
    onButton(manage.scheduleRecordings, &CommandHooks::scheduleRecordings);
    onHook(menus.scheduleStation, &CommandHooks::scheduleStation);
    onHook(menus.findStations, &CommandHooks::findStations);
    connect(menus.importStations, &QAction::triggered, this, [this] {
        ReloadAdvert();
        ImportStationsCommand();
    });
    // These two never reload the advertisement.
    connect(manage.updateConfiguration, &QPushButton::clicked, this, [this] {
        if (hooks_.updateConfiguration) hooks_.updateConfiguration();
    });
    connect(manage.manageWishList, &QPushButton::clicked, this, [this] {
        if (hooks_.manageWishList) hooks_.manageWishList();
    });
    connect(manage.about, &QPushButton::clicked, this, &TForm1::TeButton6Click);
    connect(manage.help, &QPushButton::clicked, this, &TForm1::TeButton7Click);
    connect(menus.restore, &QAction::triggered, this, &TForm1::CustomItem3Click);
    connect(menus.exit, &QAction::triggered, this, &TForm1::CustomItem4Click);
    ConnectRipCommands();
    // Mouse, keyboard and programmatic selection all arrive here.
    connect(TeTreeView1, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) { TeTreeView1Change(current); });
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    connect(Timer3, &QTimer::timeout, this, &TForm1::Timer3Timer);
    SetNowPlaying(lNowPlaying->text());  // starts the label's timer when its text is too long
    Timer3->start();
}

void TForm1::SetUpdateChecks(std::unique_ptr<UpdateChecks> checks) {
    updates_ = checks ? std::move(checks) : std::make_unique<NoUpdateChecks>();
}

namespace {
QString SiteSetting(TzIniData& settings, const char* name, const char* fallback) {
    QString site = QString::fromStdString(settings.ReadString(name, fallback));
    while (site.endsWith(QLatin1Char('/'))) site.chop(1);
    return site;
}
}  // namespace

QString TForm1::AdvertSite() { return SiteSetting(*zIniData1, kAdvertSiteSetting, kDefaultAdvertSite); }

QString TForm1::ProductSite() {
    return SiteSetting(*zIniData1, kProductSiteSetting, kDefaultProductSite);
}

void TForm1::SetOpener(std::function<void(const QUrl&)> opener) { opener_ = std::move(opener); }

void TForm1::OpenUrl(const QUrl& url) {
    if (opener_ && !url.isEmpty()) opener_(url);
}

void TForm1::ApplyHooks() {
    manage.updateConfiguration->setVisible(static_cast<bool>(hooks_.updateConfiguration));
    manage.manageWishList->setVisible(static_cast<bool>(hooks_.manageWishList));
    manage.findStations->setVisible(static_cast<bool>(hooks_.findStations));
    menus.findStations->setVisible(static_cast<bool>(hooks_.findStations));
    menus.importStations->setVisible(static_cast<bool>(hooks_.importStations));
    manage.scheduleRecordings->setVisible(static_cast<bool>(hooks_.scheduleRecordings));
    menus.scheduleStation->setVisible(static_cast<bool>(hooks_.scheduleStation));
    menus.stationsDivider->setVisible(hooks_.findStations || hooks_.importStations);
    setAcceptDrops(static_cast<bool>(hooks_.importStations));
}

void TForm1::ImportStationsCommand() {
    if (!hooks_.importStations) return;
    auto path = dialogs_.ChooseFile(this, QStringLiteral("Import Stations"),
                                    QStringLiteral("Station lists (*.m3u *.m3u8 *.pls *.xspf *.json *.csv);;All files (*)"));
    if (path) hooks_.importStations(*path);
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    if (hooks_.importStations && event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
    if (!hooks_.importStations) return;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) hooks_.importStations(url.toLocalFile());
    event->acceptProposedAction();
}

void TForm1::RunHookCommand(const std::function<void()>& hook) {
    ReloadAdvert();
    if (hook) hook();
}

// --- advertisement, help, about -----------------------------------------------------------

void TForm1::ReloadAdvert() { WebBrowser1->Reload(); }

void TForm1::ReportHandlerError(const std::string& message) {
    QString text = QString::fromStdString(message);
    if (queuedErrors_.contains(text)) return;
    queuedErrors_.insert(text);
    QTimer::singleShot(0, this, [this, text] {
        dialogs_.ShowMessage(this, MessageKind::Error, text);
        queuedErrors_.remove(text);
    });
}

void TForm1::Label1Click() {
    QString site = AdvertSite();
    if (!site.isEmpty()) OpenUrl(QUrl(site));
}

void TForm1::TeButton7Click() {
    ReloadAdvert();
    OpenUrl(QUrl::fromLocalFile(
        QDir(QString::fromStdString(folders_.share)).filePath(QLatin1String(kHelpPage))));
}

void TForm1::TeButton6Click() {
    ReloadAdvert();
    auto* about = new TfAbout(this, QUrl(ProductSite()), [this](const QUrl& url) { OpenUrl(url); });
    about->exec();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched->objectName() == QLatin1String("banner") &&
        event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Label1Click();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- tree views -----------------------------------------------------------------------------

QTreeWidgetItem* TForm1::GenresRoot() const { return TeTreeView1->topLevelItem(0); }
QTreeWidgetItem* TForm1::FavouritesRoot() const { return TeTreeView1->topLevelItem(1); }

void TForm1::ShowGenresButtons() {
    browseBar.addToFavorites->setVisible(true);
    browseBar.dividerAfterAdd->setVisible(true);
    browseBar.deleteStation->setVisible(true);
    browseBar.deleteAll->setVisible(true);
    browseBar.dividerAfterStop->setVisible(false);
    browseBar.deleteFavorite->setVisible(false);
    browseBar.deleteFavoriteGroup->setVisible(false);
}

void TForm1::ShowFavoritesButtons() {
    browseBar.addToFavorites->setVisible(false);
    browseBar.dividerAfterAdd->setVisible(false);
    browseBar.deleteStation->setVisible(false);
    browseBar.deleteAll->setVisible(false);
    browseBar.dividerAfterStop->setVisible(true);
    browseBar.deleteFavorite->setVisible(true);
    browseBar.deleteFavoriteGroup->setVisible(true);
}

// --- Now Playing ------------------------------------------------------------------------------

void TForm1::SetNowPlaying(const QString& text) {
    lNowPlaying->setText(text);
    lNowPlaying->adjustSize();
    // Only a text too long for its strip runs; one that fits stands still at the left, so an
    // idle window repaints nothing.
    if (lNowPlaying->width() > nowPlayingStrip_->width()) {
        if (!Timer2->isActive()) Timer2->start();
    } else {
        Timer2->stop();
        lNowPlaying->move(0, lNowPlaying->y());
    }
}

void TForm1::Timer2Timer() {
    if (!isVisible() || isMinimized()) return;  // nobody sees it move: no repaint
    lNowPlaying->move(NextNowPlayingLeft(lNowPlaying->x(), lNowPlaying->width(), kNowPlayingStep),
                      lNowPlaying->y());
}

// --- tray -------------------------------------------------------------------------------------

void TForm1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized)) {
        // Deferred: hiding a window inside its own state change confuses some window managers.
        QTimer::singleShot(0, this, &TForm1::TeForm1Minimize);
    }
}

void TForm1::TeForm1Minimize() {
    emit SentToTray();
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return;  // nowhere to go: stay minimised
    Tray->show();
    hide();
}

void TForm1::CustomItem3Click() {
    show();
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    raise();
    activateWindow();
}

void TForm1::CustomItem4Click() { close(); }

}  // namespace wt::ui
