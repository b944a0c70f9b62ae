// The stored lines of the "Schedules" setting: every kind of schedule comes back as it was
// written, and a damaged or newer line is skipped with a note and kept for the next save.
#include "schedule/ScheduleText.h"

#include <gtest/gtest.h>

namespace wt::schedule {
namespace {

Schedule Sample() {
    Schedule s;
    s.stationId = 42;
    s.url = "http://127.0.0.1:8000/jazz";
    s.title = "Jazz FM";
    s.genre = "Jazz";
    s.date = {2026, 12, 11};
    s.startSecond = 20 * 3600;
    return s;
}

TEST(ScheduleText, EveryKindOfScheduleReadsBackAsWritten) {
    std::vector<Schedule> all;
    Schedule s = Sample();
    all.push_back(s);                                      // once, for an hour, genre folder
    s.enabled = false;
    s.repeat = Repeat::Daily;
    s.length = Length::Until;
    s.endSecond = 1 * 3600 + 30 * 60 + 15;
    all.push_back(s);                                      // daily, until a time, off
    s.enabled = true;
    s.repeat = Repeat::Weekdays;
    s.weekdays = 0b1010001;                                // Mon, Fri, Sun
    s.length = Length::Duration;
    s.endSecond = 0;  // not stored with a duration
    s.durationSeconds = 86400;
    s.output = Output::OtherFolder;
    s.folder = "/home/me/Shows\\Friday/";
    all.push_back(s);
    s.title = "Tabs\tand\r\nlines \\t and a backslash";  // texts that would break a line
    s.genre = "";
    s.stationId = -7;
    s.url = "https://example.invalid/a?b=c&d=%20";
    all.push_back(s);

    for (const Schedule& schedule : all) {
        const std::string line = FormatSchedule(schedule);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
        std::string why;
        auto back = ParseSchedule(line, &why);
        ASSERT_TRUE(back) << line << ": " << why;
        EXPECT_EQ(*back, schedule) << line;
    }
    EXPECT_EQ(FormatSchedule(all[2]),
              "1\ton\t42\thttp://127.0.0.1:8000/jazz\tJazz FM\tJazz\t2026-12-11\t20:00:00\tdays:Mon,Fri,Sun\t"
              "for:86400\tfolder:/home/me/Shows\\\\Friday/");
}

TEST(ScheduleText, AHandWrittenLineNeedsNoSecondsAndGetsItsFolderSlash) {
    auto s = ParseSchedule("1\ton\t0\thttp://h/\tShow\tRock\t2026-02-28\t07:05\tdays:Sun,Mon\tuntil:08:00\tfolder:/tmp/x");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->startSecond, 7 * 3600 + 5 * 60);
    EXPECT_EQ(s->weekdays, 0b1000001);
    EXPECT_EQ(s->endSecond, 8 * 3600);
    EXPECT_EQ(s->folder, "/tmp/x/");
}

TEST(ScheduleText, DamagedLinesAreSkippedWithTheirReason) {
    const std::string good = FormatSchedule(Sample());
    auto with = [&](int field, const std::string& value) {
        std::vector<std::string> f;
        std::size_t from = 0;
        for (std::size_t tab; (tab = good.find('\t', from)) != std::string::npos; from = tab + 1)
            f.push_back(good.substr(from, tab - from));
        f.push_back(good.substr(from));
        f[field] = value;
        std::string line;
        for (auto& x : f) line += (line.empty() ? "" : "\t") + x;
        return line;
    };
    struct Case { std::string line; const char* reason; };
    const Case cases[] = {
        {"garbage", "no version number"},
        {"2\ton\tsomething from a later version", "format version 2 is not known"},
        {good.substr(0, good.rfind('\t')), "10 fields instead of 11"},
        {good + "\textra", "12 fields"},
        {with(1, "yes"), "neither on nor off"},
        {with(2, "12x"), "station number"},
        {with(2, "99999999999"), "station number"},
        {with(3, ""), "no station address"},
        {with(4, "bad \\q escape"), "escape"},
        {with(4, "ends in \\"), "escape"},
        {with(6, "2026-02-30"), "YYYY-MM-DD"},
        {with(6, "26-02-03"), "YYYY-MM-DD"},
        {with(7, "24:00:00"), "HH:MM:SS"},
        {with(7, "7:00"), "HH:MM:SS"},
        {with(8, "weekly"), "repeat"},
        {with(8, "days:"), "weekdays"},
        {with(8, "days:Mon,Funday"), "weekdays"},
        {with(8, "days:Mon,"), "weekdays"},
        {with(9, "for:0"), "1 to 86400"},
        {with(9, "for:86401"), "1 to 86400"},
        {with(9, "for:-5"), "1 to 86400"},
        {with(9, "until:25:00"), "end"},
        {with(9, "forever"), "length"},
        {with(10, "folder:"), "folder"},
        {with(10, "music"), "output"},
    };
    std::vector<std::string> lines;
    for (const Case& c : cases) {
        std::string why;
        EXPECT_FALSE(ParseSchedule(c.line, &why)) << c.line;
        EXPECT_NE(why.find(c.reason), std::string::npos) << c.line << " -> " << why;
        lines.push_back(c.line);
    }

    // In a list the good lines survive, the others are noted by line number and kept.
    lines.insert(lines.begin() + 1, good);
    lines.insert(lines.begin() + 3, "");
    ScheduleList list = ParseScheduleLines(lines);
    ASSERT_EQ(list.schedules.size(), 1u);
    EXPECT_EQ(list.schedules[0], Sample());
    ASSERT_EQ(list.notes.size(), std::size(cases));
    EXPECT_EQ(list.notes[0], "Scheduled recording 1 was skipped: no version number at its start.");
    EXPECT_EQ(list.notes[1].rfind("Scheduled recording 3 was skipped: format version 2", 0), 0u) << list.notes[1];
    std::vector<std::string> saved = FormatScheduleLines(list);
    ASSERT_EQ(saved.size(), std::size(cases) + 1);
    EXPECT_EQ(saved[0], good);
    EXPECT_EQ(saved[1], "garbage");
    EXPECT_EQ(saved.back(), cases[std::size(cases) - 1].line);
}

}  // namespace
}  // namespace wt::schedule
