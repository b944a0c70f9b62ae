#include "NginxServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace wt::test {

namespace {

std::uint16_t FreeLoopbackPort() {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    std::uint16_t port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
        port = ntohs(addr.sin_port);
    ::close(fd);
    return port;
}

bool Answers(std::uint16_t port) {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd);
    return ok;
}

}  // namespace

std::string NginxServer::Binary() {
    for (const char* path : {"/usr/sbin/nginx", "/usr/bin/nginx"})
        if (::access(path, X_OK) == 0) return path;
    return {};
}

NginxServer::NginxServer(std::string root, std::string workFolder) : root_(std::move(root)), work_(std::move(workFolder)) {}

NginxServer::~NginxServer() { Stop(); }

bool NginxServer::Start(std::string* error) {
    // The free port is chosen before nginx binds it; another process may take it first.
    for (int attempt = 0; attempt < 3; ++attempt)
        if (StartOnce(error)) return true;
    return false;
}

bool NginxServer::StartOnce(std::string* error) {
    const std::string binary = Binary();
    if (binary.empty()) {
        *error = "nginx is not installed";
        return false;
    }
    port_ = FreeLoopbackPort();
    std::filesystem::create_directories(work_ + "/temp");
    const std::string conf = work_ + "/nginx.conf";
    {
        std::ofstream out(conf);
        out << "daemon off;\nmaster_process off;\nworker_processes 1;\n"
            << "pid " << work_ << "/nginx.pid;\n"
            << "error_log " << work_ << "/error.log warn;\n"
            << "events { worker_connections 32; }\n"
            << "http {\n  access_log off;\n"
            << "  client_body_temp_path " << work_ << "/temp/body;\n"
            << "  proxy_temp_path " << work_ << "/temp/proxy;\n"
            << "  fastcgi_temp_path " << work_ << "/temp/fastcgi;\n"
            << "  uwsgi_temp_path " << work_ << "/temp/uwsgi;\n"
            << "  scgi_temp_path " << work_ << "/temp/scgi;\n"
            << "  types { text/plain txt; application/octet-stream db; }\n"
            << "  server {\n    listen 127.0.0.1:" << port_ << ";\n    root " << root_ << ";\n  }\n}\n";
    }
    pid_ = ::fork();
    if (pid_ == 0) {
        const std::string errorLog = work_ + "/error.log";
        ::execl(binary.c_str(), binary.c_str(), "-c", conf.c_str(), "-p", work_.c_str(), "-e", errorLog.c_str(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
        if (Answers(port_)) return true;
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            *error = "nginx exited at start (see " + work_ + "/error.log)";
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));  // polling for the port to open
    }
    Stop();
    *error = "nginx did not answer within 5 s";
    return false;
}

void NginxServer::Stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
}

}  // namespace wt::test
