#include "ProgramSession.h"

#include "settings/zIniData.h"

#include <QLabel>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace wt::acceptance {

ProgramSession::ProgramSession(std::vector<StationRecord> stations, bool firstStart,
                               const std::function<void(TzIniData&)>& settings) {
    if (!stations.empty()) {
        StationCatalogue catalogue(profile.Path());
        catalogue.Open();
        for (const auto& station : stations) catalogue.AddStation(station);
        catalogue.Close();
    }
    TzIniData store("cfg.dat", false, profile.Path());
    if (!firstStart) store.WriteString("WorkingPath", MusicFolder());
    // Tests never reach the public directory listing; a story that needs one serves it itself.
    store.WriteString("WishListingURL", "off");
    if (settings) settings(store);
}

ProgramSession::~ProgramSession() {
    answers.DismissEverything();
    program_.reset();
}

void ProgramSession::Start() {
    program_ = std::make_unique<app::Program>(dialogs_, profile.Path(),
                                              [this](const QUrl& url) { opened.push_back(url); });
    QObject::connect(&program_->Window(), &ui::TForm1::TerminateRequested, [this] { ended_ = true; });
    ASSERT_TRUE(program_->Start());
    // The first activation has run once the genre branch is filled or the program is ending.
    ASSERT_TRUE(WaitFor([&] { return Window().isVisible(); }));
    ASSERT_TRUE(WaitFor([&] { return ended_ || Window().GenresRoot()->isExpanded(); }));
}

void PickStation(ui::TForm1& window, const QString& genre, const QString& station) {
    ClickItem(window.TeTreeView1, FindItem(window.TeTreeView1, genre));
    QTreeWidgetItem* row = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (row = FindItem(window.BrowseList, station)) != nullptr; }));
    ClickItem(window.BrowseList, row);
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace wt::acceptance
