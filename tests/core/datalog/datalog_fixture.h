#pragma once
// A document linked in-process to the simulated controller, with a definition of a few data
// items, its poller driven tick by tick, and a clock the test moves: what the recorder sees is
// scripted through the controller's RAM.

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/comm/fake_link.h"
#include "datalog/data_log_recorder.h"
#include "document/qrndoc.h"
#include "engine/driving.h"
#include "support/recording_host.h"
#include "support/sim_transport.h"

namespace korvath::testing {

inline constexpr const char* kLogHeader =
    "[ApplicationID]\nLogicalName KV4\nTransmissionType KV4 Four-Speed\nProdName Demo\n"
    "[Declarations]\n$TotalBlockSize 64\n$DynamicBlockSize 32\n$NumDynamicTableCells 20\n"
    "$NumDynamicTableEntries 2\n$DynamicBlockStart 32\n$DynamicBlockLayout 0\n$DynamicInterpolation 1\n"
    "$StaticBlockSize 32\n$StaticBlockStart 0\n$NVMType 0\nGain I16 1:0 Def:3\n";

// Throttle (numeric, unit "%", crosshair X), Gear (enumerated), a logged-only item whose name
// needs quoting, an item that only moves the crosshair's Y (no column of its own).
inline constexpr const char* kLogItems =
    "[DataItems]\n"
    "DataItem NumericValue {\nLogicalName Throttle\nDisplayName Throttle\nDefMonState 1\n"
    "DisplayFormula %.1f %% = M:TPS:*100/255\nCrosshairMode X\nCrosshairFormula X*9/100\n}\n"
    "DataItem EnumeratedText {\nLogicalName Gear\nDefMonState 1\nMaxValue 4\nMaxErrorTxt ?\n"
    "DisplayFormula M:GEAR:\nEnumText0 N\nEnumText1 First\nEnumText2 Second\n}\n"
    "DataItem NumericValue {\nLogicalName Oil\nDisplayName Oil \"hot\", C\nDefLogState 1\n"
    "DisplayFormula %.0f C = M:TOT: - 40\n}\n"
    "DataItem NumericValue {\nLogicalName SpeedY\nCrosshairMode Y\nCrosshairFormula X\n"
    "DisplayFormula %.1f mph = M:VSS_NEW_L:\n}\n";

class DataLogFixture : public ::testing::Test {
protected:
    void Start(const std::string& items = kLogItems) {
        sim::ControllerConfig config;
        config.hardware_version = 2;
        config.drive = false;
        controller = std::make_unique<sim::Controller>(config);
        auto transport = std::make_unique<SimTransport>(*controller);
        link = transport.get();
        doc = std::make_unique<CQRNDoc>(DocumentHost{host, host, settings, &timer}, dir.path(), std::move(transport));
        ASSERT_TRUE(doc->IdentifyController(0, 1));
        ASSERT_TRUE(doc->LoadDefinitionFile(dir.Write("PID2/3/KV4.def", std::string(kLogHeader) + items)));
        ASSERT_TRUE(doc->ReadApplicationID());
        ASSERT_TRUE(doc->ReadDeclarations(1));
        doc->calibration().application.DefinitionFileName = "KV4.def";
        handle = doc->LoadDataItems([](std::int32_t, const char*, const float*) {});
        ASSERT_EQ(handle, 1);
    }
    // Ticks through `rounds` whole rounds over the four items, `stepMs` apart.
    void Rounds(int rounds, std::int64_t stepMs = 10) {
        for (int i = 0; i < rounds * doc->monitor()->item_count(); ++i) {
            now += stepMs;
            timer.Fire();
        }
    }
    void Ram(std::uint16_t address, std::uint8_t value) { controller->SetRam(address, value); }
    datalog::DataLogRecorder::Clock Clock() {
        return [this] { return now; };
    }
    static std::string FileText(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static std::vector<std::string> Lines(const std::string& text) {
        std::vector<std::string> lines;
        std::size_t at = 0;
        for (std::size_t end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
            lines.push_back(text.substr(at, end - at));
        return lines;
    }

    TempDir dir;
    RecordingHost host;
    MemorySettings settings;
    test::RecordingTimer timer;
    std::unique_ptr<sim::Controller> controller;
    SimTransport* link = nullptr;
    std::unique_ptr<CQRNDoc> doc;
    std::int32_t handle = 0;
    std::int64_t now = 1000000;
};

}  // namespace korvath::testing
