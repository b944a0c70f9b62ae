// A child process is killed (SIGKILL) at random moments while it commits settings and changes
// the catalogue. After every kill the settings file opens with every other value intact and
// the value being written either old or new, and the catalogue opens (after the torn-tail
// repair where needed) with every station whose change had finished.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <thread>

#include "TempFolder.h"
#include "catalogue/CatalogueRepair.h"
#include "catalogue/StationCatalogue.h"
#include "settings/zIniData.h"

namespace wt {
namespace {

namespace fs = std::filesystem;

struct Folder {
    testing::TempFolder temp;
    fs::path dir{temp.Path()};
};

// Runs work(step, announce) in a child that announces each step on a pipe before doing it, kills
// it after delay once it has announced its first step, and returns the steps announced.
std::vector<long> RunAndKill(const std::function<void(long)>& step, long first, std::chrono::microseconds delay) {
    int fds[2];
    if (::pipe(fds) != 0) return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        for (long n = first;; ++n) {
            const std::string line = std::to_string(n) + "\n";
            if (::write(fds[1], line.data(), line.size()) != static_cast<ssize_t>(line.size())) ::_exit(3);
            step(n);
        }
    }
    ::close(fds[1]);
    std::string seen;
    char buffer[4096];
    ssize_t n = ::read(fds[0], buffer, sizeof buffer);  // the first announcement
    if (n > 0) seen.append(buffer, static_cast<std::size_t>(n));
    std::this_thread::sleep_for(delay);  // the random moment of the kill is the point here
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0) seen.append(buffer, static_cast<std::size_t>(n));
    ::close(fds[0]);
    std::vector<long> steps;
    std::size_t at = 0;
    for (std::size_t end; (end = seen.find('\n', at)) != std::string::npos; at = end + 1)
        steps.push_back(std::stol(seen.substr(at, end - at)));
    return steps;
}

std::string ListText(long n) {
    // Long enough to be stored compressed, different for every step.
    std::string text;
    for (int i = 0; i < 40; ++i) text += "wish " + std::to_string(n) + " line " + std::to_string(i) + "\r\n";
    return text;
}

TEST(CrashSafety, KilledSettingsCommitsLeaveOldOrNewValuesAndTheRestIntact) {
    Folder folder;
    const std::string path = (folder.dir / "cfg.dat").string();
    std::string counter = "0", list = ListText(0);
    {
        TzIniData store(path, false);
        for (int i = 0; i < 40; ++i) store.WriteString("Keep" + std::to_string(i), ListText(1000000 + i));
        store.WriteInteger("Counter", 0);
        store.WriteString("List", list);
    }
    // Step n writes Counter = n (even n) or List = ListText(n) (odd n).
    const auto step = [&path](long n) {
        static TzIniData* store = nullptr;
        if (!store) store = new TzIniData(path, false);  // the child's own, never closed
        if (n % 2 == 0) store->WriteInteger("Counter", static_cast<std::int32_t>(n));
        else store->WriteString("List", ListText(n));
    };
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> delayUs(0, 8000);
    const int kills = 150;
    int survivors = 0, newValues = 0;
    for (int round = 0; round < kills; ++round) {
        const auto steps = RunAndKill(step, (round + 1) * 100000L, std::chrono::microseconds(delayUs(random)));
        ASSERT_FALSE(steps.empty());
        // Every announced step but the last has finished; the last may or may not have.
        for (std::size_t i = 0; i + 1 < steps.size(); ++i) {
            if (steps[i] % 2 == 0) counter = std::to_string(steps[i]);
            else list = ListText(steps[i]);
        }
        const long last = steps.back();
        TzIniData store(path, false);  // must open
        bool ok = true;
        for (int i = 0; i < 40; ++i) ok &= store.ReadString("Keep" + std::to_string(i), "") == ListText(1000000 + i);
        const std::string readCounter = store.ReadString("Counter", ""), readList = store.ReadString("List", "");
        const bool lastIsCounter = last % 2 == 0;
        const std::string newText = lastIsCounter ? std::to_string(last) : ListText(last);
        const std::string& written = lastIsCounter ? readCounter : readList;
        const std::string& other = lastIsCounter ? readList : readCounter;
        ok &= other == (lastIsCounter ? list : counter);
        ok &= written == (lastIsCounter ? counter : list) || written == newText;
        if (written == newText) {
            ++newValues;
            (lastIsCounter ? counter : list) = newText;
        }
        EXPECT_TRUE(ok) << "round " << round << " last step " << last;
        survivors += ok;
    }
    std::size_t strays = 0;
    for (const auto& e : fs::directory_iterator(folder.dir)) strays += e.path().filename() != "cfg.dat";
    std::printf("settings: %d kills, %d survivors (%d with the value being written, %d with the old), "
                "%zu unfinished copies left\n", kills, survivors, newValues, kills - newValues, strays);
    RecordProperty("kills", kills);
    RecordProperty("survivors", survivors);
    EXPECT_EQ(survivors, kills);
}

TEST(CrashSafety, KilledCatalogueChangesKeepEveryFinishedStation) {
    Folder folder;
    const std::string path = (folder.dir / "data.db").string();
    std::deque<std::string> titles;  // what the catalogue holds, in order
    {
        StationCatalogue cat(folder.dir.string());
        cat.Open();
        for (int i = 0; i < 50; ++i) {
            titles.push_back("Start " + std::to_string(i));
            cat.AddStation({0, "G", titles.back(), 128, "http://s/" + std::to_string(i)});
        }
    }
    // Step n appends station "C<n>", except every tenth, which deletes the first station.
    const auto step = [&folder](long n) {
        static StationCatalogue* cat = nullptr;
        if (!cat) {
            cat = new StationCatalogue(folder.dir.string());
            cat->Open();
        }
        if (n % 10 == 0) {
            cat->Dataset().First();
            cat->DeleteCurrentStation();
        } else {
            cat->AddStation({0, "G", "C" + std::to_string(n), 128, "http://c/" + std::to_string(n)});
        }
    };
    const auto apply = [](std::deque<std::string>& t, long n) {
        if (n % 10 == 0) t.pop_front();
        else t.push_back("C" + std::to_string(n));
    };
    std::mt19937 random(54321);
    std::uniform_int_distribution<int> delayUs(0, 3000);
    const int kills = 150;
    int survivors = 0, torn = 0;
    for (int round = 0; round < kills; ++round) {
        const auto steps = RunAndKill(step, (round + 1) * 100000L + 1, std::chrono::microseconds(delayUs(random)));
        ASSERT_FALSE(steps.empty());
        for (std::size_t i = 0; i + 1 < steps.size(); ++i) apply(titles, steps[i]);
        if (InspectDataSetFile(path).kind == DataSetDamage::Kind::TornTail) {
            ++torn;
            CutTornTail(path);
        }
        std::deque<std::string> found;
        {
            StationCatalogue cat(folder.dir.string());
            cat.Open();  // must open
            cat.ForEachStation([&](const StationRecord& s) { found.push_back(s.Title); });
        }
        std::deque<std::string> withLast = titles;
        apply(withLast, steps.back());
        const bool ok = found == titles || found == withLast;
        if (found == withLast) titles = withLast;
        EXPECT_TRUE(ok) << "round " << round << " last step " << steps.back();
        survivors += ok;
    }
    std::printf("catalogue: %d kills, %d survivors, %d torn tails repaired, %zu stations at the end\n", kills,
                survivors, torn, titles.size());
    RecordProperty("kills", kills);
    RecordProperty("survivors", survivors);
    EXPECT_EQ(survivors, kills);
}

}  // namespace
}  // namespace wt
