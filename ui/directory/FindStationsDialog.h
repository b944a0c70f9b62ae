#pragma once
// The Find Stations dialog: search the radio-browser directory by name, tag, country, language,
// codec and minimum bit rate, sort the results, and add the selected stations to the catalogue
// under a genre, each with the next ID. Known URLs and blacklisted titles are skipped as an
// update's merge skips them; what cannot be recorded (HLS, playlists, over-long addresses) is
// marked in the list and not added.
//
// Searches run on a thread of their own; the dialog stays responsive, "Stop" or Esc ends a
// search, and Esc with no search running closes the dialog. Everything else, the catalogue
// included, is touched on the GUI thread only.
#include <QDialog>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "directory/DirectoryServers.h"
#include "directory/DirectoryStation.h"

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;

namespace wt {
class RadioBrowserClient;
class StationCatalogue;
class TzIniData;
namespace net {
class HttpClient;
}
}  // namespace wt

namespace wt::ui {

// Shows the dialog modally; true when at least one station was added (the caller then rebuilds
// its genre tree). The servers come from the setting "DirectoryServers", else from discovery.
bool RunFindStationsDialog(QWidget* parent, StationCatalogue& catalogue, const std::vector<std::string>& blackList,
                           TzIniData& settings, net::HttpClient& http);

// Result columns.
enum FindStationsColumn { kNameColumn, kTagsColumn, kCountryColumn, kCodecColumn, kBitRateColumn, kVotesColumn };

class FindStationsDialog : public QDialog {
public:
    FindStationsDialog(QWidget* parent, StationCatalogue& catalogue, const std::vector<std::string>& blackList,
                       TzIniData& settings, net::HttpClient& http, HostLookup lookup = SystemHostLookup());
    ~FindStationsDialog() override;

    void StartSearch();
    void StopSearch();
    void AddSelected();
    bool Searching() const { return searching_; }
    bool AddedAny() const { return addedAny_; }

    // Closing stops a running search.
    void reject() override;

    QLineEdit* nameEdit;
    QLineEdit* tagEdit;
    QLineEdit* countryEdit;
    QLineEdit* languageEdit;
    QComboBox* codecBox;
    QSpinBox* minBitRateBox;
    QPushButton* searchButton;
    QPushButton* stopButton;
    QTreeWidget* results;
    QComboBox* genreBox;
    QPushButton* addButton;
    QPushButton* closeButton;
    QLabel* status;

protected:
    // Esc stops a running search first; Esc in an idle dialog closes it.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShowResults(unsigned generation, std::vector<DirectoryStation> stations, std::string server);
    void ShowFailure(unsigned generation, const std::string& reason);
    void SelectionChanged();
    void SetSearching(bool searching);
    void SetStatus(const QString& text);
    void FocusChanged(QWidget* now);

    StationCatalogue& catalogue_;
    const std::vector<std::string> blackList_;  // a copy: the caller's list may be a temporary
    net::HttpClient& http_;
    std::unique_ptr<RadioBrowserClient> client_;  // used by the search thread while it runs
    std::thread worker_;
    std::shared_ptr<std::atomic<bool>> stop_;     // the running search's stop flag
    unsigned generation_ = 0;                     // results of an older search are dropped
    bool searching_ = false;
    bool addedAny_ = false;
    bool genreTyped_ = false;                     // the user typed a genre: selecting keeps it
    std::vector<DirectoryStation> found_;         // the rows of results, by the index each row keeps
    std::vector<std::string> catalogueGenres_;    // offered in the genre box after the stations' tags
    int limit_ = 500;                             // stations one search asks for
};

}  // namespace wt::ui
