// The document's side of the live-data poller: the definition reads of "[DataItems]", the
// references of the item formulas, and the registration of a receiver with the monitor.

#include "document/qrndoc.h"

namespace korvath {

bool CQRNDoc::FindSection(std::string_view header, int continueSearch) {
    return reader_.FindSection(header, continueSearch);
}

bool CQRNDoc::FindBlock(std::string_view key, std::string& label, int continueSearch) {
    return reader_.FindBlock(key, label, continueSearch);
}

bool CQRNDoc::FindKeyValue(std::string_view key, std::string& value, int inBlock, const char* defaultText) {
    return reader_.FindKeyValue(key, value, inBlock, defaultText);
}

bool CQRNDoc::ReadKeyString(std::string_view key, std::string& out, std::size_t maxLength, int inBlock,
                            const char* defaultText) {
    return reader_.ReadKeyString(key, out, maxLength, inBlock, defaultText);
}

int CQRNDoc::ReadKeyInt(std::string_view key, std::int32_t& out, int inBlock, std::int32_t defaultValue) {
    return reader_.ReadKeyInt(key, out, inBlock, defaultValue);
}

int CQRNDoc::ReadKeyFloat(std::string_view key, float& out, int inBlock, float defaultValue) {
    return reader_.ReadKeyFloat(key, out, inBlock, defaultValue);
}

int CQRNDoc::SubstituteItemReferences(std::string& formula, std::vector<int>& ramValues) {
    return SubstituteReferences(formula, 0.0f, &ramValues);
}

std::int32_t CQRNDoc::LoadDataItems(LiveDataReceiver receiver) {
    if (!monitor_) return 0;
    return monitor_->load_data_items(this, std::move(receiver));
}

void CQRNDoc::UnloadDataItems(std::int32_t handle) {
    if (monitor_) monitor_->unload_data_items(handle);
}

}  // namespace korvath
