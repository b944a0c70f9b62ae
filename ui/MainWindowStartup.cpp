// Start-up (the creation handler and the first activation), the output folder tree, and the
// close question with its releases.
#include "MainWindow.h"
#include "settings/SettingNames.h"

#include "platform/FileNames.h"
#include "platform/FileSystem.h"

#include <QCloseEvent>
#include <QLabel>
#include <QTimer>


namespace wt::ui {

namespace {

constexpr const char* kQuitQuestion = "Are you sure you want to quit Wavetrap?";
constexpr const char* kOfferFindStations =
    "Your station catalogue is empty.\rWould you like to find stations in the open radio directory now?";
constexpr const char* kChooseFolderTitle = "Choose Downloads Folder";
constexpr const char* kChooseFolderLabel = "Choose Downloads Folder.";
constexpr const char* kMusicFolder = "/Wavetrap Music/";
constexpr const char* kWishFolder = "Wish List";

QString Count(std::size_t n) { return QString::number(static_cast<qulonglong>(n)); }

}  // namespace

TForm1::~TForm1() {
    // A program told to end (a cancelled first folder choice, a failed start) never asked the
    // close question; release the same things in the same order, silently.
    if (!released_) {
        try {
            ReleaseAll(nullptr);
        } catch (...) {
        }
    }
}

bool TForm1::FormCreate() {
    try {
        ReloadAdvert();
        updates_->NeedWTUpdate();
        BlackListEntries = std::make_unique<std::vector<std::string>>(ReadList(setting::kBlackList));
        WishList = std::make_unique<std::vector<std::string>>(ReadList(setting::kWishes));
        if (zIniData1->ReadString(setting::kDatabaseVersion, "").empty())
            zIniData1->WriteString(setting::kDatabaseVersion, "1");
        zDataset1->Open();
        CreateManager();
        WorkingPath = zIniData1->ReadString(setting::kWorkingPath, "");
        ShowGenresButtons();
        for (const auto& wish : *WishList)
            if (hooks_.startWish) hooks_.startWish(wish);
        NewWishes = std::make_unique<std::vector<std::string>>();
        Timer1->start();
    } catch (const std::exception& error) {
        // The later steps did not run and nothing may use what they would have made: the
        // message is shown and the program ends.
        dialogs_.ShowMessage(this, MessageKind::Error, QString::fromStdString(error.what()));
        RequestTerminate();
        return false;
    }
    return true;
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The first activation runs once the window is on the screen, so its questions have an owner.
    if (!activated_) QTimer::singleShot(0, this, &TForm1::FormActivate);
}

void TForm1::FormActivate() {
    if (activated_ || terminating_) return;
    activated_ = true;
    updates_->FirstActivation();
    const bool firstStart = zIniData1->ReadString(setting::kWorkingPath, "").empty();
    LoadGenres();
    if (terminating_) return;
    LoadFavorites();
    LoadStatistics();
    // A new user with no stations at all is shown where to find some.
    if (firstStart && zDataset1->StationCount() == 0 && hooks_.findStations &&
        dialogs_.AskYesNo(this, MessageKind::Information, QString::fromLatin1(kOfferFindStations)))
        hooks_.findStations();
}

std::string TForm1::GenreFolder(const std::string& genre) const {
    return JoinPath(WorkingPath, SanitizeFileName(genre)) + "/";
}

void TForm1::CreateFolders(bool onlyIfMissing) {
    const bool unset = zIniData1->ReadString(setting::kWorkingPath, "").empty();
    if (!onlyIfMissing || unset) {
        auto picked = dialogs_.ChooseFolder(this, QString::fromLatin1(kChooseFolderTitle),
                                            QString::fromLatin1(kChooseFolderLabel));
        if (picked) {
            WorkingPath = picked->toStdString() + kMusicFolder;
            zIniData1->WriteString(setting::kWorkingPath, WorkingPath);
        } else if (unset) {
            RequestTerminate();
            return;
        }
    }
    // A folder that cannot be made shows when a rip cannot write its first song.
    FileSystem& files = RealFileSystem();
    (void)files.CreateFolders(WorkingPath);
    for (const auto& genre : GenreList) (void)files.CreateFolders(GenreFolder(genre));
    (void)files.CreateFolders(JoinPath(WorkingPath, kWishFolder));
}

void TForm1::RequestTerminate() {
    terminating_ = true;
    emit TerminateRequested();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (terminating_ || released_ || FormCloseQuery()) {
        event->accept();
    } else {
        event->ignore();
    }
}

bool TForm1::FormCloseQuery() {
    if (!dialogs_.AskYesNo(this, MessageKind::Confirmation, QString::fromLatin1(kQuitQuestion)))
        return false;
    try {
        updates_->Disconnect();
    } catch (...) {
        // The check's connection may already be gone.
    }
    ReleaseAll(&dialogs_);
    return true;
}

void TForm1::ReleaseAll(UserDialogs* reporter) {
    released_ = true;
    Timer1->stop();
    Timer3->stop();
    auto step = [&](const char* failure, const std::function<void()>& release) {
        try {
            release();
        } catch (...) {
            if (reporter)
                reporter->ShowMessage(this, MessageKind::Error, QString::fromLatin1(failure),
                                      QStringLiteral("Error"));
        }
    };
    step("An error occured while freeing temp wishes", [&] { NewWishes.reset(); });
    step("An error occured while freeing main engine", [&] { ReleaseManager(); });
    step("An error occured while freeing database engine", [&] { zDataset1->Close(); });
    step("An error occured while freeing genres", [&] { GenreList.clear(); });
    step("An error occured while freeing internal black list", [&] { BlackListEntries.reset(); });
}

// --- statistics ----------------------------------------------------------------------------

void TForm1::LoadStatistics() {
    lTotalRippedSongs->setText(QString::number(zIniData1->ReadInteger(setting::kRippedSongs, 0)));
    lTotalRippedWishedSongs->setText(
        QString::number(zIniData1->ReadInteger(setting::kRippedWishedSongs, 0)));
    ShowGenreCount();
    ShowWishCount();
    zDataset1AfterPost();
    ShowFavoriteCount();
}

void TForm1::zDataset1AfterPost() {
    lTotalRadioStations->setText(QString::number(zDataset1->StationCount()));
}

void TForm1::ShowGenreCount() { lTotalGenres->setText(Count(GenreList.size())); }

void TForm1::ShowWishCount() { lTotalWishes->setText(Count(WishList ? WishList->size() : 0)); }

void TForm1::ShowFavoriteCount() { lTotalFavorites->setText(Count(ReadList(setting::kFavorites).size())); }

}  // namespace wt::ui
