#pragma once
// The hand-off of work from worker threads to the GUI thread.
//
// Synchronize(fn) runs fn on the GUI thread and waits until it has run. After Close(),
// Synchronize returns at once without running fn, so a worker blocked in a hand-off can
// never deadlock shutdown: the owner closes the dispatcher before it joins its workers.
//
// The rule for errors: an exception thrown by fn never crosses to the worker and never ends the
// program. The dispatcher catches it on the GUI thread and hands its message to the error
// reporter (the window shows it; without one it goes to stderr); Synchronize then returns
// normally and the worker goes on, or ends its own work if it must.

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace wt {

class Dispatcher {
public:
    using ErrorReporter = std::function<void(const std::string& message)>;

    virtual ~Dispatcher() = default;
    virtual void Synchronize(const std::function<void()>& fn) = 0;
    virtual void Close() = 0;
    virtual bool IsClosed() const = 0;

    // Receives the message of every error a hand-off threw, on the GUI thread.
    void SetErrorReporter(ErrorReporter reporter);

protected:
    // Runs fn under the rule above; every dispatcher runs its hand-offs through this.
    void RunGuarded(const std::function<void()>& fn) noexcept;

private:
    std::mutex reporterMutex_;
    ErrorReporter reporter_;  // guarded by reporterMutex_
};

// A dispatcher whose "GUI thread" is whichever thread calls Pump(). Used by tests and by
// the command-line tools, which run their own loop. A call from the pumping thread itself
// runs directly, as a call already on the GUI thread would.
class QueueDispatcher : public Dispatcher {
public:
    QueueDispatcher();
    ~QueueDispatcher() override;

    void Synchronize(const std::function<void()>& fn) override;
    void Close() override;
    bool IsClosed() const override;

    // Makes the calling thread the GUI thread (the constructing thread is by default).
    void BindToCurrentThread();
    // Runs every pending hand-off; returns how many ran.
    int Pump();
    // Waits up to timeoutMs for at least one hand-off, then pumps; returns how many ran.
    int PumpFor(int timeoutMs);
    // Pumps until pred() is true or timeoutMs passes; returns pred().
    bool PumpUntil(const std::function<bool()>& pred, int timeoutMs);

private:
    struct Job;
    mutable std::mutex mutex_;
    std::condition_variable queued_;
    std::deque<std::shared_ptr<Job>> jobs_;  // guarded by mutex_
    bool closed_ = false;                     // guarded by mutex_
    std::thread::id guiThread_;
};

}  // namespace wt
