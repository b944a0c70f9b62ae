#pragma once
// A program folder in a temporary directory with its settings, catalogue and an updater whose
// window is a recorder of messages, questions and progress.
#include "StationFile.h"
#include "catalogue/StationCatalogue.h"
#include "net/HttpClient.h"
#include "settings/zIniData.h"
#include "update/UpdateHost.h"
#include "update/Updater.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace wt::test {

struct RecordingHost : UpdateHost {
    void ShowInformation(const std::string& text) override { messages.push_back("info: " + text); }
    void ShowError(const std::string& text) override { messages.push_back("error: " + text); }
    bool AskYesNo(const std::string& text) override {
        messages.push_back("ask: " + text);
        return answerYes;
    }
    void OpenWebSite(const std::string& url) override { opened.push_back(url); }
    void ProgressStart(int count) override {
        progressMax = count;
        progressShown = true;
        positions.clear();
    }
    void ProgressPosition(int position) override { positions.push_back(position); }
    void ProgressClose() override { progressShown = false; ++progressCloses; }
    void LoadGenres() override { ++genreReloads; }

    std::vector<std::string> messages;
    std::vector<std::string> opened;
    bool answerYes = false;
    int progressMax = -1;
    bool progressShown = false;
    int progressCloses = 0;
    std::vector<int> positions;
    int genreReloads = 0;
};

std::string ReadFileBytes(const std::string& path);
StationRecord MakeStation(int id, std::string title, std::string url, int bitRate = 128, std::string genre = "Rock");

class UpdateFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Builds the updater against an update server at host (host[:port]).
    void UseServer(const std::string& host);
    std::vector<StationRecord> Stations();

    std::string folder;  // ends with '/'
    std::unique_ptr<TzIniData> settings;
    std::unique_ptr<StationCatalogue> catalogue;
    net::HttpClient http;
    RecordingHost host;
    std::vector<std::string> blackList;
    UpdaterOptions options;
    std::unique_ptr<CatalogueUpdater> updater;
};

}  // namespace wt::test
