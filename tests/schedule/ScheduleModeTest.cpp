// The headless schedule mode: wavetrap-rip --schedule runs the schedules stored in a settings
// file against loopback stations, printing each start and stop, and writes their songs where
// the schedules say; a damaged line is named and skipped.
#include "IcyTestServer.h"
#include "RunCommand.h"

#include "schedule/LocalTime.h"
#include "schedule/ScheduleText.h"
#include "settings/zIniData.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace wt::schedule;

// The tool's output, its notes on standard error included.
std::string RunTool(const std::string& arguments, int& status) {
    return wt::test::RunCommand(std::string(WAVETRAP_RIP_TOOL) + " " + arguments + " 2>&1", status);
}

std::string ReadWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A schedule starting `in` seconds from now, local time.
Schedule StartingIn(std::int64_t now, int in, const std::string& title, const std::string& url) {
    const LocalDateTime at = ToLocal(now + in);
    Schedule s;
    s.title = title;
    s.url = url;
    s.genre = "Jazz";
    s.date = at.date;
    s.startSecond = at.second;
    return s;
}

TEST(ScheduleMode, RunsTheStoredSchedulesAndPrintsEachStartAndStop) {
    wt::test::IcyTestServer jazz({{"A One", 20}, {"A Two", 20}, {"A Three", 1000}}, 2048, 40);
    wt::test::IcyTestServer talk({{"B One", 10}, {"B Two", 1000}}, 2048, 40);
    const fs::path root = fs::temp_directory_path() / ("wt-schedule-mode-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "config");
    const fs::path music = root / "Wavetrap Music";
    const fs::path other = root / "Talk shows";

    const std::int64_t now = std::chrono::duration_cast<std::chrono::seconds>(
                                 std::chrono::system_clock::now().time_since_epoch()).count();
    Schedule first = StartingIn(now, 2, "Jazz FM", jazz.Url());
    first.length = Length::Until;
    first.endSecond = ToLocal(now + 5).second;
    Schedule overlapping = StartingIn(now, 3, "Jazz FM late", jazz.Url());  // one rip, to the later end
    overlapping.durationSeconds = 4;
    Schedule elsewhere = StartingIn(now, 2, "Talk Radio", talk.Url());
    elsewhere.repeat = Repeat::Daily;
    elsewhere.durationSeconds = 2;
    elsewhere.output = Output::OtherFolder;
    elsewhere.folder = other.string() + "/";
    {
        wt::TzIniData settings("cfg.dat", false, (root / "config").string());
        settings.WriteString("WorkingPath", music.string() + "/");
        settings.WriteStrings("Schedules", {FormatSchedule(first), "1\ton\tdamaged", FormatSchedule(overlapping),
                                            FormatSchedule(elsewhere)});
    }

    int status = -1;
    const std::string output =
        RunTool("--schedule --settings " + (root / "config" / "cfg.dat").string() + " --seconds 10", status);
    EXPECT_EQ(status, 0) << output;
    EXPECT_NE(output.find("Scheduled recording 2 was skipped: 3 fields instead of 11.\n"), std::string::npos) << output;
    EXPECT_NE(output.find("schedules 3, next "), std::string::npos) << output;
    auto has = [&](const std::string& line) { return output.find(line) != std::string::npos; };
    auto at = [](std::int64_t t) {
        const LocalDateTime l = ToLocal(t);
        char d[16];
        std::snprintf(d, sizeof d, "%04d-%02d-%02d ", l.date.year, l.date.month, l.date.day);
        return std::string(d) + FormatTimeOfDay(l.second);
    };
    EXPECT_TRUE(has("start Jazz FM until " + at(now + 5) + " into " + music.string() + "/Jazz/\n")) << output;
    EXPECT_TRUE(has("until Jazz FM: " + at(now + 7) + "\n")) << output;
    EXPECT_TRUE(has("start Talk Radio until " + at(now + 4) + " into " + other.string() + "/\n")) << output;
    EXPECT_TRUE(has("song Jazz FM: A Two\n")) << output;
    // Each started once and stopped once, in that order.
    for (const std::string title : {"Jazz FM", "Talk Radio"}) {
        const auto start = output.find("start " + title + " ");
        const auto stop = output.find("stop " + title + "\n");
        ASSERT_NE(start, std::string::npos) << output;
        ASSERT_NE(stop, std::string::npos) << output;
        EXPECT_LT(start, stop);
        EXPECT_EQ(output.find("start " + title + " ", start + 1), std::string::npos) << output;
    }
    EXPECT_LT(output.find("stop Talk Radio\n"), output.find("stop Jazz FM\n"));

    EXPECT_EQ(ReadWhole(music / "Jazz" / "A One.mp3"), jazz.Song(0));
    EXPECT_EQ(ReadWhole(music / "Jazz" / "A Two.mp3"), jazz.Song(1));
    EXPECT_FALSE(ReadWhole(music / "Jazz" / "A Three.mp3").empty()) << "the song in progress at the end is kept";
    EXPECT_EQ(ReadWhole(other / "B One.mp3"), talk.Song(0));
    fs::remove_all(root);
}

TEST(ScheduleMode, SaysWhatIsWrongWithItsCommandLineOrSettingsFile) {
    int status = -1;
    std::string output = RunTool("--schedule --settings /nonexistent/cfg.dat", status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(output, "No settings file /nonexistent/cfg.dat: schedule recordings in Wavetrap first.\n");
    output = RunTool("--schedule --out x", status);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(output, "usage: wavetrap-rip --schedule [--settings FILE] [--seconds N]\n");
}

}  // namespace
