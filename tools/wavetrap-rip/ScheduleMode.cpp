// The schedule mode of wavetrap-rip: reads the "Schedules" and "WorkingPath" settings from the
// settings file (the user's cfg.dat unless --settings names another; it is only read, so the
// program may have it open), runs the schedules through the runner until interrupted (or for
// N seconds), and prints a line for each start, stop, status, song and failure. The settings
// are read again every few seconds, so schedules edited in the window take effect here too.
#include "ScheduleMode.h"
#include "TerminalText.h"

#include "engine/NetRadio.h"
#include "platform/Clock.h"
#include "platform/Dispatcher.h"
#include "platform/FileNames.h"
#include "platform/ProgramFolder.h"
#include "platform/StringList.h"
#include "schedule/LocalTime.h"
#include "schedule/ScheduleRunner.h"
#include "schedule/ScheduleText.h"
#include "settings/SettingNames.h"
#include "settings/zIniData.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace wt::rip {

namespace {

volatile std::sig_atomic_t interrupted = 0;
void OnSignal(int) { interrupted = 1; }

constexpr int kPollMs = 500;
constexpr int kReloadMs = 5000;

int Usage() {
    std::fprintf(stderr, "usage: wavetrap-rip --schedule [--settings FILE] [--seconds N]\n");
    return 2;
}

std::string LocalText(std::int64_t t) {
    const schedule::LocalDateTime local = schedule::ToLocal(t);
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", local.date.year, local.date.month, local.date.day);
    return std::string(date) + " " + schedule::FormatTimeOfDay(local.second);
}

// The runner's rips are the manager's channels.
class HeadlessRips : public schedule::RipControl {
public:
    HeadlessRips(TNetRadio& radio, std::string workingPath) : radio_(radio), workingPath_(std::move(workingPath)) {
        radio_.OnStatus = [this](TNetRadioChannel* c, const std::string& s) { Say(c->ID, "status", s); };
        radio_.OnNewSong = [this](TNetRadioChannel* c, const std::string& t) { Say(c->ID, "song", t); };
        radio_.OnChannelTerminating = [this](TNetRadioChannel* c) { running_.erase(c->ID); };
    }
    void SetWorkingPath(std::string path) { workingPath_ = std::move(path); }
    bool Idle() const { return running_.empty(); }

    std::int64_t StartRip(const schedule::Schedule& s, std::int64_t end, std::string& reason) override {
        std::string folder = s.folder;
        if (s.output == schedule::Output::GenreFolder) {
            if (workingPath_.empty()) {
                reason = "no output folder is set (the setting WorkingPath)";
                return 0;
            }
            folder = workingPath_ + SanitizeFileName(s.genre) + "/";
        }
        if (radio_.IsRipping(s.url)) {
            reason = "the station is already being recorded";
            return 0;
        }
        try {
            TNetRadioChannel* channel = radio_.StartRip(s.url, folder, "");
            running_[channel->ID] = s.title;
            std::printf("start %s until %s into %s\n", ForTerminal(s.title).c_str(), LocalText(end).c_str(),
                        folder.c_str());
            return channel->ID;
        } catch (const std::exception& error) {
            reason = error.what();
            return 0;
        }
    }
    void ExtendRip(std::int64_t handle, std::int64_t end) override {
        Say(static_cast<std::int32_t>(handle), "until", LocalText(end));
    }
    bool IsRipping(std::int64_t handle) override { return running_.count(static_cast<std::int32_t>(handle)) > 0; }
    void StopRip(std::int64_t handle) override {
        Say(static_cast<std::int32_t>(handle), "stop", "");
        radio_.StopRip(static_cast<std::int32_t>(handle));
    }

private:
    void Say(std::int32_t id, const char* what, const std::string& text) {
        auto it = running_.find(id);
        if (it == running_.end()) return;
        std::printf("%s %s%s%s\n", what, ForTerminal(it->second).c_str(), text.empty() ? "" : ": ",
                    ForTerminal(text).c_str());
    }

    TNetRadio& radio_;
    std::string workingPath_;
    std::map<std::int32_t, std::string> running_;  // channel id -> station title
};

struct Stored {
    std::string workingPath;
    std::string schedulesText;
};

Stored ReadStored(TzIniData& settings) {
    return {settings.ReadString(setting::kWorkingPath, ""), settings.ReadString(setting::kSchedules, "")};
}

}  // namespace

bool WantsScheduleMode(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--schedule") return true;
    return false;
}

int RunScheduleMode(int argc, char** argv) {
    std::string settingsPath;
    long seconds = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--schedule") continue;
        if (arg == "--settings" && i + 1 < argc) {
            settingsPath = argv[++i];
        } else if (arg == "--seconds" && i + 1 < argc) {
            char* end = nullptr;
            seconds = std::strtol(argv[++i], &end, 10);
            if (!end || *end || seconds < 0) return Usage();
        } else {
            return Usage();
        }
    }
    if (settingsPath.empty())
        settingsPath = ResolveProgramFolders(ExecutableFolder(), FolderEnvironment::FromProcess()).config + "cfg.dat";
    if (!std::filesystem::exists(settingsPath)) {
        std::fprintf(stderr, "No settings file %s: schedule recordings in Wavetrap first.\n", settingsPath.c_str());
        return 1;
    }
    std::unique_ptr<TzIniData> settings;
    try {
        // A name with a '/' is taken as it is.
        settings = std::make_unique<TzIniData>(std::filesystem::absolute(settingsPath).string(), true);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    QueueDispatcher dispatcher;
    {
        TNetRadio radio(dispatcher);
        Stored stored = ReadStored(*settings);
        HeadlessRips rips(radio, stored.workingPath);
        schedule::ScheduleRunner runner(rips, SystemClock::Instance());
        runner.OnEnded = [](const std::string& title, bool atEnd) {
            if (!atEnd) std::printf("ended %s\n", ForTerminal(title).c_str());
        };
        runner.OnStartFailed = [](const schedule::Schedule& s, const std::string& reason) {
            std::printf("failed %s: %s\n", ForTerminal(s.title).c_str(), reason.c_str());
        };
        auto load = [&](const std::string& text) {
            const schedule::ScheduleList list = schedule::ParseScheduleLines(SplitLines(text));
            for (const std::string& note : list.notes) std::fprintf(stderr, "%s\n", note.c_str());
            runner.SetSchedules(list.schedules);
            std::printf("schedules %zu", list.schedules.size());
            if (auto next = runner.NextRecording())
                std::printf(", next %s at %s", ForTerminal(next->schedule.title).c_str(),
                            LocalText(next->window.start).c_str());
            std::printf("\n");
        };
        load(stored.schedulesText);

        const auto began = std::chrono::steady_clock::now();
        auto lastReload = began;
        while (!interrupted && (seconds < 0 || std::chrono::steady_clock::now() - began < std::chrono::seconds(seconds))) {
            runner.Poll();
            std::fflush(stdout);
            dispatcher.PumpFor(kPollMs);
            if (std::chrono::steady_clock::now() - lastReload >= std::chrono::milliseconds(kReloadMs)) {
                lastReload = std::chrono::steady_clock::now();
                try {
                    Stored now = ReadStored(*settings);
                    rips.SetWorkingPath(now.workingPath);
                    if (now.schedulesText != stored.schedulesText) load(now.schedulesText);
                    stored = now;
                } catch (const std::exception& error) {
                    std::fprintf(stderr, "%s\n", error.what());  // keep what was read before
                }
            }
        }
        radio.StopAll();
        dispatcher.PumpUntil([&] { return rips.Idle(); }, 5000);
        dispatcher.Close();
    }
    std::fflush(stdout);
    return 0;
}

}  // namespace wt::rip
