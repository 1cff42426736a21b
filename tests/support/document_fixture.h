#pragma once
// A document over a temporary program directory with recording hosts.

#include <gtest/gtest.h>

#include <memory>

#include "document/qrndoc.h"
#include "support/recording_host.h"

namespace korvath::testing {

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override { doc = std::make_unique<CQRNDoc>(DocumentHost{host, host, settings}, dir.path()); }

    // Loads `text` as the definition (through a file, as the program does).
    bool LoadDefinition(const std::string& text, const std::string& name = "test.def") {
        return doc->LoadDefinitionFile(dir.Write(name, text));
    }

    // A definition with the required layout keys and the given declaration lines.
    static std::string Declarations(const std::string& lines, int total = 256, int staticSize = 128) {
        return "[Declarations]\n$TotalBlockSize " + std::to_string(total) +
               "\n$DynamicBlockSize 128\n$NumDynamicTableCells 120\n$NumDynamicTableEntries 12\n"
               "$DynamicBlockStart " + std::to_string(staticSize) +
               "\n$DynamicBlockLayout 0\n$DynamicInterpolation 1\n$StaticBlockSize " + std::to_string(staticSize) +
               "\n$StaticBlockStart 0\n$NVMType 0\n" + lines;
    }

    const VariableSlot& Slot(int i) { return doc->variables().slots[static_cast<std::size_t>(i)]; }

    TempDir dir;
    RecordingHost host;
    MemorySettings settings;
    std::unique_ptr<CQRNDoc> doc;
};

}  // namespace korvath::testing
