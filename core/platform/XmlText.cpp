#include "platform/XmlText.h"

#include <cstdint>

#include "platform/TextEncoding.h"

namespace wt {

namespace {

char NamedEntity(std::string_view name) {
    if (name == "amp") return '&';
    if (name == "lt") return '<';
    if (name == "gt") return '>';
    if (name == "quot") return '"';
    if (name == "apos") return '\'';
    return 0;
}

// "#123" or "#x7B": true with its value when it is a numeric reference (the value may name
// no valid character); false when it is not one.
bool NumericReference(std::string_view name, std::uint32_t& value) {
    if (name.size() < 2 || name[0] != '#') return false;
    const bool hex = name[1] == 'x' || name[1] == 'X';
    const std::string_view digits = name.substr(hex ? 2 : 1);
    if (digits.empty()) return false;
    value = 0;
    for (char c : digits) {
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return false;
        // Past U+10FFFF nothing is valid; stop growing so that the value cannot wrap.
        if (value <= 0x10FFFF) value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(d);
    }
    return true;
}

}  // namespace

std::string DecodeXmlText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t amp = text.find('&', i);
        if (amp == std::string_view::npos) {
            out.append(text.substr(i));
            break;
        }
        out.append(text.substr(i, amp - i));
        const std::size_t semi = text.find(';', amp + 1);
        // Longer names are no reference we know; the '&' stays and reading goes on after it.
        if (semi == std::string_view::npos || semi - amp > 16) {
            out += '&';
            i = amp + 1;
            continue;
        }
        const std::string_view name = text.substr(amp + 1, semi - amp - 1);
        std::uint32_t cp = 0;
        if (const char named = NamedEntity(name)) {
            out += named;
        } else if (NumericReference(name, cp)) {
            if (cp != 0 && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF)) AppendUtf8(out, cp);
        } else {
            out.append(text.substr(amp, semi - amp + 1));
        }
        i = semi + 1;
    }
    return out;
}

}  // namespace wt
