#include "QtDispatcher.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <atomic>
#include <stdexcept>
#include <thread>

namespace {

// Processes GUI events until pred() holds or the time is up.
bool PumpUntil(const std::function<bool()>& pred, int timeoutMs = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!pred() && timer.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return pred();
}

TEST(QtDispatcher, WorkerCallRunsOnTheGuiThreadAndWaitsForIt) {
    wt::ui::QtDispatcher dispatcher;
    std::atomic<bool> ranOnGui{false};
    std::atomic<bool> workerReturned{false};
    QThread* gui = QThread::currentThread();
    std::thread worker([&] {
        dispatcher.Synchronize([&] { ranOnGui = QThread::currentThread() == gui; });
        // The hand-off has run by the time Synchronize returns.
        workerReturned = ranOnGui.load();
    });
    EXPECT_TRUE(PumpUntil([&] { return workerReturned.load(); }));
    worker.join();
    EXPECT_TRUE(ranOnGui);
}

TEST(QtDispatcher, GuiThreadCallRunsDirectly) {
    wt::ui::QtDispatcher dispatcher;
    bool ran = false;
    dispatcher.Synchronize([&] { ran = true; });
    EXPECT_TRUE(ran);
}

TEST(QtDispatcher, CloseReleasesAWaitingWorkerWithoutRunningItsCall) {
    wt::ui::QtDispatcher dispatcher;
    std::atomic<bool> ran{false};
    std::atomic<bool> posted{false};
    std::thread worker([&] {
        posted = true;
        dispatcher.Synchronize([&] { ran = true; });
    });
    while (!posted) std::this_thread::yield();
    // The GUI thread closes without pumping, as shutdown does before joining workers; the
    // worker is either waiting in the hand-off or about to post, and must not hang either way.
    dispatcher.Close();
    worker.join();  // must not hang
    QCoreApplication::processEvents();
    EXPECT_FALSE(ran);
    // After close, calls return at once from any thread.
    std::thread late([&] { dispatcher.Synchronize([&] { ran = true; }); });
    late.join();
    EXPECT_FALSE(ran);
}

TEST(QtDispatcher, AnErrorOfTheCallIsReportedOnTheGuiThreadAndTheWorkerGoesOn) {
    wt::ui::QtDispatcher dispatcher;
    std::vector<std::string> reported;  // GUI thread only
    std::thread::id reportedOn;
    dispatcher.SetErrorReporter([&](const std::string& message) {
        reported.push_back(message);
        reportedOn = std::this_thread::get_id();
    });
    std::atomic<bool> escaped{false};
    std::atomic<int> after{0};
    std::thread worker([&] {
        try {
            dispatcher.Synchronize([] { throw std::runtime_error("Cannot write cfg.dat"); });
            dispatcher.Synchronize([] { throw 42; });
            ++after;
            dispatcher.Synchronize([&] { ++after; });
        } catch (...) {
            escaped = true;
        }
    });
    EXPECT_TRUE(PumpUntil([&] { return after.load() == 2 || escaped; }));
    worker.join();
    EXPECT_FALSE(escaped);
    EXPECT_EQ(reported, (std::vector<std::string>{"Cannot write cfg.dat", "An unexpected error occurred."}));
    EXPECT_EQ(reportedOn, std::this_thread::get_id());
    // On the GUI thread itself the rule is the same.
    dispatcher.Synchronize([] { throw std::runtime_error("direct"); });
    EXPECT_EQ(reported.back(), "direct");
}

TEST(QtDispatcher, ManyWorkersAreServedOneAtATime) {
    wt::ui::QtDispatcher dispatcher;
    constexpr int kWorkers = 16, kCalls = 200;
    int counter = 0;  // touched only on the GUI thread
    std::atomic<int> finished{0};
    std::vector<std::thread> workers;
    for (int w = 0; w < kWorkers; ++w)
        workers.emplace_back([&] {
            for (int i = 0; i < kCalls; ++i) dispatcher.Synchronize([&] { ++counter; });
            ++finished;
        });
    EXPECT_TRUE(PumpUntil([&] { return finished == kWorkers; }, 20000));
    for (auto& t : workers) t.join();
    EXPECT_EQ(counter, kWorkers * kCalls);
}

}  // namespace
