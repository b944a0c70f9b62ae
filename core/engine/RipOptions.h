#pragma once
// How a rip deals with the network (time limits, the pauses between reconnections) and the disk.
// The defaults are the program's; tests shorten them.
#include "platform/FileSystem.h"

namespace wt {

struct RipOptions {
    long connectTimeoutMs = 10000;
    // A connected stream that sends nothing this long is given up and reconnected.
    long stallSeconds = 30;
    // A server that accepts but sends no audio this long is given up and tried again.
    long firstByteTimeoutMs = 10000;
    // Pause before the first reconnection, doubled for each further failed one, up to
    // maxPauseMs; a connection that delivered audio starts the series again.
    int firstPauseMs = 1000;
    int maxPauseMs = 30000;
    // Connections tried before a station that never delivered audio is given up (with the
    // pauses above: about a minute).
    int firstConnectAttempts = 7;
    // Pause after each piece of the stream read (see IcyStreamOptions): fewer, larger reads.
    int readPauseMs = 400;
    // Audio bytes without a single MP3 or AAC frame or Ogg page before the stream is refused.
    unsigned long maxBytesWithoutFrames = 64 * 1024;
    // The files the songs are written to: the real ones unless a test hands in a faulty disk
    // (which must outlive the rip).
    FileSystem* files = nullptr;
    FileSystem& Files() const { return files ? *files : RealFileSystem(); }
};

}  // namespace wt
