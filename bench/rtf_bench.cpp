// Speed of reading a help topic: a topic of 1 MiB with pictures (the program's contents topic,
// its body repeated), read into the rich-text model as the viewer does on every topic.

#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

#include "richtext/rtf_reader.h"

namespace {

std::string LargeTopic() {
    std::ifstream in(std::string(KORVATH_BIN_DIR) + "/help/Contents.rtf", std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    const std::string topic = s.str();
    const std::size_t bodyStart = topic.find("\\fs20");
    const std::size_t end = topic.rfind('}');
    if (bodyStart == std::string::npos || end == std::string::npos || end < bodyStart) return {};
    const std::string head = topic.substr(0, bodyStart);
    const std::string body = topic.substr(bodyStart, end - bodyStart);
    std::string large = head;
    while (large.size() < (1u << 20)) large += body;
    return large + "}";
}

void BM_ReadOneMebibyteTopic(benchmark::State& state) {
    const std::string topic = LargeTopic();
    std::size_t pictures = 0;
    for (auto _ : state) {
        const auto doc = korvath::richtext::ReadRtf(topic);
        pictures = doc.pictures.size();
        benchmark::DoNotOptimize(doc.paragraphs.data());
    }
    if (topic.size() < (1u << 20) || pictures == 0) state.SkipWithError("the help topic is missing or has no pictures");
    state.counters["bytes"] = static_cast<double>(topic.size());
    state.counters["pictures"] = static_cast<double>(pictures);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * topic.size()));
}

BENCHMARK(BM_ReadOneMebibyteTopic)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
