#pragma once
// The catalogue update as the main window uses it: the "Update Radio Stations" and "Update
// Configuration" commands, the program version check at start-up and the offer at the first
// activation. It shows the messages, the progress window and keeps the window responsive (but
// the update commands closed) while a request runs.
#include "update/UpdateHost.h"
#include "update/Updater.h"
#include "UserDialogs.h"
#include "zProgress.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace wt {

class UpdateController : public QObject, public UpdateHost {
    Q_OBJECT
public:
    UpdateController(QWidget* window, TzIniData& settings, StationCatalogue& catalogue,
                      net::HttpClient& http, std::string programFolder, BlackListSource blackList,
                      std::function<void()> loadGenres, UpdaterOptions options = {});
    ~UpdateController() override;

    // Where messages, questions and the progress window's cancel question reach the user (the
    // real boxes over the window by default); dialogs must outlive the controller.
    void SetDialogs(ui::UserDialogs& dialogs);
    // Opens a web address (the product site); nothing is opened while unset.
    void SetUrlOpener(std::function<void(const QString& url)> open) { openUrl_ = std::move(open); }

    // Window creation: the program version check.
    void NeedWTUpdate();
    // First activation: with "AutoUpdate" on, offer a newer catalogue.
    void FirstActivation();
    // "Update Radio Stations" (the window reloads its advertisement first).
    void UpdateRadioStations();
    // "Update Configuration": the configuration dialog, modal.
    void ShowUpdateConfiguration();
    // True while a check or an update runs: the window keeps its update commands closed and
    // must not close the catalogue meanwhile.
    bool Busy() const { return updater_.Busy(); }
    // Shutdown: stops a running request (it ends as failed) and shows no more messages. The
    // update should have an HTTP client of its own, since this stops every request on it.
    void Disconnect();

    TzProgress& Progress() { return progress_; }
    CatalogueUpdater& Updater() { return updater_; }

    // UpdateHost
    void ShowInformation(const std::string& text) override;
    void ShowError(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    void OpenWebSite(const std::string& url) override;
    void ProgressStart(int count) override;
    void ProgressPosition(int position) override;
    void ProgressClose() override;
    void LoadGenres() override;
    void RunRequest(const std::function<void()>& request) override;

signals:
    // Emitted when Busy() changes, so the window can grey its update commands.
    void BusyChanged(bool busy);

private:
    void Guarded(const std::function<void()>& operation);

    QPointer<QWidget> window_;
    TzIniData& settings_;
    BlackListSource blackList_;
    net::HttpClient& http_;
    std::function<void()> loadGenres_;
    TzProgress progress_;
    CatalogueUpdater updater_;
    ui::UserDialogs* dialogs_;
    std::function<void(const QString& url)> openUrl_;
    bool disconnected_ = false;
};

}  // namespace wt
