#include "QtDispatcher.h"

#include <QThread>

#include <algorithm>
#include <exception>

namespace wt::ui {

struct QtDispatcher::Job {
    std::function<void()> fn;
    bool started = false;    // guarded by mutex_
    bool finished = false;   // guarded by mutex_
    bool abandoned = false;  // guarded by mutex_: closed before it started
};

QtDispatcher::QtDispatcher() : context_(std::make_unique<QObject>()) {}

QtDispatcher::~QtDispatcher() { Close(); }

void QtDispatcher::Synchronize(const std::function<void()>& fn) {
    if (QThread::currentThread() == context_->thread()) {
        if (!IsClosed()) RunGuarded(fn);
        return;
    }
    auto job = std::make_shared<Job>();
    job->fn = fn;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (closed_) return;
        pending_.push_back(job);
    }
    QMetaObject::invokeMethod(context_.get(), [this, job] { Run(job); }, Qt::QueuedConnection);
    std::unique_lock<std::mutex> lock(mutex_);
    finished_.wait(lock, [&] { return job->finished || job->abandoned; });
}

void QtDispatcher::Run(const std::shared_ptr<Job>& job) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (job->abandoned) return;
        job->started = true;
        pending_.erase(std::remove(pending_.begin(), pending_.end(), job), pending_.end());
    }
    RunGuarded(job->fn);
    std::lock_guard<std::mutex> lock(mutex_);
    job->finished = true;
    finished_.notify_all();
}

void QtDispatcher::Close() {
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
    for (auto& job : pending_) job->abandoned = true;
    pending_.clear();
    finished_.notify_all();
}

bool QtDispatcher::IsClosed() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return closed_;
}

}  // namespace wt::ui
