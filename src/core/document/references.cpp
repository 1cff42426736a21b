// Variable references inside formulas ("I:Name:", "T:Table:", "F:Gain:", "M:RPM:") and the
// store and load statements ("I@Target=expression").

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "definition/numeric.h"
#include "document/qrndoc.h"
#include "platform/printf_format.h"

namespace korvath {
namespace {
constexpr std::size_t kMaxReferenceName = 80;
constexpr int kNoLiveValue = -1000;
constexpr const char* kStoreVariableNotFound = "Store variable not found for formula %s";
constexpr const char* kStoreTypeNotRecognized = "Store variable type '%c' not recognized for variable %s";
}  // namespace

int CQRNDoc::SubstituteReferences(std::string& formula, float position, std::vector<int>* ramValues) {
    int result = 1000;
    if (ramValues) ramValues->clear();
    for (;;) {
        const auto colon = formula.find(':');
        if (colon == std::string::npos) return result;
        if (colon == 0) return -1000;
        auto nameEnd = formula.find_first_of(" \t\r\n\v\f", colon + 1);
        if (nameEnd == std::string::npos) nameEnd = formula.size();
        std::string name = formula.substr(colon + 1, nameEnd - colon - 1);
        if (auto close = name.find(':'); close != std::string::npos) name.resize(close);
        if (name.size() > kMaxReferenceName) name.resize(kMaxReferenceName);

        std::string printed;
        switch (std::toupper(static_cast<unsigned char>(formula[colon - 1]))) {
            case 'I': {
                IntVariableRef v = FindIntVariable(name);
                if (!v) return -1000;
                printed = std::to_string(v.get());
                break;
            }
            case 'F': {
                FloatVariableRef v = FindFloatVariable(name);
                if (!v) return -1000;
                printed = FormatText("%g", static_cast<double>(v.get()));
                break;
            }
            case 'T': {
                const int trace = FindTableVariable(name);
                if (trace < 0 || trace >= kNumTraces) return -1000;
                const auto& p = cal_.points[static_cast<std::size_t>(trace)];
                auto at = [&](double x) {
                    return static_cast<int>(p[static_cast<std::size_t>(std::clamp(TruncToInt32(x), 0, kPointsPerTrace - 1))]);
                };
                printed = std::to_string((at(position) + at(static_cast<double>(position) + 0.5)) / 2);
                break;
            }
            case 'M': {
                const int live = liveSource_ ? liveSource_->ReadRamVariable(name.c_str()) : kNoLiveValue;
                if (live == kNoLiveValue) return -1000;
                printed = std::to_string(live);
                result = live;
                if (ramValues) ramValues->push_back(live);
                break;
            }
            default: return -1000;
        }
        // The kind letter, the colon, the name and the closing colon give way to the number.
        const std::size_t start = colon - 1;
        const std::size_t length = std::min(formula.size() - start, 2 + name.size() + 1);
        formula.replace(start, length, printed);
    }
}

bool CQRNDoc::ExecuteFormulaStatement(const std::string& statement, std::string& errorText) {
    const auto equals = statement.find('=');
    if (equals == std::string::npos || equals == 0) {
        errorText = FormatText(kStoreVariableNotFound, statement.c_str());
        return false;
    }
    const std::string target(TrimText(std::string_view(statement).substr(0, equals)));
    std::string expression(TrimText(std::string_view(statement).substr(equals + 1)));
    const char kind = target.empty() ? ' ' : target[0];
    if (kind != 'I' && kind != 'i' && kind != 'F' && kind != 'f') {
        errorText = FormatText(kStoreTypeNotRecognized, kind, target.c_str());
        return false;
    }
    const auto at = target.find('@');
    if (at == std::string::npos) return false;
    const std::string name(TrimText(std::string_view(target).substr(at + 1)));

    SubstituteReferences(expression, 0);
    const auto value = static_cast<float>(Evaluate(expression, 1.0));
    if (kind == 'I' || kind == 'i') {
        if (IntVariableRef v = FindIntVariable(name)) v.set(TruncToInt16(static_cast<double>(value) + 0.5));
    } else {
        if (FloatVariableRef v = FindFloatVariable(name)) StoreFloat(v, name, value);
    }
    return true;
}

}  // namespace korvath
