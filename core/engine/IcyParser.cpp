#include "engine/IcyParser.h"

#include "platform/StringList.h"

#include <algorithm>

namespace wt {

IcyDemuxer::IcyDemuxer(std::size_t metaInt, AudioSink audio, MetaSink meta)
    : metaInt_(metaInt), audio_(std::move(audio)), meta_(std::move(meta)), left_(metaInt) {}

void IcyDemuxer::Feed(const char* data, std::size_t size) {
    if (metaInt_ == 0) {
        if (size) audio_(data, size);
        return;
    }
    while (size > 0) {
        switch (state_) {
            case State::Audio: {
                std::size_t n = std::min(left_, size);
                audio_(data, n);
                data += n;
                size -= n;
                left_ -= n;
                if (left_ == 0) state_ = State::Length;
                break;
            }
            case State::Length:
                left_ = static_cast<unsigned char>(*data) * 16u;
                ++data;
                --size;
                metaText_.clear();
                if (left_ == 0) {
                    state_ = State::Audio;
                    left_ = metaInt_;
                } else {
                    state_ = State::Meta;
                }
                break;
            case State::Meta: {
                std::size_t n = std::min(left_, size);
                metaText_.append(data, n);
                data += n;
                size -= n;
                left_ -= n;
                if (left_ == 0) {
                    // The block is padded with zeros after the text.
                    std::size_t end = metaText_.find('\0');
                    if (end != std::string::npos) metaText_.resize(end);
                    if (!metaText_.empty()) meta_(metaText_);
                    state_ = State::Audio;
                    left_ = metaInt_;
                }
                break;
            }
        }
    }
}

std::optional<std::string> ExtractStreamTitle(std::string_view metadata) {
    constexpr std::string_view kField = "StreamTitle=";
    std::size_t p = metadata.find(kField);
    if (p == std::string_view::npos) return std::nullopt;
    std::string_view rest = metadata.substr(p + kField.size());
    if (rest.empty()) return std::string();
    char quote = rest.front();
    if (quote != '\'' && quote != '"') {
        // An unquoted value runs to the next ';'.
        return std::string(rest.substr(0, rest.find(';')));
    }
    rest.remove_prefix(1);
    std::string closing = std::string(1, quote) + ";";
    std::size_t end = rest.find(closing);
    if (end == std::string_view::npos) {
        // No "';": the value runs to the last quote, or to the end of the text.
        end = rest.rfind(quote);
        if (end == std::string_view::npos) end = rest.size();
    }
    return std::string(rest.substr(0, end));
}

std::size_t ParseMetaInt(std::string_view headerLine, std::size_t current) {
    constexpr std::string_view kName = "icy-metaint:";
    if (headerLine.size() < kName.size() || !EqualsIgnoreCase(headerLine.substr(0, kName.size()), kName))
        return current;
    std::size_t value = 0;
    bool digits = false;
    for (char c : headerLine.substr(kName.size())) {
        if (c == ' ' || c == '\t') {
            if (digits) break;
            continue;
        }
        if (c < '0' || c > '9') break;
        digits = true;
        value = value * 10 + static_cast<std::size_t>(c - '0');
        if (value > (1u << 24)) return 0;  // absurd interval: treat the stream as plain audio
    }
    return digits ? value : 0;
}

}  // namespace wt
