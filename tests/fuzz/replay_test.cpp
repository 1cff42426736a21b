// Every seed of every fuzz target's corpus (tests/fuzz/corpus/<target>/) through its target once,
// with whatever compiler builds the tests: what the fuzzers once found stays fixed.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz_target.h"

namespace korvath::fuzz {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> ReadSeed(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(FuzzCorpora, EveryTargetHasSeedsAndTakesThemAll) {
    ASSERT_FALSE(Targets().empty());
    for (const Target& target : Targets()) {
        SCOPED_TRACE(target.name);
        const fs::path corpus = fs::path(KORVATH_SOURCE_DIR) / "tests/fuzz/corpus" / target.name;
        ASSERT_TRUE(fs::is_directory(corpus)) << corpus;
        std::vector<fs::path> seeds;
        for (const auto& entry : fs::directory_iterator(corpus))
            if (entry.is_regular_file()) seeds.push_back(entry.path());
        std::sort(seeds.begin(), seeds.end());
        EXPECT_FALSE(seeds.empty());
        for (const auto& seed : seeds) {
            SCOPED_TRACE(seed.filename().string());
            const auto bytes = ReadSeed(seed);
            EXPECT_EQ(target.run(bytes.data(), bytes.size()), 0);
        }
    }
}

}  // namespace
}  // namespace korvath::fuzz
