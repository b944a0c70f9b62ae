#pragma once
// A private nginx on 127.0.0.1 serving the files of a folder, started and stopped by a test.
#include <sys/types.h>

#include <cstdint>
#include <string>

namespace wt::test {

class NginxServer {
public:
    // Where nginx is looked for; empty when it is not installed.
    static std::string Binary();

    // Serves root (a folder) from a free port; Start() says whether it is answering.
    explicit NginxServer(std::string root, std::string workFolder);
    ~NginxServer();
    NginxServer(const NginxServer&) = delete;
    NginxServer& operator=(const NginxServer&) = delete;

    bool Start(std::string* error);
    void Stop();
    std::uint16_t Port() const { return port_; }
    // "127.0.0.1:PORT", the form the update server setting takes.
    std::string HostAndPort() const { return "127.0.0.1:" + std::to_string(port_); }

private:
    bool StartOnce(std::string* error);

    std::string root_, work_;
    std::uint16_t port_ = 0;
    pid_t pid_ = -1;
};

}  // namespace wt::test
