#include "UpdateController.h"

#include "UpdateConfig.h"
#include "net/HttpClient.h"
#include "net/PumpedCall.h"

#include <QApplication>
#include <QDesktopServices>
#include <QTimer>
#include <QUrl>

namespace wt {

namespace {
constexpr int kProgramCheckDelayMs = 250;
}  // namespace

UpdateController::UpdateController(QWidget* window, TzIniData& settings, StationCatalogue& catalogue,
                                     net::HttpClient& http, std::string programFolder,
                                     BlackListSource blackList, std::function<void()> loadGenres,
                                     UpdaterOptions options)
    : QObject(window),
      window_(window),
      settings_(settings),
      blackList_(blackList),
      http_(http),
      loadGenres_(std::move(loadGenres)),
      progress_(window),
      updater_(settings, catalogue, http, *this, std::move(programFolder), blackList, options),
      dialogs_(&ui::QtDialogs()),
      openUrl_([](const QString& url) { QDesktopServices::openUrl(QUrl(url)); }) {
    // The merge's progress window: one bar advancing by one per station, double gradient.
    progress_.SetStep(1);
    progress_.SetBackMode(TBackMode::bmGradientDblHorz);
    progress_.SetImageIndex(0);
    progress_.SetSoundOutput(MakeDefaultSoundOutput());
    updater_.RemoveStaleTempFile();
}

UpdateController::~UpdateController() { progress_.CloseProgress(); }

void UpdateController::Guarded(const std::function<void()>& operation) {
    if (updater_.Busy()) return;
    emit BusyChanged(true);
    operation();
    emit BusyChanged(false);
}

void UpdateController::NeedWTUpdate() {
    // Asked at window creation, run shortly after: the window shows and is activated first,
    // and the check runs while it takes input. (A timer, not a posted call: posted calls queued
    // behind this one would wait for the whole check.)
    QTimer::singleShot(kProgramCheckDelayMs, this, [this] { Guarded([this] { updater_.NeedWTUpdate(); }); });
}

void UpdateController::FirstActivation() {
    Guarded([this] { updater_.OfferUpdateOnActivation(); });
}

void UpdateController::UpdateRadioStations() {
    Guarded([this] { updater_.UpdateRadioStations(); });
}

void UpdateController::Disconnect() {
    disconnected_ = true;
    http_.Cancel();
}

void UpdateController::ShowUpdateConfiguration() {
    TForm6 dialog(window_, settings_, blackList_());
    dialog.SetDialogs(*dialogs_);
    dialog.exec();
}

void UpdateController::SetDialogs(ui::UserDialogs& dialogs) {
    dialogs_ = &dialogs;
    progress_.SetDialogs(dialogs);
}

void UpdateController::ShowInformation(const std::string& text) {
    if (!disconnected_) dialogs_->ShowMessage(window_, ui::MessageKind::Information, QString::fromStdString(text));
}

void UpdateController::ShowError(const std::string& text) {
    if (!disconnected_) dialogs_->ShowMessage(window_, ui::MessageKind::Error, QString::fromStdString(text));
}

bool UpdateController::AskYesNo(const std::string& text) {
    return !disconnected_ && dialogs_->AskYesNo(window_, ui::MessageKind::Information, QString::fromStdString(text));
}

void UpdateController::OpenWebSite(const std::string& url) {
    if (openUrl_) openUrl_(QString::fromStdString(url));
}

void UpdateController::ProgressStart(int count) {
    progress_.SetTopMax(count);
    progress_.SetMax(count);
    progress_.SetPosition(0);
    progress_.ShowProgress();
}

void UpdateController::ProgressPosition(int position) { progress_.SetPosition(position); }

void UpdateController::ProgressClose() { progress_.CloseProgress(); }

void UpdateController::LoadGenres() {
    if (loadGenres_) loadGenres_();
}

void UpdateController::RunRequest(const std::function<void()>& request) {
    // The window goes on painting and taking input while the request runs on a worker thread;
    // Busy() keeps the update commands from starting again meanwhile.
    net::RunWhilePumping(request, [] { QCoreApplication::processEvents(QEventLoop::AllEvents, 10); });
}

}  // namespace wt
