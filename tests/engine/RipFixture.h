#pragma once
// A manager with quick reconnection pauses, its notifications recorded per channel, and a
// temporary output folder.
#include "IcyTestServer.h"
#include "engine/NetRadio.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

namespace wt {

namespace fs = std::filesystem;

// Reconnection pauses short enough for tests.
inline RipOptions FastRetries() {
    RipOptions options;
    options.firstPauseMs = 20;
    options.maxPauseMs = 100;
    options.firstConnectAttempts = 3;
    return options;
}

inline std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct RipFixture : ::testing::Test {
    fs::path folder = fs::temp_directory_path() / ("wt-rip-" + std::to_string(::getpid()) + "-" +
                                                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
    QueueDispatcher dispatcher;
    std::unique_ptr<TNetRadio> radio = std::make_unique<TNetRadio>(dispatcher, FastRetries());
    std::map<int, std::vector<std::string>> statuses;
    std::vector<std::string> songs;
    std::map<int, int> kb;
    std::vector<int> ended;

    void SetUp() override {
        fs::remove_all(folder);
        radio->OnStatus = [this](TNetRadioChannel* c, const std::string& s) { statuses[c->ID].push_back(s); };
        radio->OnNewSong = [this](TNetRadioChannel*, const std::string& t) { songs.push_back(t); };
        radio->OnProgress = [this](std::int32_t id, std::int32_t k) { kb[id] = k; };
        radio->OnChannelTerminating = [this](TNetRadioChannel* c) { ended.push_back(c->ID); };
    }
    void TearDown() override {
        dispatcher.Close();
        radio.reset();
        fs::remove_all(folder);
    }
    bool Pump(const std::function<bool()>& done) { return dispatcher.PumpUntil(done, 15000); }
};

}  // namespace wt
