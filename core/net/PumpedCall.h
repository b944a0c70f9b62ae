#pragma once
// Running a blocking call (a download) from the GUI thread without freezing the window.
#include <functional>

namespace wt::net {

// Runs work on a worker thread; meanwhile calls pump() on the calling thread about every
// 10 ms (the GUI passes a function that processes its pending events). Returns when work has
// returned and rethrows what it threw. To stop it early, make work return (for example with
// HttpClient::Cancel()); pump() may be where that is decided.
void RunWhilePumping(const std::function<void()>& work, const std::function<void()>& pump);

}  // namespace wt::net
