#include "TerminalText.h"

namespace wt::rip {

std::string ForTerminal(const std::string& text) {
    std::string shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool c1 = byte == 0xC2 && i + 1 < text.size() && (static_cast<unsigned char>(text[i + 1]) & 0xE0) == 0x80;
        if (c1) ++i;
        shown += (byte < 0x20 || byte == 0x7F || c1) ? '?' : static_cast<char>(byte);
    }
    return shown;
}

}  // namespace wt::rip
