#include "IcecastServer.h"

#include "net/PercentEncoding.h"

#include <curl/curl.h>

#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

namespace wt::test {

namespace {

const char kSourcePassword[] = "wt-source";
const char kAdminPassword[] = "wt-admin";

bool OnPath(const char* program) {
    const char* path = std::getenv("PATH");
    if (!path) return false;
    std::string all(path);
    std::size_t start = 0;
    while (start <= all.size()) {
        std::size_t end = all.find(':', start);
        if (end == std::string::npos) end = all.size();
        std::string candidate = all.substr(start, end - start) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

// A port that was free a moment ago: bind to port 0 and read back what the kernel chose.
int FreePort() {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return 0;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0) {
        port = ntohs(addr.sin_port);
    }
    close(fd);
    return port;
}

pid_t Spawn(const std::vector<std::string>& args, const std::string& logFile) {
    pid_t pid = fork();
    if (pid == 0) {
        FILE* log = std::fopen(logFile.c_str(), "w");
        if (log) {
            dup2(fileno(log), 1);
            dup2(fileno(log), 2);
        }
        std::vector<char*> argv;
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

void KillProcess(pid_t& pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) { pid = -1; return; }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    pid = -1;
}

std::size_t Discard(char*, std::size_t size, std::size_t n, void*) { return size * n; }

// GET with a short time-out; returns the HTTP status or 0.
long HttpGetStatus(const std::string& url, const char* userpwd, std::string* body) {
    CURL* curl = curl_easy_init();
    if (!curl) return 0;
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, 3000L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    if (userpwd) curl_easy_setopt(curl, CURLOPT_USERPWD, userpwd);
    if (body) {
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION,
                         +[](char* data, std::size_t size, std::size_t n, void* out) {
                             static_cast<std::string*>(out)->append(data, size * n);
                             return size * n;
                         });
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, body);
    } else {
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Discard);
    }
    long status = 0;
    if (curl_easy_perform(curl) == CURLE_OK) curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_cleanup(curl);
    return status;
}

}  // namespace

IcecastServer::~IcecastServer() { Stop(); }

bool IcecastServer::Available() { return OnPath("icecast2") && OnPath("ffmpeg"); }

bool IcecastServer::Start(int timeoutMs) {
    if (!Available()) {
        error_ = "icecast2 or ffmpeg not installed";
        return false;
    }
    char templ[] = "/tmp/wt-icecast-XXXXXX";
    if (!mkdtemp(templ)) {
        error_ = "cannot create a temporary folder";
        return false;
    }
    folder_ = templ;
    // Icecast drops root privileges to the user below, which must be able to write its logs.
    chmod(folder_.c_str(), 0777);
    port_ = FreePort();
    std::ofstream config(folder_ + "/icecast.xml");
    config << "<icecast>\n"
              "<limits><clients>400</clients><sources>" << mounts_ + 8 << "</sources><source-timeout>10</source-timeout>"
              "<burst-size>65536</burst-size></limits>\n"
              "<authentication><source-password>" << kSourcePassword << "</source-password>"
              "<admin-user>admin</admin-user><admin-password>" << kAdminPassword << "</admin-password>"
              "</authentication>\n"
              "<hostname>127.0.0.1</hostname>\n"
              "<listen-socket><port>" << port_ << "</port><bind-address>127.0.0.1</bind-address></listen-socket>\n"
              "<fileserve>1</fileserve>\n";
    for (int i = 0; i < mounts_; ++i) config << "<mount><mount-name>" << MountName(i) << "</mount-name></mount>\n";
    config <<
              "<paths><basedir>/usr/share/icecast2</basedir><logdir>" << folder_ << "</logdir>"
              "<webroot>/usr/share/icecast2/web</webroot><adminroot>/usr/share/icecast2/admin</adminroot>"
              "<pidfile>" << folder_ << "/icecast.pid</pidfile></paths>\n"
              "<logging><accesslog>access.log</accesslog><errorlog>error.log</errorlog><loglevel>2</loglevel></logging>\n"
              "<security><chroot>0</chroot>";
    if (geteuid() == 0) config << "<changeowner><user>nobody</user><group>nogroup</group></changeowner>";
    config << "</security>\n</icecast>\n";
    config.close();
    return Launch(timeoutMs);
}

bool IcecastServer::Restart(int timeoutMs) { return Launch(timeoutMs); }

void IcecastServer::Kill() {
    for (auto& source : oggSources_) source->Stop();
    oggSources_.clear();
    for (auto& pid : extraPids_) KillProcess(pid);
    extraPids_.clear();
    for (pid_t& pid : ffmpegPids_) KillProcess(pid);
    ffmpegPids_.clear();
    KillProcess(icecastPid_);
}

bool IcecastServer::Launch(int timeoutMs) {
    icecastPid_ = Spawn({"icecast2", "-c", folder_ + "/icecast.xml"}, folder_ + "/icecast.out");
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (HttpGetStatus("http://127.0.0.1:" + std::to_string(port_) + "/status-json.xsl", nullptr, nullptr) != 200) {
        if (std::chrono::steady_clock::now() > deadline) {
            error_ = "icecast2 did not start";
            Stop();
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    for (int i = 0; i < mounts_; ++i) {
        std::string target = "icecast://source:" + std::string(kSourcePassword) + "@127.0.0.1:" +
                             std::to_string(port_) + MountName(i);
        // Noise, so that no two frames of the stream are alike and doubled audio shows; no tag or
        // Xing frame, which a live source would not send either.
        ffmpegPids_.push_back(Spawn({"ffmpeg", "-hide_banner", "-loglevel", "error", "-re", "-f", "lavfi", "-i",
                                     "anoisesrc=color=pink:amplitude=0.3:sample_rate=44100", "-c:a", "libmp3lame",
                                     "-b:a", "128k", "-write_xing", "0", "-id3v2_version", "0", "-content_type",
                                     "audio/mpeg", "-f", "mp3", target},
                                    folder_ + "/ffmpeg" + std::to_string(i + 1) + ".out"));
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (!WaitForMount(static_cast<int>(std::max<long long>(left.count(), 1000)))) {
        error_ = "the ffmpeg source did not reach icecast2";
        Stop();
        return false;
    }
    return true;
}

bool IcecastServer::WaitForMount(int timeoutMs, const std::string& mount) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        std::string body;
        HttpGetStatus("http://127.0.0.1:" + std::to_string(port_) + "/status-json.xsl", nullptr, &body);
        bool all = true;
        if (!mount.empty()) all = body.find(mount + "\"") != std::string::npos;
        for (int i = 0; mount.empty() && i < mounts_; ++i) all = all && body.find(MountName(i) + "\"") != std::string::npos;
        if (all) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

void IcecastServer::Stop() {
    Kill();
    if (!folder_.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
        folder_.clear();
    }
}

std::string IcecastServer::MountName(int mount) const {
    return mount <= 0 ? "/stream.mp3" : "/stream" + std::to_string(mount + 1) + ".mp3";
}

std::string IcecastServer::StreamUrl(int mount) const { return MountUrl(MountName(mount)); }

std::string IcecastServer::MountUrl(const std::string& mount) const {
    return "http://127.0.0.1:" + std::to_string(port_) + mount;
}

bool IcecastServer::AddAacMount(const std::string& mount, int timeoutMs) {
    const std::string target = "icecast://source:" + std::string(kSourcePassword) + "@127.0.0.1:" +
                               std::to_string(port_) + mount;
    extraPids_.push_back(Spawn({"ffmpeg", "-hide_banner", "-loglevel", "error", "-re", "-f", "lavfi", "-i",
                                "anoisesrc=color=pink:amplitude=0.3:sample_rate=44100", "-c:a", "aac", "-b:a", "96k",
                                "-content_type", "audio/aac", "-f", "adts", target},
                               folder_ + "/ffmpeg-aac.out"));
    if (WaitForMount(timeoutMs, mount)) return true;
    error_ = "the AAC source did not reach icecast2";
    return false;
}

OggSource* IcecastServer::AddOggMount(const std::string& mount, const std::string& codec, std::vector<OggSong> songs,
                                      int timeoutMs) {
    const std::string folder = folder_ + "/ogg" + std::to_string(oggSources_.size());
    std::filesystem::create_directories(folder);
    auto source = std::make_unique<OggSource>(folder, codec, std::move(songs));
    if (!source->Prepare(error_) || !source->Start(port_, mount, kSourcePassword, error_)) return nullptr;
    if (!WaitForMount(timeoutMs, mount)) {
        error_ = "the Ogg source did not reach icecast2";
        return nullptr;
    }
    oggSources_.push_back(std::move(source));
    return oggSources_.back().get();
}

bool IcecastServer::SetTitle(const std::string& title, int mount) { return SetTitle(title, MountName(mount)); }

bool IcecastServer::SetTitle(const std::string& title, const std::string& mount) {
    std::string userpwd = std::string("admin:") + kAdminPassword;
    std::string body;
    long status = HttpGetStatus("http://127.0.0.1:" + std::to_string(port_) +
                                    "/admin/metadata?mount=" + mount + "&mode=updinfo&song=" + net::PercentEncode(title),
                                userpwd.c_str(), &body);
    return status == 200 && body.find("<return>1</return>") != std::string::npos;
}

}  // namespace wt::test

namespace wt::test {

int IcecastServer::DropListeners(const std::string& mount) {
    std::string userpwd = std::string("admin:") + kAdminPassword;
    std::string base = "http://127.0.0.1:" + std::to_string(port_) + "/admin/";
    std::string list;
    HttpGetStatus(base + "listclients?mount=" + mount, userpwd.c_str(), &list);
    int dropped = 0;
    for (std::size_t at = list.find("<ID>"); at != std::string::npos; at = list.find("<ID>", at + 1)) {
        std::size_t start = at + 4;
        std::string id = list.substr(start, list.find('<', start) - start);
        std::string body;
        if (HttpGetStatus(base + "killclient?mount=" + mount + "&id=" + id, userpwd.c_str(), &body) == 200) ++dropped;
    }
    return dropped;
}

}  // namespace wt::test

namespace wt::test {

int IcecastServer::Requests(const std::string& text) const {
    std::ifstream log(folder_ + "/access.log");
    int count = 0;
    for (std::string line; std::getline(log, line);)
        if (line.find(text) != std::string::npos) ++count;
    return count;
}

}  // namespace wt::test
