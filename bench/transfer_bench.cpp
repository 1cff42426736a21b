// Whole calibration transfers against korvath-sim over a pseudo-terminal paced like a 9600-baud
// line: a 256-byte EEPROM table and a 2 KiB flash table, each written and read back once per
// iteration, compared with the time their characters need on the wire.
//
// The wire-time bound comes from the characters actually exchanged, counted on the tool's side
// of the link. The exchange is split where the tool writes again after it has read; within one
// such exchange the two directions overlap (the controller echoes while it receives), but the
// answer cannot begin before the first character has arrived, so an exchange needs at least
// max(sent, received) + 1 character times. EEPROM bytes go one echoed character at a time, so
// there the bound is close to sent + received; a flash packet streams, so there it is close to
// the longer direction. A character is 10 bits (8N1): 1.0417 ms at 9600 baud. Each transfer runs
// without and with a communication trace (argument 0 and 1), which must cost under 2 %.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "calibration/restore_points.h"
#include "comm/serialport.h"
#include "comm/trace_file.h"
#include "document/qrndoc.h"
#include "support/sim_process.h"
#include "platform/host.h"
#include "platform/settings_store.h"

namespace {

using namespace korvath;

constexpr double kBaud = 9600.0;
constexpr double kCharacterMs = 10.0 * 1000.0 / kBaud;

// The serial port, counting the characters of every exchange.
class CountingTransport final : public ByteTransport {
public:
    explicit CountingTransport(std::unique_ptr<ByteTransport> inner) : inner_(std::move(inner)) {}
    bool open(std::string& errorText, int baud) override { return inner_->open(errorText, baud); }
    void close() override { inner_->close(); }
    std::int32_t read_byte(unsigned char* buffer) override { return Received(inner_->read_byte(buffer)); }
    std::int32_t read(unsigned char* buffer, std::int32_t n) override { return Received(inner_->read(buffer, n)); }
    std::int32_t write_byte(unsigned char ch) override { return Sent(inner_->write_byte(ch)); }
    std::int32_t write(const unsigned char* data, std::int32_t n) override { return Sent(inner_->write(data, n)); }
    bool purge() override { return inner_->purge(); }
    bool is_usb() const override { return inner_->is_usb(); }

    // Character times the exchanges so far need at least; closes the exchange under way.
    std::uint64_t TakeBound() {
        CloseExchange();
        const std::uint64_t b = bound_;
        bound_ = 0;
        return b;
    }
    std::uint64_t sent = 0, received = 0;

private:
    std::int32_t Sent(std::int32_t n) {
        if (exchangeRx_ > 0) CloseExchange();
        if (n > 0) {
            exchangeTx_ += static_cast<std::uint64_t>(n);
            sent += static_cast<std::uint64_t>(n);
        }
        return n;
    }
    std::int32_t Received(std::int32_t n) {
        if (n > 0) {
            exchangeRx_ += static_cast<std::uint64_t>(n);
            received += static_cast<std::uint64_t>(n);
        }
        return n;
    }
    void CloseExchange() {
        if (exchangeTx_ + exchangeRx_ > 0) bound_ += std::max(exchangeTx_, exchangeRx_) + 1;
        exchangeTx_ = exchangeRx_ = 0;
    }

    std::unique_ptr<ByteTransport> inner_;
    std::uint64_t exchangeTx_ = 0, exchangeRx_ = 0, bound_ = 0;
};

class QuietHost final : public MessageHost, public StatusHost {
public:
    int ShowMessage(std::string_view text, std::string_view caption, unsigned style) override {
        lastMessage = std::string(caption) + " " + std::string(text);
        return DefaultMessageResult(style);
    }
    void SetStatusText(std::string_view) override {}
    std::string lastMessage;
};

class NoSettings final : public SettingsStore {
public:
    int GetInt(std::string_view, std::string_view, int defaultValue) override { return defaultValue; }
    bool SetInt(std::string_view, std::string_view, int) override { return true; }
    std::string GetString(std::string_view, std::string_view, std::string_view d) override { return std::string(d); }
    bool SetString(std::string_view, std::string_view, std::string_view) override { return true; }
};

// A definition of `size` bytes of static scalars of `type` ("U8" or "I32") named S0, S1, ...
std::string Definition(int size, int nvmType, const char* type, int width) {
    std::string text = "[ApplicationID]\nLogicalName Bench\nTransmissionType Bench\nProdName Bench\n[Declarations]\n";
    text += "$TotalBlockSize " + std::to_string(size) + "\n$DynamicBlockSize 0\n$NumDynamicTableCells 0\n";
    text += "$NumDynamicTableEntries 0\n$DynamicBlockStart " + std::to_string(size) + "\n$DynamicBlockLayout 0\n";
    text += "$DynamicInterpolation 1\n$StaticBlockSize " + std::to_string(size) + "\n$StaticBlockStart 0\n";
    text += "$NVMType " + std::to_string(nvmType) + "\n$CalNVMPageSize 2048\n";
    for (int offset = 0, i = 0; offset < size; offset += width, ++i) {
        text += "S";
        text += std::to_string(i);
        text += " ";
        text += type;
        text += " 1:";
        text += std::to_string(offset);
        text += "\n";
    }
    return text;
}

struct Setup {
    std::filesystem::path dir;
    QuietHost host;
    NoSettings settings;
    CountingTransport* link = nullptr;
    CSerialPort* port = nullptr;
    std::unique_ptr<CQRNDoc> doc;
};

std::unique_ptr<Setup> MakeSetup(const std::string& pty, const std::string& definition) {
    auto s = std::make_unique<Setup>();
    s->dir = std::filesystem::temp_directory_path() / ("korvath-transfer-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(s->dir / "PID2" / "3");
    std::ofstream(s->dir / "PID2" / "3" / "Bench.def") << definition;
    SerialPortConfig config;
    config.devicePath = pty;
    auto serial = std::make_unique<CSerialPort>(config, nullptr);
    s->port = serial.get();
    auto counting = std::make_unique<CountingTransport>(std::move(serial));
    s->link = counting.get();
    s->doc = std::make_unique<CQRNDoc>(DocumentHost{s->host, s->host, s->settings}, s->dir.string(), std::move(counting));
    auto& cal = s->doc->calibration();
    cal.application.DefinitionFileName = "Bench.def";
    cal.application.TransmissionType = "Bench";
    auto& hw = cal.hardware;
    hw.Set(HardwareField::DeviceType, 2);
    hw.Set(HardwareField::HardwareVersion, 1);
    hw.Set(HardwareField::FirmwareVersion, 3);
    hw.Set(HardwareField::FirmwareVersionMinor, 3);
    s->doc->LoadDefinitionFile((s->dir / "PID2" / "3" / "Bench.def").string());
    s->doc->ReadDeclarations(1);
    return s;
}

// Values for variable i in round r: never 0x00 or 0xFF in a byte (which the EEPROM read would
// read three times), and different in every byte from the round before.
std::int32_t ByteValue(int i, int round) { return 1 + (i + round * 127) % 254; }

std::vector<std::uint8_t> Image(CQRNDoc& doc) {
    std::vector<std::uint8_t> image(static_cast<std::size_t>(doc.layout().TotalBlockSize), 0);
    doc.ExchangeImage(image.data(), image.size(), 1);
    return image;
}

// state.range(0) = 1: every exchange is written to a communication trace meanwhile.
void RunTransfers(benchmark::State& state, Setup& s, const std::function<void(int)>& fill) {
    TraceFile trace;
    if (state.range(0) != 0) {
        std::string why;
        if (!trace.Start((s.dir / "trace.txt").string(), why)) {
            state.SkipWithError(("trace: " + why).c_str());
            return;
        }
        s.port->SetTrace(&trace);
    }
    state.SetLabel(trace.active() ? "trace" : "no trace");
    double elapsedMs = 0;
    std::uint64_t bound = 0, sent = 0, received = 0;
    int round = 0;
    s.link->TakeBound();
    for (auto _ : state) {
        fill(round++);
        const auto written = Image(*s.doc);
        const std::uint64_t sent0 = s.link->sent, received0 = s.link->received;
        const auto start = std::chrono::steady_clock::now();
        const bool ok = s.doc->TransferCalibration(1) && s.doc->TransferCalibration(0);
        elapsedMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        bound += s.link->TakeBound();
        sent += s.link->sent - sent0;
        received += s.link->received - received0;
        if (!ok || Image(*s.doc) != written) {
            state.SkipWithError(("transfer failed: " + s.host.lastMessage).c_str());
            return;
        }
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["wire_bound_ms"] = static_cast<double>(bound) * kCharacterMs / n;
    state.counters["chars_sent"] = static_cast<double>(sent) / n;
    state.counters["chars_received"] = static_cast<double>(received) / n;
    state.counters["ratio"] = elapsedMs / (static_cast<double>(bound) * kCharacterMs);
    s.port->SetTrace(nullptr);
}

void BM_EepromTable256WriteRead(benchmark::State& state) {
    test::SimProcess sim({"--baud", "9600"});
    auto s = MakeSetup(sim.pty(), Definition(256, 0, "U8", 1));
    RunTransfers(state, *s, [&](int round) {
        for (int i = 0; i < 256; ++i) s->doc->SetIntVariable(std::string("S").append(std::to_string(i)), static_cast<std::int16_t>(ByteValue(i, round)));
    });
    std::filesystem::remove_all(s->dir);
}
BENCHMARK(BM_EepromTable256WriteRead)->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);

void BM_FlashTable2KiBWriteRead(benchmark::State& state) {
    test::SimProcess sim({"--baud", "9600", "--nvm", "flash", "--cal-nvm-page-size", "2048"});
    auto s = MakeSetup(sim.pty(), Definition(2048, 1, "I32", 4));
    RunTransfers(state, *s, [&](int round) {
        auto& table = s->doc->variables();
        for (int i = 0; i < table.count; ++i) {
            auto& slot = table.slots[static_cast<std::size_t>(i)];
            if (slot.type != VarType::I32) continue;
            // Every byte value occurs, escapes included.
            const auto b = static_cast<std::uint32_t>(i * 4 + round * 7);
            slot.SetInt32(static_cast<std::int32_t>((b & 0xFF) | ((b + 1) & 0xFF) << 8 | ((b + 2) & 0xFF) << 16 |
                                                    ((b + 3) & 0x7F) << 24));
        }
    });
    std::filesystem::remove_all(s->dir);
}
BENCHMARK(BM_FlashTable2KiBWriteRead)->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);

// Writes alone, with the restore points the command line keeps (state.range(0) = 1) or without
// (0): the table before the write and the image written, as calibration files in a folder of
// the benchmark's own. readFirst: a flash write reads the table first (write --backup).
void RunWrites(benchmark::State& state, Setup& s, const std::function<void(int)>& fill, bool readFirst) {
    const bool keeping = state.range(0) != 0;
    RestorePointStore store((s.dir / "restore-points").string());
    RestorePointKeeper keeper(store, nullptr, nullptr);
    s.doc->SetRestorePointSink(keeping ? &keeper : nullptr);
    s.doc->SetReadFlashTableBeforeWriting(keeping && readFirst);
    int round = 0;
    for (auto _ : state) {
        fill(round++);
        const auto start = std::chrono::steady_clock::now();
        const bool ok = s.doc->TransferCalibration(1);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (!ok) {
            state.SkipWithError(("write failed: " + s.host.lastMessage).c_str());
            break;
        }
    }
    s.doc->SetRestorePointSink(nullptr);
    state.SetLabel(keeping ? (readFirst ? "read first, restore points" : "restore points") : "plain");
}

void BM_EepromWriteRestorePoints(benchmark::State& state) {
    test::SimProcess sim({"--baud", "9600"});
    auto s = MakeSetup(sim.pty(), Definition(256, 0, "U8", 1));
    RunWrites(state, *s, [&](int round) {
        for (int i = 0; i < 256; ++i) s->doc->SetIntVariable(std::string("S").append(std::to_string(i)), static_cast<std::int16_t>(ByteValue(i, round)));
    }, false);
    std::filesystem::remove_all(s->dir);
}
BENCHMARK(BM_EepromWriteRestorePoints)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(5);

void BM_FlashWriteBackup(benchmark::State& state) {
    test::SimProcess sim({"--baud", "9600", "--nvm", "flash", "--cal-nvm-page-size", "2048"});
    auto s = MakeSetup(sim.pty(), Definition(2048, 1, "I32", 4));
    RunWrites(state, *s, [&](int round) {
        auto& table = s->doc->variables();
        for (int i = 0; i < table.count; ++i) {
            auto& slot = table.slots[static_cast<std::size_t>(i)];
            if (slot.type == VarType::I32) slot.SetInt32(static_cast<std::int32_t>((i * 4 + round * 7) & 0x7FFFFFFF));
        }
    }, true);
    std::filesystem::remove_all(s->dir);
}
BENCHMARK(BM_FlashWriteBackup)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(5);

}  // namespace

BENCHMARK_MAIN();
