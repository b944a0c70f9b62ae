#include "SettingsCommands.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include "platform/ProgramFolder.h"
#include "settings/zIniData.h"

namespace wt::tool {

namespace {

constexpr const char* kUsage =
    "usage: wavetrap-settings [FILE] COMMAND\n"
    "FILE is the settings file; without it the tool works on the program's own: cfg.dat in\n"
    "$XDG_CONFIG_HOME/wavetrap/ (~/.config/wavetrap/), or beside the program in portable mode\n"
    "(its folder holds cfg.dat or a file named portable). Name a file that is called like a\n"
    "command with a path (./list).\n"
    "commands:\n"
    "  list                    every record: key, kind, form, stored size, value\n"
    "  get NAME                the value as text, nothing added\n"
    "  set-text NAME VALUE     store a text (an empty text removes the setting)\n"
    "  set-int NAME N          store an integer\n"
    "  set-bool NAME true|false\n"
    "  delete NAME             remove a setting\n";

const std::set<std::string> kCommands = {"list", "get", "set-text", "set-int", "set-bool", "delete"};

struct UsageError {
    std::string message;
};

// One line per value: CR, LF, backslash and other control bytes are escaped.
std::string Escaped(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else if (c == '\\') out += "\\\\";
        else if (c < 0x20 || c == 0x7F) {
            char buf[5];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::int32_t ParseInt(const std::string& text) {
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) throw UsageError{"not a 32-bit integer: " + text};
    return value;
}

bool ParseBool(const std::string& text) {
    if (text == "true") return true;
    if (text == "false") return false;
    throw UsageError{"expected true or false: " + text};
}

void List(TzIniData& store, std::ostream& out) {
    for (const IniEntry& e : store.Records()) {
        char key[9];
        std::snprintf(key, sizeof key, "%08X", static_cast<unsigned>(e.key));
        out << key;
        if (e.IsInteger()) {
            out << " integer inline 0 " << e.value << '\n';
        } else {
            const long long size = e.value < 0 ? -static_cast<long long>(e.value) : e.value;
            out << " text " << (e.value < 0 ? "compressed " : "raw ") << size << ' '
                << Escaped(store.RecordText(e)) << '\n';
        }
    }
}

}  // namespace

int RunSettingsCommand(std::vector<std::string> args, const std::string& defaultFile, std::ostream& out,
                       std::ostream& err) {
    try {
        if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
            out << kUsage;
            return 0;
        }
        const bool usedDefault = !args.empty() && kCommands.count(args[0]);
        if (usedDefault) args.insert(args.begin(), defaultFile);
        if (args.size() < 2) throw UsageError{};
        // The file is named relative to the working folder, not the program's folder.
        const std::string file = std::filesystem::absolute(args[0]).string();
        const std::string& command = args[1];
        const auto need = [&](std::size_t count) {
            if (args.size() != count + 2) throw UsageError{command + " takes " + std::to_string(count) + " argument(s)"};
        };
        const bool reading = command == "list" || command == "get";
        if (reading && !std::filesystem::exists(file)) {
            err << "No settings file " << file << '\n';
            return 1;
        }
        // The user's own file may be written before the program has ever run.
        if (usedDefault && !reading) CreateUserFolder(std::filesystem::path(file).parent_path().string());
        if (command == "list") {
            need(0);
            TzIniData store(file, true);
            List(store, out);
        } else if (command == "get") {
            need(1);
            TzIniData store(file, true);
            if (!store.ValueExists(args[2])) {
                err << "No setting named " << args[2] << '\n';
                return 1;
            }
            out << store.ReadString(args[2], "");
        } else if (command == "set-text") {
            need(2);
            TzIniData store(file, false);
            store.WriteString(args[2], args[3]);
        } else if (command == "set-int") {
            need(2);
            const std::int32_t value = ParseInt(args[3]);
            TzIniData store(file, false);
            store.WriteInteger(args[2], value);
        } else if (command == "set-bool") {
            need(2);
            const bool value = ParseBool(args[3]);
            TzIniData store(file, false);
            store.WriteBool(args[2], value);
        } else if (command == "delete") {
            need(1);
            TzIniData store(file, false);
            if (!store.DeleteValue(args[2])) {
                err << "No setting named " << args[2] << '\n';
                return 1;
            }
        } else {
            throw UsageError{"unknown command: " + command};
        }
        out.flush();
        return 0;
    } catch (const UsageError& e) {
        if (!e.message.empty()) err << e.message << '\n';
        err << kUsage;
        return 2;
    } catch (const std::exception& e) {
        err << e.what() << '\n';
        return 1;
    }
}

}  // namespace wt::tool
