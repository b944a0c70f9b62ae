#pragma once
// The hand-off of worker notifications to the Qt GUI thread.
//
// Synchronize(fn) from a worker posts fn into the Qt event loop and blocks until it has run;
// on the GUI thread it calls fn directly. Close() releases every waiting worker without running
// its fn, and makes later calls return at once, so shutdown never waits on a worker that is
// itself waiting for the GUI thread.
#include "platform/Dispatcher.h"

#include <QObject>
#include <QPointer>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

namespace wt::ui {

class QtDispatcher : public wt::Dispatcher {
public:
    // The calling thread's event loop runs the hand-offs; create this on the GUI thread.
    QtDispatcher();
    ~QtDispatcher() override;
    QtDispatcher(const QtDispatcher&) = delete;
    QtDispatcher& operator=(const QtDispatcher&) = delete;

    void Synchronize(const std::function<void()>& fn) override;
    void Close() override;
    bool IsClosed() const override;

private:
    struct Job;
    void Run(const std::shared_ptr<Job>& job);

    std::unique_ptr<QObject> context_;  // lives on the GUI thread; its queue runs the jobs
    mutable std::mutex mutex_;
    std::condition_variable finished_;
    std::vector<std::shared_ptr<Job>> pending_;  // guarded by mutex_: posted, not yet started
    bool closed_ = false;                        // guarded by mutex_
};

}  // namespace wt::ui
