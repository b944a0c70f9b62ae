#include "platform/Dispatcher.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <vector>
#include <thread>

namespace wt {
namespace {

TEST(QueueDispatcher, RunsWorkerCallsOnThePumpingThreadAndWaits) {
    QueueDispatcher dispatcher;
    std::thread::id ranOn;
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        dispatcher.Synchronize([&] { ranOn = std::this_thread::get_id(); });
        returned = true;
    });
    ASSERT_TRUE(dispatcher.PumpUntil([&] { return returned.load(); }, 5000));
    worker.join();
    EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST(QueueDispatcher, CallFromTheGuiThreadRunsDirectly) {
    QueueDispatcher dispatcher;
    bool ran = false;
    dispatcher.Synchronize([&] { ran = true; });
    EXPECT_TRUE(ran);
}

TEST(QueueDispatcher, CloseReleasesBlockedWorkersWithoutRunningThem) {
    QueueDispatcher dispatcher;
    std::atomic<bool> ran{false};
    std::thread worker([&] { dispatcher.Synchronize([&] { ran = true; }); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    dispatcher.Close();
    worker.join();
    dispatcher.Synchronize([&] { ran = true; });
    EXPECT_FALSE(ran);
    EXPECT_TRUE(dispatcher.IsClosed());
}

TEST(QueueDispatcher, AnErrorOfTheCallIsReportedAndNeverReachesTheWorker) {
    QueueDispatcher dispatcher;
    std::vector<std::string> reported;
    dispatcher.SetErrorReporter([&](const std::string& message) { reported.push_back(message); });
    std::atomic<bool> escaped{false}, done{false};
    std::thread worker([&] {
        try {
            dispatcher.Synchronize([] { throw std::runtime_error("boom"); });
        } catch (...) {
            escaped = true;
        }
        done = true;
    });
    EXPECT_TRUE(dispatcher.PumpUntil([&] { return done.load(); }, 5000));
    worker.join();
    EXPECT_FALSE(escaped);
    EXPECT_EQ(reported, (std::vector<std::string>{"boom"}));
}

}  // namespace
}  // namespace wt
