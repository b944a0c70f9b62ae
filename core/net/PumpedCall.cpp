#include "net/PumpedCall.h"

#include <chrono>
#include <future>
#include <thread>

namespace wt::net {

void RunWhilePumping(const std::function<void()>& work, const std::function<void()>& pump) {
    std::packaged_task<void()> task(work);
    std::future<void> done = task.get_future();
    std::thread worker(std::move(task));
    while (done.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
        if (pump) pump();
    }
    worker.join();
    done.get();
}

}  // namespace wt::net
