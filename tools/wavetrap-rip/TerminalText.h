#pragma once
// Station names and titles come from the network: before they reach the terminal, every
// control character (a byte below 0x20, DEL, or a UTF-8 C1 character) is shown as '?' so
// that nothing can move the cursor or change the terminal.
#include <string>

namespace wt::rip {

std::string ForTerminal(const std::string& text);

}  // namespace wt::rip
