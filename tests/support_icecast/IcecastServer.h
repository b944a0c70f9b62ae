#pragma once
// Starts a private Icecast2 server on 127.0.0.1 with one mount point fed by ffmpeg (a sine
// tone encoded as MP3 at 128 kbit/s), and changes the announced title through the server's
// admin interface. Everything lives in a temporary folder that the destructor removes,
// after stopping both processes.

#include <string>
#include <sys/types.h>

namespace wt::test {

class IcecastServer {
public:
    IcecastServer() = default;
    ~IcecastServer();
    IcecastServer(const IcecastServer&) = delete;
    IcecastServer& operator=(const IcecastServer&) = delete;

    // True when icecast2 and ffmpeg can be found on PATH.
    static bool Available();

    // Starts the server and the source; waits (bounded) until the mount is live.
    // On failure returns false and sets Error().
    bool Start(int timeoutMs = 15000);
    void Stop();
    // An outage: kills the server and its source, keeping the port and configuration...
    void Kill();
    // ...and starts both again on the same port (the source starts a new stream).
    bool Restart(int timeoutMs = 15000);
    // Makes the server drop every listener of the mount, as a network fault would; a
    // listener that comes back gets the server's burst of recent audio first. Returns how
    // many were dropped.
    int DropListeners();

    // The stream URL of the mount, e.g. http://127.0.0.1:PORT/stream.mp3
    std::string StreamUrl() const;
    int Port() const { return port_; }
    // Announces a new title to every listener; false when the server refused it.
    bool SetTitle(const std::string& title);
    const std::string& Error() const { return error_; }

private:
    bool WaitForMount(int timeoutMs);
    bool Launch(int timeoutMs);
    std::string folder_;
    std::string error_;
    int port_ = 0;
    pid_t icecastPid_ = -1;
    pid_t ffmpegPid_ = -1;
};

}  // namespace wt::test
