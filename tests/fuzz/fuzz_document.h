#pragma once
// A document with recording hosts and no controller, for the fuzz targets: messages and statuses
// are kept (never shown), settings live in memory, and the program directory holds nothing.
//
// Building a document costs far more than most inputs do (a new calibration with its 4096-slot
// variable table, the program directory looked up), so a target builds its documents once and
// renews them before each input: back to the state they were built in, at the cost of a copy.

#include <array>
#include <map>
#include <string>
#include <vector>

#include "document/qrndoc.h"
#include "fuzz_target.h"
#include "support/recording_host.h"

namespace korvath::fuzz {

class FuzzDocument {
public:
    testing::RecordingHost host;
    testing::MemorySettings settings;
    CQRNDoc doc{DocumentHost{host, host, settings}, "/nonexistent/korvath-fuzz"};

    FuzzDocument() = default;
    FuzzDocument(const FuzzDocument&) = delete;
    FuzzDocument& operator=(const FuzzDocument&) = delete;

    // Everything an input may have changed, as it was built: the calibration (variables,
    // properties, view state), the definition text, the trace bindings, the hosts' records.
    void Renew() {
        doc.SetGraph(nullptr);
        doc.SetViewHost(nullptr);
        // The variable table keeps its storage: copying 4096 slots would cost more than the input.
        Calibration& cal = doc.calibration();
        std::vector<VariableSlot> slots = std::move(cal.variables.slots);
        cal = built_.calibration;
        cal.variables.slots = std::move(slots);
        cal.variables.Reset(1);
        doc.reader().Clear();
        for (int trace = 0; trace < kNumTraces; ++trace) doc.traceBinding(trace) = built_.bindings[static_cast<std::size_t>(trace)];
        doc.SetDefinitionDirectory(built_.definitionDirectory);
        doc.SetShowConverted(true);
        doc.SetModifiedFlag(false);
        host.messages.clear();
        host.statuses.clear();
        host.progress.clear();
        host.answer = 0;
        settings.values = built_.settings;
    }

private:
    struct Built {
        explicit Built(FuzzDocument& f)
            : calibration(f.doc.calibration()), definitionDirectory(f.doc.definitionDirectory()), settings(f.settings.values) {
            for (int trace = 0; trace < kNumTraces; ++trace) bindings[static_cast<std::size_t>(trace)] = f.doc.traceBinding(trace);
            // Renew resets the slots instead of copying them: a new calibration's are all blank.
            const VariableTable& table = calibration.variables;
            KORVATH_FUZZ_CHECK(table.storeFormulas.empty() && table.loadFormulas.empty());
            for (const VariableSlot& slot : table.slots)
                KORVATH_FUZZ_CHECK(slot.name.empty() && slot.value == decltype(slot.value){} && slot.address == -1 &&
                                   slot.type == 0 && slot.location == 0);
            calibration.variables.slots.clear();
        }
        Calibration calibration;  // without the variable table's slots
        std::string definitionDirectory;
        std::map<std::string, std::string> settings;
        std::array<TraceBinding, kNumTraces> bindings;
    };
    Built built_{*this};
};

}  // namespace korvath::fuzz
