#include "directory/DirectoryServers.h"

#include <netdb.h>
#include <sys/socket.h>

#include <algorithm>
#include <set>

#include "directory/DirectoryStation.h"
#include "net/HttpClient.h"

namespace wt {

HostLookup SystemHostLookup() {
    HostLookup lookup;
    lookup.addresses = [](const std::string& host) {
        std::vector<std::string> found;
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* list = nullptr;
        if (getaddrinfo(host.c_str(), nullptr, &hints, &list) != 0) return found;
        for (addrinfo* a = list; a; a = a->ai_next) {
            char text[NI_MAXHOST];
            if (getnameinfo(a->ai_addr, a->ai_addrlen, text, sizeof text, nullptr, 0, NI_NUMERICHOST) == 0 &&
                std::find(found.begin(), found.end(), text) == found.end())
                found.emplace_back(text);
        }
        freeaddrinfo(list);
        return found;
    };
    lookup.nameOf = [](const std::string& address) -> std::string {
        addrinfo hints{};
        hints.ai_flags = AI_NUMERICHOST;
        addrinfo* list = nullptr;
        if (getaddrinfo(address.c_str(), nullptr, &hints, &list) != 0) return {};
        char name[NI_MAXHOST];
        const int rc = getnameinfo(list->ai_addr, list->ai_addrlen, name, sizeof name, nullptr, 0, NI_NAMEREQD);
        freeaddrinfo(list);
        return rc == 0 ? std::string(name) : std::string();
    };
    return lookup;
}

std::vector<std::string> ServersFromSetting(std::string_view setting) {
    std::vector<std::string> servers;
    std::size_t pos = 0;
    while (pos < setting.size()) {
        const std::size_t end = setting.find_first_of("\r\n, \t", pos);
        std::string entry(setting.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos));
        pos = end == std::string_view::npos ? setting.size() : end + 1;
        while (!entry.empty() && entry.back() == '/') entry.pop_back();
        if (entry.empty()) continue;
        if (!net::IsHttpUrl(entry)) entry = "https://" + entry;
        servers.push_back(std::move(entry));
    }
    return servers;
}

std::vector<std::string> DiscoverServers(const HostLookup& lookup, std::mt19937& random) {
    std::set<std::string> names;
    for (const std::string& address : lookup.addresses(kDirectoryDiscoveryHost)) {
        std::string name = lookup.nameOf(address);
        while (!name.empty() && name.back() == '.') name.pop_back();
        if (!name.empty()) names.insert(name);
    }
    if (names.empty())
        throw DirectoryError(std::string("No radio-browser server found: ") + kDirectoryDiscoveryHost +
                             " could not be resolved.");
    std::vector<std::string> servers;
    for (const std::string& name : names) servers.push_back("https://" + name);
    // Random order spreads the load over the mirrors, as the directory asks of its clients.
    std::shuffle(servers.begin(), servers.end(), random);
    return servers;
}

}  // namespace wt
