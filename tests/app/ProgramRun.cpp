#include "ProgramRun.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace wt::test {

ProgramResult RunProgram(const std::string& program, const std::map<std::string, std::string>& env,
                         int timeoutMs) {
    std::vector<std::string> vars;
    for (const char* keep : {"PATH", "HOME"})
        if (const char* v = std::getenv(keep); v && !env.count(keep)) vars.push_back(std::string(keep) + "=" + v);
    for (const auto& [k, v] : env) vars.push_back(k + "=" + v);
    std::vector<char*> envp;
    for (auto& v : vars) envp.push_back(v.data());
    envp.push_back(nullptr);

    int pipeFds[2];
    ProgramResult result;
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return result;
    auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFds[1], 1);
        dup2(pipeFds[1], 2);
        char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
        execve(program.c_str(), argv, envp.data());
        _exit(127);
    }
    close(pipeFds[1]);
    auto deadline = start + std::chrono::milliseconds(timeoutMs);
    char buffer[4096];
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        pollfd p{pipeFds[0], POLLIN, 0};
        int ready = poll(&p, 1, static_cast<int>(left.count()));
        if (ready <= 0) continue;
        ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
        if (n <= 0) break;  // the child closed its output: it has ended
        result.output.append(buffer, static_cast<std::size_t>(n));
    }
    close(pipeFds[0]);
    int status = 0;
    pid_t done = 0;
    while (std::chrono::steady_clock::now() < deadline &&
           (done = waitpid(pid, &status, WNOHANG)) == 0)
        usleep(5000);
    if (done != pid) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    } else {
        result.exited = true;
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    result.took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    return result;
}

}  // namespace wt::test
