#pragma once
// What a recorder of live data sees of the poller: every reading of an item (raw and converted,
// with its text), every crosshair coordinate, each change of the link, and the end of each round
// over the items. The poller's receiver (the dashboard) sees what it always saw.

#include <cstdint>
#include <string>

namespace korvath {

class PollObserver {
public:
    virtual ~PollObserver() = default;
    // item: the index into the monitor's items (CTCS_Monitor::data_item); raw: the last RAM value
    // the formula read; value: the converted value; text: what the item's display shows.
    virtual void OnItemRead(std::int32_t item, int raw, float value, const std::string& text) = 0;
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
