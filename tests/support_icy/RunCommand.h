#pragma once
// Runs a command line through the shell (for the command-line tools' tests): its standard
// output, and its exit status in status.
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace wt::test {

inline std::string RunCommand(const std::string& command, int& status) {
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string output;
    if (!pipe) return output;
    std::array<char, 4096> buffer;
    while (std::fgets(buffer.data(), buffer.size(), pipe)) output += buffer.data();
    status = WEXITSTATUS(::pclose(pipe));
    return output;
}

}  // namespace wt::test
