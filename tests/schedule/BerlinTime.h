#pragma once
// Tests of local wall-clock time run in one zone with summer time, whatever the machine's:
// Europe/Berlin (summer time from 2026-03-29 02:00 to 2026-10-25 03:00).
#include "schedule/LocalTime.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <ctime>
#include <string>

namespace wt::schedule::test {

class BerlinTime : public ::testing::Test {
public:
    void SetUp() override {
        const char* tz = std::getenv("TZ");
        saved_ = tz ? std::optional<std::string>(tz) : std::nullopt;
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
    }
    void TearDown() override {
        if (saved_)
            setenv("TZ", saved_->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

    // The moment the local clock shows this (its first showing).
    static std::int64_t At(int y, int mo, int d, int h, int mi, int s = 0) {
        return FromLocal({y, mo, d}, h * 3600 + mi * 60 + s);
    }
    // Unix time of a UTC reading.
    static std::int64_t Utc(int y, int mo, int d, int h, int mi, int s = 0) {
        return DaysFromCivil({y, mo, d}) * 86400 + h * 3600 + mi * 60 + s;
    }
    // "2026-03-29 03:00:00" in local time.
    static std::string Local(std::int64_t t) {
        LocalDateTime l = ToLocal(t);
        char text[32];
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", l.date.year, l.date.month, l.date.day,
                      l.second / 3600, l.second / 60 % 60, l.second % 60);
        return text;
    }

private:
    std::optional<std::string> saved_;
};

}  // namespace wt::schedule::test
