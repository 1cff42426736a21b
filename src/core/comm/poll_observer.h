#pragma once
// What a recorder of live data sees of the poller: every reading of an item (raw and converted,
// with its text), every crosshair coordinate, each change of the link, and the end of each round
// over the items. The poller's receiver (the dashboard) sees what it always saw.

#include <cstdint>
#include <string>
#include <vector>

namespace korvath {

// One reading of an item.
struct ItemReading {
    int raw = 0;                    // the last RAM value the formula read (what the limits compare)
    const std::vector<int>& ramValues;  // every RAM value the formula read, in formula order
    float value = 0.0f;             // the converted value
    const std::string& text;        // what the item's display shows
};

class PollObserver {
public:
    virtual ~PollObserver() = default;
    // item: the index into the monitor's items (CTCS_Monitor::data_item).
    virtual void OnItemRead(std::int32_t item, const ItemReading& reading) = 0;
    // axis 'X' (column units) or 'Y' (value units).
    virtual void OnCrosshair(char axis, float coordinate) = 0;
    // The connected flag changed (lost: false; answering again: true).
    virtual void OnLinkState(bool connected) = 0;
    // The poll cursor went back to the first item: every due item of the round was read.
    virtual void OnRoundComplete() = 0;
    // The items were read again from a definition, or forgotten.
    virtual void OnItemsChanged() = 0;
};

}  // namespace korvath
