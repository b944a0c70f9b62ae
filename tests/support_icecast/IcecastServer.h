#pragma once
// Starts a private Icecast2 server on 127.0.0.1 with one or more mount points, each fed by an
// ffmpeg of its own (noise encoded as MP3 at 128 kbit/s), and changes a mount's announced
// title through the server's admin interface. Further mounts can be fed with AAC (ffmpeg,
// titles through the admin interface too) and with chained Ogg Vorbis or Opus streams (titles
// in band, see OggSource). Everything lives in a temporary folder that the destructor
// removes, after stopping every process.

#include "OggSource.h"

#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

namespace wt::test {

class IcecastServer {
public:
    // mounts: how many mount points ("/stream.mp3", "/stream2.mp3", ...).
    explicit IcecastServer(int mounts = 1) : mounts_(mounts < 1 ? 1 : mounts) {}
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
    int DropListeners(const std::string& mount = "/stream.mp3");

    // The stream URL of a mount (0 is the first), e.g. http://127.0.0.1:PORT/stream.mp3
    std::string StreamUrl(int mount = 0) const;
    // "/stream.mp3", "/stream2.mp3", ...
    std::string MountName(int mount = 0) const;
    int Port() const { return port_; }
    // Announces a new title to every listener of a mount; false when the server refused it.
    bool SetTitle(const std::string& title, int mount = 0);
    bool SetTitle(const std::string& title, const std::string& mount);

    // Feeds another mount (e.g. "/aac") with noise encoded as AAC in ADTS frames; waits until
    // it is live. Kill stops it and Restart does not bring it back.
    bool AddAacMount(const std::string& mount, int timeoutMs = 15000);
    // Feeds another mount with the songs as a chained Ogg stream (codec "libvorbis" or
    // "libopus"), over and over at real-time pace. The source is returned for its songs' bytes.
    OggSource* AddOggMount(const std::string& mount, const std::string& codec, std::vector<OggSong> songs,
                           int timeoutMs = 15000);
    std::string MountUrl(const std::string& mount) const;
    // How many finished requests of the access log name this text in their request line.
    int Requests(const std::string& text) const;
    const std::string& Error() const { return error_; }

private:
    // Every MP3 mount, or the one named.
    bool WaitForMount(int timeoutMs, const std::string& mount = {});
    bool Launch(int timeoutMs);
    std::string folder_;
    std::string error_;
    int port_ = 0;
    pid_t icecastPid_ = -1;
    int mounts_ = 1;
    std::vector<pid_t> ffmpegPids_;
    std::vector<pid_t> extraPids_;
    std::vector<std::unique_ptr<OggSource>> oggSources_;
};

}  // namespace wt::test
