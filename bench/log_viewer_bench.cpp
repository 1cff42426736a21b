// The data log viewer on a one-hour log at 20 rows a second with 20 channels (two of them
// texts: the gear and the lock-up), written by the generator below: the time to open it (read,
// load the channels, find the shifts, lay out the plots and draw them once), the time of one
// redraw after a zoom or a pan, and the memory the open viewer holds.
//
// Run with --benchmark_repetitions=N to get medians; the program runs Qt offscreen unless
// QT_QPA_PLATFORM says otherwise.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "datalog/csv_text.h"
#include "datalog/log_layout.h"
#include "ui/tools/log_viewer_window.h"

#include "qt_benchmark_main.h"

namespace {

using namespace korvath;

constexpr int kRowsPerSecond = 20;
constexpr int kSeconds = 3600;
constexpr int kChannels = 20;

const char* const kGears[] = {"N", "First", "Second", "Third", "Fourth"};

// A drive of one-minute loops: up through the gears and down again, a link lost now and then.
std::string WriteHourLog() {
    const std::string path = (std::filesystem::temp_directory_path() / "korvath-bench-hour-log.csv").string();
    datalog::LogLayout layout;
    layout.definition = "KV4";
    layout.crosshairYUnit = "mph";
    layout.items.push_back({"Gear", "", -1, false});
    layout.items.push_back({"Lock-up", "", -1, false});
    for (int c = 2; c < kChannels; ++c) layout.items.push_back({"Channel " + std::to_string(c), "%", 1, true});
    std::ofstream out(path, std::ios::binary);
    std::string text;
    datalog::AppendCsvRecord(text, layout.HeaderRow());
    datalog::AppendCsvRecord(text, layout.UnitsRow());
    std::vector<std::string> row(layout.ColumnCount());
    for (int r = 0; r < kRowsPerSecond * kSeconds; ++r) {
        const int ms = r * (1000 / kRowsPerSecond);
        const double t = (ms % 60000) / 60000.0;
        const bool lost = r % 6000 >= 5990;
        row.assign(row.size(), "");
        row[0] = std::to_string(ms);
        if (!lost) {
            const int gear = t < 0.05 ? 0 : t < 0.5 ? 1 + static_cast<int>((t - 0.05) / 0.12) : 4 - static_cast<int>((t - 0.5) / 0.13);
            row[1] = kGears[std::clamp(gear, 0, 4)];
            row[2] = t > 0.3 && t < 0.6 ? "Locked" : "Open";
            for (int c = 2; c < kChannels; ++c)
                row[1 + static_cast<std::size_t>(c)] = datalog::FormatDecimal(50.0 + 45.0 * std::sin(ms / (700.0 + 90.0 * c)), 1);
            row[layout.CrosshairXColumn()] = datalog::FormatDecimal(9.0 * t, 2);
            row[layout.CrosshairYColumn()] = datalog::FormatDecimal(60.0 * std::sin(3.14159 * t), 1);
        } else {
            row[layout.LinkColumn()] = datalog::kLinkLostMark;
        }
        row[layout.DefinitionColumn()] = layout.definition;
        datalog::AppendCsvRecord(text, row);
        if (text.size() > (1 << 20)) {
            out << text;
            text.clear();
        }
    }
    out << text;
    return path;
}

std::string gHourLog;  // written by the first benchmark that wants it

const std::string& HourLog() {
    if (gHourLog.empty()) gHourLog = WriteHourLog();
    return gHourLog;
}

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

void OpenHourLog(benchmark::State& state) {
    const std::string path = HourLog();
    for (auto _ : state) {
        ui::LogViewerWindow viewer;
        viewer.setAttribute(Qt::WA_DeleteOnClose, false);
        viewer.resize(1400, 900);
        QString why;
        if (!viewer.Open(QString::fromStdString(path), why)) {
            state.SkipWithError(why.toStdString().c_str());
            return;
        }
        viewer.show();
        viewer.plot()->replot(QCustomPlot::rpImmediateRefresh);
        state.counters["shifts"] = static_cast<double>(viewer.shifts().shifts.size());
    }
}
BENCHMARK(OpenHourLog)->Unit(benchmark::kMillisecond)->Iterations(3);

// One redraw at a time span that pans and zooms in turn: five minutes, the whole hour, a minute.
void RedrawAfterZoomOrPan(benchmark::State& state) {
    const long before = ResidentKiB();
    ui::LogViewerWindow viewer;
    viewer.setAttribute(Qt::WA_DeleteOnClose, false);
    viewer.resize(1400, 900);
    QString why;
    if (!viewer.Open(QString::fromStdString(HourLog()), why)) {
        state.SkipWithError(why.toStdString().c_str());
        return;
    }
    viewer.show();
    QCoreApplication::processEvents();
    viewer.plot()->replot(QCustomPlot::rpImmediateRefresh);
    const double spans[] = {300.0, 3600.0, 60.0};
    int step = 0;
    for (auto _ : state) {
        const double span = spans[step % 3];
        const double start = std::fmod(137.0 * step, 3600.0 - span);
        ++step;
        viewer.plot()->xAxis->setRange(start, start + span);  // the others follow it
        viewer.plot()->replot(QCustomPlot::rpImmediateRefresh);
    }
    state.counters["viewerMiB"] = static_cast<double>(ResidentKiB() - before) / 1024.0;
    state.counters["processMiB"] = static_cast<double>(ResidentKiB()) / 1024.0;
}
BENCHMARK(RedrawAfterZoomOrPan)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    const int result = korvath::bench::RunBenchmarksWithWidgets(argc, argv);
    if (!gHourLog.empty()) std::remove(gHourLog.c_str());
    return result;
}
