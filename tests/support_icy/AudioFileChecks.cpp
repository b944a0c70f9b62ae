#include "AudioFileChecks.h"

#include <array>
#include <cstdio>
#include <cstdlib>

namespace wt::test {

namespace {

std::string Quoted(const std::string& path) {
    std::string out = "'";
    for (char c : path) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

bool Installed(const char* program) {
    std::string command = std::string("command -v ") + program + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

std::string Run(const std::string& command) {
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return "cannot run " + command;
    std::array<char, 4096> buffer;
    while (std::fgets(buffer.data(), buffer.size(), pipe)) output += buffer.data();
    ::pclose(pipe);
    return output;
}

}  // namespace

std::optional<std::string> Mp3valProblems(const std::string& path) {
    if (!Installed("mp3val")) return std::nullopt;
    std::string problems;
    std::string output = Run("mp3val " + Quoted(path) + " 2>&1");
    std::size_t start = 0;
    while (start < output.size()) {
        std::size_t end = output.find('\n', start);
        if (end == std::string::npos) end = output.size();
        std::string line = output.substr(start, end - start);
        if ((line.rfind("WARNING", 0) == 0 || line.rfind("ERROR", 0) == 0) &&
            line.find("No supported tags") == std::string::npos)
            problems += line + "\n";
        start = end + 1;
    }
    return problems;
}

std::optional<std::string> FfmpegDecodeErrors(const std::string& path) {
    if (!Installed("ffmpeg")) return std::nullopt;
    return Run("ffmpeg -nostdin -hide_banner -v error -i " + Quoted(path) + " -f null - 2>&1");
}

}  // namespace wt::test
