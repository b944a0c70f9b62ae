#pragma once
// A row of the Browse and Downloading lists: the list item with the station's stream URL and
// catalogue ID, and for a rip its channel, channel id and start tick.
#include <QTreeWidgetItem>

#include <cstdint>
#include <string>

namespace wt::ui {

class TNetListItem : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;

    std::string URL;
    std::int32_t ChannelID = 0;
    std::int32_t StationID = 0;
    std::uint32_t StartTick = 0;
    const void* Channel = nullptr;

    bool HasChannel() const { return Channel != nullptr; }
};

}  // namespace wt::ui
