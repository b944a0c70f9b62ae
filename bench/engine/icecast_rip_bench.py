#!/usr/bin/env python3
"""Rips N stations of one real Icecast2 server with wavetrap-rip, then with N streamripper
processes, and prints the CPU, context switches and memory of each side.

usage: icecast_rip_bench.py WAVETRAP_RIP N SECONDS [--no-streamripper]

With RECEIVE_MODELS=path/to/receive_models it also measures the receiving alone, a thread per
stream and one libcurl multi handle for all (pause RECEIVE_PAUSE_MS, default 400).

Icecast2 runs on 127.0.0.1 (a free port) in a temporary folder, with N mounts /s1.mp3 ...
fed by ffmpeg (pink noise, MP3 128 kbit/s); SOURCES_PER_FFMPEG mounts (default 33) share one
ffmpeg process, which encodes once and sends to each of its mounts (tee muxer), so that the
server's own load stays small. Every 10 s each mount gets a new title through the admin
interface. Both rippers run one after the other against the same server. CPU = user +
system time of the ripping processes (wait4), RSS = the sum of the rippers' resident sizes
sampled half-way through (and wavetrap-rip's peak). Nothing leaves 127.0.0.1.
"""
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse
import urllib.request

SOURCE_PW = "bench-source"
ADMIN_PW = "bench-admin"


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def admin_get(port, path):
    url = "http://127.0.0.1:%d%s" % (port, path)
    req = urllib.request.Request(url)
    import base64
    req.add_header("Authorization", "Basic " + base64.b64encode(("admin:" + ADMIN_PW).encode()).decode())
    try:
        with urllib.request.urlopen(req, timeout=5) as r:
            return r.read().decode("utf-8", "replace")
    except Exception:
        return ""


def status(port):
    try:
        with urllib.request.urlopen("http://127.0.0.1:%d/status-json.xsl" % port, timeout=5) as r:
            return r.read().decode("utf-8", "replace")
    except Exception:
        return ""


def rss_kb(pids):
    total = 0
    for pid in pids:
        try:
            with open("/proc/%d/status" % pid) as f:
                for line in f:
                    if line.startswith("VmRSS:"):
                        total += int(line.split()[1])
        except OSError:
            pass
    return total


def wait_all(procs):
    """Waits for every process; returns summed (user, system, voluntary cs, involuntary cs, max rss kB)."""
    user = system = vcs = ics = maxrss = 0
    for p in procs:
        _, _, ru = os.wait4(p.pid, 0)
        p.returncode = 0
        user += ru.ru_utime
        system += ru.ru_stime
        vcs += ru.ru_nvcsw
        ics += ru.ru_nivcsw
        maxrss = max(maxrss, ru.ru_maxrss)
    return user, system, vcs, ics, maxrss


def report(name, seconds, usage, rss_mid, ripping, stations):
    user, system, vcs, ics, maxrss = usage
    cpu = user + system
    print("%-13s CPU %.2f s (user %.2f, system %.2f) = %.1f %% of one core; %d context switches/s; "
          "RSS half-way %.1f MB (largest process peak %.1f MB); %d of %d stations ripping"
          % (name, cpu, user, system, 100 * cpu / seconds, (vcs + ics) / seconds, rss_mid / 1024.0,
             maxrss / 1024.0, ripping, stations))
    sys.stdout.flush()
    return cpu


def main():
    if len(sys.argv) < 4:
        print(__doc__)
        return 2
    tool, stations, seconds = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    with_streamripper = "--no-streamripper" not in sys.argv
    per_ffmpeg = int(os.environ.get("SOURCES_PER_FFMPEG", "33"))
    folder = tempfile.mkdtemp(prefix="wt-icecast-bench-")
    os.chmod(folder, 0o777)
    port = free_port()
    with open(os.path.join(folder, "icecast.xml"), "w") as f:
        f.write("""<icecast><limits><clients>%d</clients><sources>%d</sources><source-timeout>10</source-timeout>
<burst-size>65536</burst-size></limits>
<authentication><source-password>%s</source-password><admin-user>admin</admin-user><admin-password>%s</admin-password></authentication>
<hostname>127.0.0.1</hostname><listen-socket><port>%d</port><bind-address>127.0.0.1</bind-address></listen-socket>
<fileserve>1</fileserve>
<paths><basedir>/usr/share/icecast2</basedir><logdir>%s</logdir><webroot>/usr/share/icecast2/web</webroot>
<adminroot>/usr/share/icecast2/admin</adminroot></paths>
<logging><accesslog>access.log</accesslog><errorlog>error.log</errorlog><loglevel>1</loglevel></logging>
<security><chroot>0</chroot>%s</security></icecast>
""" % (stations * 3 + 50, stations + 10, SOURCE_PW, ADMIN_PW, port, folder,
           "<changeowner><user>nobody</user><group>nogroup</group></changeowner>" if os.geteuid() == 0 else ""))
    log = open(os.path.join(folder, "server.log"), "w")
    children = [subprocess.Popen(["icecast2", "-c", os.path.join(folder, "icecast.xml")], stdout=log, stderr=log)]
    stop = threading.Event()
    try:
        deadline = time.time() + 15
        while not status(port) and time.time() < deadline:
            time.sleep(0.1)
        mounts = ["/s%d.mp3" % (i + 1) for i in range(stations)]
        for g in range(0, stations, per_ffmpeg):
            outputs = "|".join("[f=mp3:write_xing=0:id3v2_version=0]icecast://source:%s@127.0.0.1:%d%s" % (SOURCE_PW, port, m)
                               for m in mounts[g:g + per_ffmpeg])
            children.append(subprocess.Popen(
                ["ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-re", "-f", "lavfi", "-i",
                 "anoisesrc=color=pink:amplitude=0.3:sample_rate=44100", "-c:a", "libmp3lame", "-b:a", "128k",
                 "-map", "0:a", "-f", "tee", outputs], stdout=log, stderr=log))
        deadline = time.time() + 30
        while status(port).count('"listenurl"') < stations and time.time() < deadline:
            time.sleep(0.5)
        live = status(port).count('"listenurl"')
        print("icecast2 on port %d with %d of %d mounts live, %d ffmpeg sources" % (port, live, stations, len(children) - 1))

        def titles():
            song = 0
            while not stop.is_set():
                song += 1
                for m in mounts:
                    admin_get(port, "/admin/metadata?mount=%s&mode=updinfo&song=%s" % (m, urllib.parse.quote("Song %d" % song)))
                stop.wait(10)
        threading.Thread(target=titles, daemon=True).start()
        time.sleep(2)
        urls = ["http://127.0.0.1:%d%s" % (port, m) for m in mounts]

        def run_ours(name, command):
            out = os.path.join(folder, name.replace(" ", "_"))
            with open(out + ".out", "w") as lines:
                proc = subprocess.Popen(command + ["--seconds", str(seconds), "--out", out] + urls, stdout=lines)
                time.sleep(seconds / 2)
                rss = rss_kb([proc.pid])
                usage = wait_all([proc])
            text = open(out + ".out").read()
            ripping = sum(1 for i in range(1, stations + 1) if ("\n%d song " % i) in "\n" + text)
            cpu = report(name, seconds, usage, rss, ripping, stations)
            return cpu, text

        ours_cpu, text = run_ours("wavetrap-rip", [tool])
        reasons = {}
        for line in text.splitlines():
            parts = line.split(" ", 2)
            if len(parts) == 3 and parts[1] == "lost":
                reasons[parts[2]] = reasons.get(parts[2], 0) + 1
        print("  reconnections: %d, failed stations: %d" % (text.count(" lost "), text.count(" failed ")))
        for reason, count in sorted(reasons.items(), key=lambda kv: -kv[1])[:5]:
            print("    %4d x %s" % (count, reason))

        # The receiving alone, a thread per stream against one event loop for all (receive_models).
        models = os.environ.get("RECEIVE_MODELS")
        if models:
            pause = os.environ.get("RECEIVE_PAUSE_MS", "400")
            for model in ("threads", "multi"):
                run_ours("receive %s %s ms" % (model, pause), [models, model, pause])

        if with_streamripper and shutil.which("streamripper"):
            procs = []
            for i, url in enumerate(urls):
                d = os.path.join(folder, "streamripper", str(i + 1))
                os.makedirs(d)
                procs.append(subprocess.Popen(["streamripper", url, "-d", d, "-s", "-l", str(seconds), "--quiet"],
                                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
            time.sleep(seconds / 2)
            rss = rss_kb([p.pid for p in procs])
            usage = wait_all(procs)
            ripped = sum(1 for i in range(stations)
                         if any(n.endswith(".mp3") for _, _, files in os.walk(os.path.join(folder, "streamripper", str(i + 1))) for n in files))
            theirs = report("streamripper", seconds, usage, rss, ripped, stations)
            print("wavetrap-rip uses %.1f %% of streamripper's CPU (1/%.1f)" % (100 * ours_cpu / theirs, theirs / max(ours_cpu, 1e-9)))
    finally:
        stop.set()
        for p in reversed(children):
            p.send_signal(signal.SIGTERM)
        for p in reversed(children):
            try:
                p.wait(timeout=10)
            except subprocess.TimeoutExpired:
                p.kill()
        shutil.rmtree(folder, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
