#include "QtDispatcher.h"

#include <gtest/gtest.h>

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

TEST(QtDispatcher, AnErrorOfTheCallReachesTheWorker) {
    wt::ui::QtDispatcher dispatcher;
    std::atomic<bool> caught{false};
    std::atomic<bool> done{false};
    std::thread worker([&] {
        try {
            dispatcher.Synchronize([] { throw std::runtime_error("boom"); });
        } catch (const std::runtime_error& e) {
            caught = std::string(e.what()) == "boom";
        }
        done = true;
    });
    EXPECT_TRUE(PumpUntil([&] { return done.load(); }));
    worker.join();
    EXPECT_TRUE(caught);
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
