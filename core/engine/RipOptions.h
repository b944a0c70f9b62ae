#pragma once
// How a rip deals with the network: time limits and the pauses between reconnections.
// The defaults are the program's; tests shorten them.
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
};

}  // namespace wt
