// Value-reference lists: "@var M:mask I:value", "@var I:value" and "@var F:value" items.

#include <cstdio>

#include "document/qrndoc.h"
#include "platform/printf_format.h"

namespace korvath {
namespace {
constexpr std::size_t kMaxListLength = 500;
constexpr int kMaxChoices = 100;
}  // namespace

int CQRNDoc::ApplyAssignments(std::string_view key, int inBlock, std::int32_t* matchResult) {
    bool apply = true;
    bool all = true;
    if (matchResult) {
        if (*matchResult != 1) apply = false;  // test only
        *matchResult = 1;
    }
    std::string list;
    if (!reader_.ReadKeyString(key, list, kMaxListLength, inBlock)) return -1000;
    list += ' ';

    std::size_t pos = 0;
    while (pos < list.size()) {
        const char* item = list.c_str() + pos;
        char name[81] = "";
        int mask = 0, value = 0, used = 0;
        float f = 0;
        if (used = 0; std::sscanf(item, "@%80s M:%i I:%i %n", name, &mask, &value, &used) == 3 && used > 0) {
            if (IntVariableRef v = FindIntVariable(name)) {
                const int current = v.get();
                const int merged = (current & ~mask) | (value & mask);
                if (merged != current) {
                    all = false;
                    if (apply) v.set(static_cast<std::int16_t>(merged));
                }
            }
        } else if (used = 0; std::sscanf(item, "@%80s I:%i %n", name, &value, &used) == 2 && used > 0) {
            if (IntVariableRef v = FindIntVariable(name)) {
                if (value != v.get()) {
                    all = false;
                    if (apply) v.set(static_cast<std::int16_t>(value));
                }
            }
        } else if (used = 0; std::sscanf(item, "@%80s F:%g %n", name, &f, &used) == 2 && used > 0) {
            if (FloatVariableRef v = FindFloatVariable(name)) {
                if (f != v.get()) {
                    all = false;
                    if (apply) StoreFloat(v, name, f);
                }
            }
        } else {
            return 0;
        }
        pos += static_cast<std::size_t>(used);
    }
    if (!all && apply) SetModifiedFlag();
    if (matchResult) *matchResult = all ? 1 : 0;
    return 1;
}

bool CQRNDoc::FindMatchingChoice(std::string_view keyFormat, int inBlock, std::int32_t& index) {
    // The key format comes from the definition: it must take exactly one integer.
    const std::string format(keyFormat);
    if (!FormatTakesExactly(format, {FormatArg::Int}, 200)) return false;
    auto matches = [&](int i) {
        std::int32_t match = 0;
        int r = ApplyAssignments(FormatChecked(format.c_str(), i), inBlock, &match);
        return std::pair{r, r == 1 && match == 1};
    };
    if (matches(index).second) return true;
    for (int i = 0; i < kMaxChoices; ++i) {
        auto [result, matched] = matches(i);
        if (result == -1000) return false;
        if (matched) {
            index = i;
            return true;
        }
    }
    return false;
}

}  // namespace korvath
