#include "DownloadSweeps.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using wt::ui::DownloadRowState;

struct PlainRows : wt::ui::DownloadRowList {
    struct Entry {
        std::string name;
        DownloadRowState state;
    };
    std::vector<Entry> rows;
    std::vector<std::string> stopped, terminated;

    int RowCount() const override { return static_cast<int>(rows.size()); }
    DownloadRowState Row(int i) const override { return rows[i].state; }
    void StopAndRemove(int i) override {
        stopped.push_back(rows[i].name);
        rows.erase(rows.begin() + i);
    }
    void TerminateWithReason(int i, const std::string& reason) override {
        terminated.push_back(rows[i].name);
        rows[i].state.status = reason;
        rows[i].state.failed = true;
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> out;
        for (auto& r : rows) out.push_back(r.name);
        return out;
    }
};

DownloadRowState Row(std::string status, bool channel = true, std::string song = {},
                     std::uint32_t start = 0) {
    DownloadRowState row{std::move(status), std::move(song), channel, start};
    row.failed = wt::ui::IsFailureStatus(row.status);
    return row;
}

DownloadRowState Ended(DownloadRowState row) {
    row.ended = true;
    return row;
}

TEST(FinishedRowSweep, RemovesStoppedAndNeverStartedRowsAndKeepsFailures) {
    struct Case {
        const char* what;
        DownloadRowState row;
        bool finished;
    } cases[] = {
        {"stopped", Row("Stopped"), true},
        {"rip limit refused it: no channel, no status", Row("", false), true},
        {"just started: channel, no status yet", Row(""), false},
        {"connecting", Row("Connecting..."), false},
        {"ripping", Row("Ripping"), false},
        {"stream failed, channel still winding down", Row("Can't play this stream."), false},
        {"stream failed and channel ended: the reason stays", Ended(Row("Can't play this stream.")), false},
        {"disk full", Ended(Row("Disk full. Stopped")), false},
        {"ended normally while still showing Ripping", Ended(Row("Ripping")), true},
        {"reconnecting", Row("Reconnecting..."), false},
    };
    for (const auto& c : cases) EXPECT_EQ(wt::ui::IsFinishedRow(c.row), c.finished) << c.what;
}

TEST(FinishedRowSweep, OneSweepRemovesAdjacentFinishedRowsAndKeepsFreshOnes) {
    PlainRows list;
    list.rows = {{"a", Row("Stopped")}, {"b", Row("Stopped")}, {"fresh", Row("")},
                 {"c", Row("", false)}, {"ripping", Row("Ripping")}, {"d", Row("Stopped")}};
    EXPECT_EQ(wt::ui::SweepFinishedRows(list), 4);
    EXPECT_EQ(list.Names(), (std::vector<std::string>{"fresh", "ripping"}));
    EXPECT_EQ(list.stopped, (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST(SilentRowSweep, RemovesRowsWithoutSongAfterTenSecondsAcrossTickWrap) {
    const std::uint32_t start = 0xFFFFF000u;  // the tick counter wraps during the wait
    struct Case {
        const char* what;
        DownloadRowState row;
        std::uint32_t now;
        bool silent;
    } cases[] = {
        {"exactly 10 s", Row("Ripping", true, "", start), start + 10000, false},
        {"just over 10 s, wrapped", Row("Ripping", true, "", start), start + 10001, true},
        {"has a song", Row("Ripping", true, "Artist - Song", start), start + 60000, false},
        {"tick before start (clock skew)", Row("Ripping", true, "", start), start - 5, false},
        {"connected, no title", Row("Connected", true, "", start), start + 10001, true},
        {"still connecting: the engine's own limits apply", Row("Connecting...", true, "", start), start + 60000, false},
        {"reconnecting", Row("Reconnecting...", true, "", start), start + 60000, false},
        {"already failed", Row("Can't play this stream.", true, "", start), start + 60000, false},
        {"channel has ended", Ended(Row("Ripping", true, "", start)), start + 60000, false},
    };
    for (const auto& c : cases) EXPECT_EQ(wt::ui::IsSilentRow(c.row, c.now), c.silent) << c.what;

    // A stopped silent rip keeps its row with the reason; the finished-row sweep leaves it.
    PlainRows list;
    list.rows = {{"quiet1", Row("Connected", true, "", 0)},
                 {"quiet2", Row("Ripping", true, "", 0)},
                 {"singing", Row("Ripping", true, "x", 0)}};
    EXPECT_EQ(wt::ui::SweepSilentRows(list, 10001), 2);
    EXPECT_EQ(list.terminated, (std::vector<std::string>{"quiet1", "quiet2"}));
    EXPECT_EQ(list.rows[0].state.status, wt::ui::kStatusSilent);
    EXPECT_EQ(wt::ui::SweepFinishedRows(list), 0);
    EXPECT_EQ(list.Names(), (std::vector<std::string>{"quiet1", "quiet2", "singing"}));
}

TEST(NowPlayingLabel, RunsLeftAndReentersFromTheRight) {
    EXPECT_EQ(wt::ui::NextNowPlayingLeft(0, 164), -1);
    EXPECT_EQ(wt::ui::NextNowPlayingLeft(-164, 164), -165);
    EXPECT_EQ(wt::ui::NextNowPlayingLeft(-165, 164), 174);
    EXPECT_EQ(wt::ui::NextNowPlayingLeft(-162, 164, 4), -166);
    EXPECT_EQ(wt::ui::NextNowPlayingLeft(-166, 164, 4), 174);
}

}  // namespace
