#pragma once
// Which radio-browser servers to ask. The directory runs a changing set of mirrors, all named
// by the one host all.api.radio-browser.info: its addresses are resolved and each address's own
// name found by reverse lookup (HTTPS needs the name). A setting may name the servers instead.
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace wt {

inline constexpr const char* kDirectoryServersSetting = "DirectoryServers";
inline constexpr const char* kDirectoryDiscoveryHost = "all.api.radio-browser.info";

// The name system as discovery uses it; tests give one of their own, since they may not ask
// the real one.
struct HostLookup {
    // Every address (numeric text) of a host name; empty when it has none.
    std::function<std::vector<std::string>(const std::string& host)> addresses;
    // The name an address has (reverse lookup); "" when it has none.
    std::function<std::string(const std::string& address)> nameOf;
};

// getaddrinfo and getnameinfo. Both block, so call them off the GUI thread.
HostLookup SystemHostLookup();

// The servers a setting names, in its order: entries separated by line ends, commas or spaces;
// an entry without "http://" or "https://" is a host name reached by HTTPS. Trailing slashes
// are dropped.
std::vector<std::string> ServersFromSetting(std::string_view setting);

// The base URLs ("https://" + name) of the discovery host's servers, each name once, in random
// order. Throws DirectoryError when none is found.
std::vector<std::string> DiscoverServers(const HostLookup& lookup, std::mt19937& random);

}  // namespace wt
