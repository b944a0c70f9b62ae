#pragma once
// A place that says what stations play now. The wish watcher asks each of its sources when the
// source says it is due, and matches what comes back against the wish list; every source hands
// back the same kind of hit, so the window treats them all alike.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "wishes/WishAPI.h"
#include "wishes/WishInfo.h"

namespace wt {

class WishSource {
public:
    virtual ~WishSource() = default;
    // Whether the source may be asked at nowMs (a tick count); a source keeps its own pace.
    virtual bool Due(std::uint32_t nowMs) const = 0;
    // The stations seen now, with what they play. wishes: the current wish list, never empty
    // (a source that searches per wish uses it; a listing of every station ignores it).
    // Failures are silent: what could not be read adds nothing. abort is checked between reads.
    virtual std::vector<TWishInfo> Look(std::uint32_t nowMs, const std::vector<std::string>& wishes,
                                        const AbortCheck& abort) = 0;
    // A short name for where a hit was found ("directory listing", "status pages").
    virtual std::string Name() const = 0;
    // What the last look found, for the user ("directory listing: 1204 streams", "directory
    // listing: no answer"); "" before the first look. Called on the looking thread.
    virtual std::string Summary() const { return {}; }
};

// Whether a stream announced with this server type (a MIME type, parameters allowed, letter
// case ignored) is one the rips can record: MP3, AAC, Ogg Vorbis and Ogg Opus.
bool CanRipServerType(std::string_view serverType);

}  // namespace wt
