#pragma once
// What the controller link needs from the document that owns it. The document implements this
// interface; comm/ never sees the document itself.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvath {

class MonitorClient {
public:
    virtual ~MonitorClient() = default;

    // Modal message box (styles and results of platform/message_style.h).
    virtual int ShowMessage(std::string_view text, std::string_view caption, unsigned style) = 0;

    // Called by CTCS_Monitor::set_connected on every change of the connected flag.
    virtual void ShowConnectionStatus(int connected) = 0;

    // Asks the controller for its versions (through CTCS_Monitor::query_versions), re-targets the
    // calibration when they changed, and marks the link connected on success. The link timer
    // calls it while the link is lost and while no live-data items are registered.
    virtual bool IdentifyController(int declarationsMode, int notify) = 0;

    // --- the loaded definition, as the live-data poller reads "[DataItems]"
    // The reader's cursors are shared: select the section, then a block, then read its keys.
    // inBlock 0 reads the selected section, anything else the selected block. Without a
    // definition every read fails, so the poller finds no items.
    virtual bool FindSection(std::string_view header, int continueSearch) {
        (void)header, (void)continueSearch;
        return false;
    }
    virtual bool FindBlock(std::string_view key, std::string& label, int continueSearch) {
        (void)key, (void)label, (void)continueSearch;
        return false;
    }
    // The whole value of a key (trimmed); defaultText null: no default.
    virtual bool FindKeyValue(std::string_view key, std::string& value, int inBlock, const char* defaultText) {
        (void)key, (void)inBlock;
        if (defaultText) value = defaultText;
        return false;
    }
    virtual bool ReadKeyString(std::string_view key, std::string& out, std::size_t maxLength, int inBlock,
                               const char* defaultText) {
        (void)key, (void)maxLength, (void)inBlock;
        if (defaultText) out = defaultText;
        return false;
    }
    virtual int ReadKeyInt(std::string_view key, std::int32_t& out, int inBlock, std::int32_t defaultValue) {
        (void)key, (void)inBlock;
        out = defaultValue;
        return 0;
    }
    virtual int ReadKeyFloat(std::string_view key, float& out, int inBlock, float defaultValue) {
        (void)key, (void)inBlock;
        out = defaultValue;
        return 0;
    }

    // Replaces the variable references of a data item's formula by their values; "M:"
    // references read the controller's RAM. -1000 when a reference cannot be resolved;
    // otherwise the last RAM value read, or 1000 when the formula reads none. ramValues receives
    // every RAM value read, in formula order.
    virtual int SubstituteItemReferences(std::string& formula, std::vector<int>& ramValues) {
        (void)formula;
        ramValues.clear();
        return -1000;
    }
};

}  // namespace korvath
