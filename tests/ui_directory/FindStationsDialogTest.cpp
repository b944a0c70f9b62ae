#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>

#include <functional>

#include "DirectoryFixtures.h"
#include "FindStationsDialog.h"
#include "LoopbackHttpServer.h"
#include "TempFolder.h"
#include "catalogue/StationCatalogue.h"
#include "directory/RadioBrowserClient.h"
#include "net/HttpClient.h"
#include "settings/zIniData.h"

namespace wt {
namespace {

using test::LoopbackHttpServer;
using test::ScriptedResponse;

bool WaitFor(const std::function<bool()>& done, int ms = 10000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// Discovery must not reach the real name system from a test.
HostLookup NoLookup() {
    HostLookup lookup;
    lookup.addresses = [](const std::string&) { return std::vector<std::string>{}; };
    lookup.nameOf = [](const std::string&) { return std::string(); };
    return lookup;
}

class FindStationsTest : public ::testing::Test {
protected:
    FindStationsTest() : catalogue(folder.Path()) {
        settings.SetFileName((folder / "cfg.dat").string());
        catalogue.Open();
        server.SetHandler([](const test::RecordedRequest&) {
            return ScriptedResponse::Ok(testing::FixtureText("stations.json"), "application/json");
        });
        settings.WriteString(kDirectoryServersSetting, server.Url(""));
    }
    ~FindStationsTest() override { settings.SetActive(false); }

    std::unique_ptr<ui::FindStationsDialog> Open() {
        auto dialog = std::make_unique<ui::FindStationsDialog>(nullptr, catalogue, blackList, settings, http, NoLookup());
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        return dialog;
    }
    // Searches with Enter in the name box and waits for the answer.
    static void SearchFor(ui::FindStationsDialog& dialog, const QString& name) {
        dialog.nameEdit->setFocus();
        dialog.nameEdit->setText(name);
        QTest::keyClick(dialog.nameEdit, Qt::Key_Return);
        ASSERT_TRUE(dialog.Searching());
        ASSERT_TRUE(WaitFor([&] { return !dialog.Searching(); }));
    }
    static QTreeWidgetItem* Row(ui::FindStationsDialog& dialog, const QString& name) {
        const auto found = dialog.results->findItems(name, Qt::MatchExactly, ui::kNameColumn);
        return found.isEmpty() ? nullptr : found.front();
    }
    static QStringList Column(ui::FindStationsDialog& dialog, int column) {
        QStringList values;
        for (int i = 0; i < dialog.results->topLevelItemCount(); ++i)
            values << dialog.results->topLevelItem(i)->text(column);
        return values;
    }

    test::TempFolder folder;
    TzIniData settings;
    StationCatalogue catalogue;
    std::vector<std::string> blackList;
    net::HttpClient http;
    LoopbackHttpServer server;
};

TEST_F(FindStationsTest, EnterSearchesAndTheResultsSortByEveryColumn) {
    auto dialog = Open();
    dialog->tagEdit->setText("jazz");
    dialog->codecBox->setCurrentText("MP3");
    dialog->minBitRateBox->setValue(64);
    SearchFor(*dialog, "  Lounge ");
    EXPECT_EQ(dialog->status->text(), "Found 11 stations.");
    ASSERT_EQ(server.RequestCount(), 1u);
    const auto request = server.Requests()[0];
    EXPECT_EQ(request.target,
              "/json/stations/search?name=Lounge&tag=jazz&codec=MP3&bitrateMin=64&hidebroken=true&order=votes"
              "&reverse=true&limit=500");
    EXPECT_EQ(request.Header("User-Agent"), DirectoryUserAgent());

    // Most votes first, as the directory sends them; then by bit rate as numbers, not as text.
    EXPECT_EQ(Column(*dialog, ui::kNameColumn).front(), "HLS News");
    dialog->results->sortByColumn(ui::kBitRateColumn, Qt::AscendingOrder);
    const QStringList rates = Column(*dialog, ui::kBitRateColumn);
    EXPECT_EQ(rates.front(), "-5");
    EXPECT_EQ(rates.back(), "34400400");
    EXPECT_EQ(rates[rates.size() - 2], "192");
    dialog->results->sortByColumn(ui::kNameColumn, Qt::AscendingOrder);
    EXPECT_EQ(Column(*dialog, ui::kNameColumn).front(), "Bare Minimum");
    dialog->results->sortByColumn(ui::kCountryColumn, Qt::DescendingOrder);
    EXPECT_EQ(Column(*dialog, ui::kCountryColumn).front(), "Germany");

    // What cannot be recorded is marked and says why.
    QTreeWidgetItem* hls = Row(*dialog, "HLS News");
    ASSERT_NE(hls, nullptr);
    EXPECT_EQ(hls->text(ui::kCodecColumn), "AAC (HLS)");
    EXPECT_EQ(hls->toolTip(ui::kNameColumn), "\"HLS News\": an HLS stream, which cannot be recorded.");
    EXPECT_TRUE(Row(*dialog, "Long Address")->toolTip(ui::kNameColumn).contains("at most 200"));
    EXPECT_TRUE(Row(*dialog, "Jazz Lounge")->toolTip(ui::kNameColumn).isEmpty());
    EXPECT_NE(Row(*dialog, "R\u00e1dio A\u00e7\u00e3o \u2615 \u00d1and\u00fa"), nullptr);
}

TEST_F(FindStationsTest, AddingSkipsKnownBlacklistedAndHlsStationsAsAnUpdateDoes) {
    catalogue.AddStation({0, "Old", "Already here", 64, "http://127.0.0.1:8000/acao"});
    blackList = {"Bogus"};
    auto dialog = Open();
    SearchFor(*dialog, "");
    EXPECT_TRUE(Row(*dialog, "R\u00e1dio A\u00e7\u00e3o \u2615 \u00d1and\u00fa")->toolTip(0).endsWith("already in the catalogue."));

    // The genre box offers the selected stations' tags, the first one chosen, then the catalogue's genres.
    Row(*dialog, "Jazz Lounge")->setSelected(true);
    EXPECT_EQ(dialog->genreBox->currentText(), "jazz");
    EXPECT_EQ(dialog->genreBox->findText("smooth jazz"), 1);
    EXPECT_GE(dialog->genreBox->findText("Old"), 0);
    for (const char* name : {"Jazz Lounge (mirror)", "R\u00e1dio A\u00e7\u00e3o \u2615 \u00d1and\u00fa", "Bogus Rate",
                             "HLS News", "Secure AAC+"})
        Row(*dialog, QString::fromUtf8(name))->setSelected(true);
    dialog->genreBox->setFocus();
    dialog->genreBox->lineEdit()->selectAll();
    QTest::keyClicks(dialog->genreBox->lineEdit(), "My Finds");
    QTest::keyClick(dialog->genreBox->lineEdit(), Qt::Key_Return);  // Enter in the genre box adds

    EXPECT_TRUE(dialog->AddedAny());
    EXPECT_EQ(dialog->status->text(),
              "Added 2 of 6 stations.\n"
              "Skipped 2 stations already in the catalogue.\n"
              "Skipped 1 station on the blacklist.\n"
              "Refused 1 station: 1 HLS stream.\n"
              "Refused \"HLS News\": an HLS stream, which cannot be recorded.");
    std::vector<StationRecord> stations;
    catalogue.ForEachStation([&](const StationRecord& s) { stations.push_back(s); });
    ASSERT_EQ(stations.size(), 3u);
    // Added in the order shown, most votes first: Jazz Lounge (512) before Secure AAC+ (60).
    EXPECT_EQ(stations[1].ID, 2);
    EXPECT_EQ(stations[1].Title, "Jazz Lounge");
    EXPECT_EQ(stations[1].Genre, "My Finds");
    EXPECT_EQ(stations[1].URL, "http://127.0.0.1:8000/jazz");  // the resolved stream, not the .pls
    EXPECT_EQ(stations[1].BitRate, 128);
    EXPECT_EQ(stations[2].ID, 3);
    EXPECT_EQ(stations[2].Title, "Secure AAC+");

    // Adding the same again adds nothing.
    dialog->AddSelected();
    EXPECT_TRUE(dialog->status->text().startsWith("Added 0 of 6 stations.\nSkipped 4 stations already in the catalogue."));
    EXPECT_EQ(catalogue.StationCount(), 3);

    dialog->results->clearSelection();
    dialog->AddSelected();
    EXPECT_EQ(dialog->status->text(), "Select the stations to add.");
}

TEST_F(FindStationsTest, AFullAnswerSaysThatTheSearchShouldBeNarrowed) {
    std::string answer = "[";
    for (int i = 0; i < 500; ++i)
        answer += (i ? "," : "") + std::string(R"({"name":"S)") + std::to_string(i) + R"(","url":"http://127.0.0.1/)" +
                  std::to_string(i) + R"("})";
    answer += "]";
    server.SetHandler([&](const test::RecordedRequest&) { return ScriptedResponse::Ok(answer, "application/json"); });
    auto dialog = Open();
    SearchFor(*dialog, "s");
    EXPECT_EQ(dialog->results->topLevelItemCount(), 500);
    EXPECT_EQ(dialog->status->text(), "Found the 500 stations with the most votes; narrow the search to see others.");
}

TEST_F(FindStationsTest, ServersFailOverAndTotalFailureIsShownAsTheReason) {
    LoopbackHttpServer unavailable;
    unavailable.SetHandler([](const test::RecordedRequest&) { return ScriptedResponse::Status(503, "Service Unavailable"); });
    settings.WriteString(kDirectoryServersSetting, testing::RefusingServer() + "\r\n" + server.Url("") + "\r\n");
    {
        auto dialog = Open();
        SearchFor(*dialog, "jazz");
        EXPECT_EQ(dialog->results->topLevelItemCount(), 11);
    }
    settings.WriteString(kDirectoryServersSetting, testing::RefusingServer() + "\r\n" + unavailable.Url("") + "\r\n");
    auto dialog = Open();
    SearchFor(*dialog, "jazz");
    EXPECT_TRUE(dialog->status->text().startsWith("No station directory server answered.")) << dialog->status->text().toStdString();
    EXPECT_TRUE(dialog->status->text().contains("503"));
    EXPECT_EQ(dialog->results->topLevelItemCount(), 0);
    EXPECT_TRUE(dialog->searchButton->isEnabled());
    EXPECT_FALSE(dialog->stopButton->isEnabled());
}

TEST_F(FindStationsTest, EscStopsARunningSearchAndOnlyThenClosesTheDialog) {
    LoopbackHttpServer stalled;
    ScriptedResponse stall;
    stall.stallBeforeHead = true;
    stalled.SetHandler([stall](const test::RecordedRequest&) { return stall; });
    settings.WriteString(kDirectoryServersSetting, stalled.Url("") + "\r\n" + server.Url(""));
    auto dialog = Open();
    dialog->StartSearch();
    ASSERT_TRUE(stalled.WaitForRequestCount(1, 5000));
    QApplication::processEvents();
    EXPECT_TRUE(dialog->Searching());
    EXPECT_EQ(dialog->status->text(), "Searching...");
    EXPECT_FALSE(dialog->searchButton->isEnabled());

    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->Searching());
    EXPECT_EQ(dialog->status->text(), "Search stopped.");
    EXPECT_TRUE(dialog->isVisible());
    // The stopped search never tries the next server and never fills the list.
    WaitFor([] { return false; }, 300);
    EXPECT_EQ(server.RequestCount(), 0u);
    EXPECT_EQ(dialog->results->topLevelItemCount(), 0);
    EXPECT_EQ(dialog->status->text(), "Search stopped.");

    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    stalled.ReleaseStalls();
}

TEST_F(FindStationsTest, ClosingDuringASearchEndsItsThread) {
    LoopbackHttpServer stalled;
    ScriptedResponse stall;
    stall.stallBeforeHead = true;
    stalled.SetHandler([stall](const test::RecordedRequest&) { return stall; });
    settings.WriteString(kDirectoryServersSetting, stalled.Url(""));
    QElapsedTimer timer;
    {
        auto dialog = Open();
        dialog->StartSearch();
        ASSERT_TRUE(stalled.WaitForRequestCount(1, 5000));
        dialog->closeButton->click();  // "Close" closes at once, search or not
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_FALSE(dialog->Searching());
        timer.start();
    }  // the destructor joins the stopped search
    EXPECT_LT(timer.elapsed(), 3000);
    stalled.ReleaseStalls();
}

TEST_F(FindStationsTest, EveryControlIsNamedByTheTextShownForIt) {
    auto dialog = Open();
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        SCOPED_TRACE(button->text().toStdString());
        EXPECT_FALSE(button->text().isEmpty());
        EXPECT_EQ(button->accessibleName(), button->text());
    }
    std::map<QWidget*, QString> labelled;
    for (QLabel* label : dialog->findChildren<QLabel*>()) {
        EXPECT_EQ(label->accessibleName(), label->text());
        if (label->buddy()) labelled[label->buddy()] = label->text();
    }
    const QWidget* fields[] = {dialog->nameEdit, dialog->tagEdit,   dialog->countryEdit, dialog->languageEdit,
                               dialog->codecBox, dialog->minBitRateBox, dialog->results, dialog->genreBox};
    for (const QWidget* field : fields) {
        QWidget* w = const_cast<QWidget*>(field);
        ASSERT_TRUE(labelled.contains(w)) << w->metaObject()->className();
        EXPECT_EQ(w->accessibleName(), labelled[w]);
    }
    EXPECT_EQ(labelled[dialog->minBitRateBox], "Minimum bit rate:");
}

}  // namespace
}  // namespace wt
