#include "platform/Dispatcher.h"

#include <chrono>
#include <cstdio>
#include <exception>

namespace wt {

void Dispatcher::SetErrorReporter(ErrorReporter reporter) {
    std::lock_guard<std::mutex> lock(reporterMutex_);
    reporter_ = std::move(reporter);
}

void Dispatcher::RunGuarded(const std::function<void()>& fn) noexcept {
    std::string message;
    try {
        fn();
        return;
    } catch (const std::exception& error) {
        message = error.what();
    } catch (...) {
        message = "An unexpected error occurred.";
    }
    ErrorReporter reporter;
    {
        std::lock_guard<std::mutex> lock(reporterMutex_);
        reporter = reporter_;
    }
    try {
        if (reporter) {
            reporter(message);
            return;
        }
    } catch (...) {
        // A reporter that fails itself still must not end the program.
    }
    std::fprintf(stderr, "wavetrap: %s\n", message.c_str());
}

struct QueueDispatcher::Job {
    std::function<void()> fn;
    bool done = false;
    std::condition_variable finished;
};

QueueDispatcher::QueueDispatcher() : guiThread_(std::this_thread::get_id()) {}

QueueDispatcher::~QueueDispatcher() { Close(); }

void QueueDispatcher::BindToCurrentThread() {
    std::lock_guard<std::mutex> lock(mutex_);
    guiThread_ = std::this_thread::get_id();
}

void QueueDispatcher::Synchronize(const std::function<void()>& fn) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (closed_) return;
    if (std::this_thread::get_id() == guiThread_) {
        lock.unlock();
        RunGuarded(fn);
        return;
    }
    auto job = std::make_shared<Job>();
    job->fn = fn;
    jobs_.push_back(job);
    queued_.notify_all();
    job->finished.wait(lock, [&] { return job->done || closed_; });
}

void QueueDispatcher::Close() {
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
    for (auto& job : jobs_) job->finished.notify_all();
    jobs_.clear();
}

bool QueueDispatcher::IsClosed() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return closed_;
}

int QueueDispatcher::Pump() {
    int ran = 0;
    for (;;) {
        std::shared_ptr<Job> job;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (jobs_.empty() || closed_) return ran;
            job = jobs_.front();
            jobs_.pop_front();
        }
        RunGuarded(job->fn);
        ++ran;
        std::lock_guard<std::mutex> lock(mutex_);
        job->done = true;
        job->finished.notify_all();
    }
}

int QueueDispatcher::PumpFor(int timeoutMs) {
    {
        std::unique_lock<std::mutex> lock(mutex_);
        queued_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                         [&] { return !jobs_.empty() || closed_; });
    }
    return Pump();
}

bool QueueDispatcher::PumpUntil(const std::function<bool()>& pred, int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!pred()) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return pred();
        PumpFor(static_cast<int>(std::min<long long>(left.count(), 20)));
    }
    return true;
}

}  // namespace wt
