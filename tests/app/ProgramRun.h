#pragma once
// Runs the built program as a child process with a chosen environment and collects what it
// printed and how it ended.
#include <chrono>
#include <map>
#include <string>

namespace wt::test {

struct ProgramResult {
    bool exited = false;  // false: still running at the time limit (then killed)
    int exitCode = -1;
    std::string output;   // stdout and stderr together
    std::chrono::milliseconds took{0};
};

// env holds the variables the child gets on top of an empty environment (PATH and HOME are
// passed through unless env sets them).
ProgramResult RunProgram(const std::string& program, const std::map<std::string, std::string>& env,
                         int timeoutMs);

}  // namespace wt::test
