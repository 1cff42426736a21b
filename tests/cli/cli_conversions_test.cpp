// The command-line tool's formula and image commands, driven as a workshop script drives them.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/run_command.h"

namespace korvath {
namespace {

using testing::RunProgram;
using nlohmann::json;

const std::string kDemoDefinition = std::string(KORVATH_BIN_DIR) + "/PID2/3/KV4.def";

class CliTest : public ::testing::Test {
protected:
    testing::CommandResult Cli(const std::string& arguments) { return RunProgram("korvath-cli", arguments, home); }
    testing::TempDir home;
};

TEST_F(CliTest, EvalPrintsValuePositionAndText) {
    auto r = Cli("eval 'X*2-40' --x 100");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    json j = json::parse(r.out);
    EXPECT_EQ(j["value"], 160);
    EXPECT_EQ(j["errorPosition"], 0);
    EXPECT_EQ(j["errorText"], "");

    r = Cli("eval '0.1'");
    EXPECT_NE(r.out.find("0.10000000000000001"), std::string::npos) << r.out;  // 17 significant digits

    r = Cli("eval '1/0'");
    j = json::parse(r.out);
    EXPECT_EQ(j["errorText"], " Divide by zero!");

    r = Cli("eval '2+#'");
    j = json::parse(r.out);
    EXPECT_EQ(j["errorText"], "Error found on position 3!");
    EXPECT_EQ(j["errorPosition"], 3);

    r = Cli("eval ''");
    j = json::parse(r.out);
    EXPECT_EQ(j["errorPosition"], -1);
    EXPECT_TRUE(j["errorText"].is_null());

    EXPECT_EQ(Cli("eval").exitCode, 2);
}

TEST_F(CliTest, DeclarationsOfTheDemoDefinitions) {
    auto r = Cli("declarations '" + std::string(KORVATH_BIN_DIR) + "/PID2/3/generic.init'");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    json j = json::parse(r.out);
    EXPECT_EQ(j["result"], 1);
    EXPECT_EQ(j["layout"]["$TotalBlockSize"], 256);
    std::set<int> types;
    for (const auto& v : j["variables"]) types.insert(v["type"].get<int>());
    EXPECT_EQ(types, (std::set<int>{0, 1, 2, 8, 16, 32, 255}));  // every type word is exercised
    EXPECT_EQ(j["traces"].size(), 50u);

    EXPECT_EQ(Cli("declarations /no/such/file").exitCode, 1);
    EXPECT_EQ(Cli("declarations x --apply-defaults 7").exitCode, 2);
}

TEST_F(CliTest, AnImageReadBackGivesTheSamePointsAndValues) {
    json points = json::array();
    for (int t = 0; t < 50; ++t) {
        json trace = json::array();
        for (int i = 0; i < 10; ++i) trace.push_back(t < 6 ? 16 * (20 + 7 * i + t) : (t < 8 ? 40 + 10 * i : 0));
        points.push_back(trace);
    }
    const std::string pointsFile = home.Write("points.json", points.dump());
    const std::string image = home.File("kv4.bin");
    auto r = Cli("image '" + kDemoDefinition + "' --points '" + pointsFile +
                 "' --var SpeedCal=100 --var AxleRatio=4.1 --var Odometer=123456 --var PressureTrim=7 '" + image + "'");
    ASSERT_EQ(r.exitCode, 0) << r.err;

    r = Cli("readback '" + kDemoDefinition + "' '" + image + "'");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    json j = json::parse(r.out);
    EXPECT_EQ(j["result"], 1);
    for (int t = 0; t < 8; ++t) EXPECT_EQ(j["traces"][t], points[t]) << "trace " << t;
    std::map<std::string, json> values;
    for (const auto& v : j["variables"]) values[v["name"]] = v["value"];
    EXPECT_EQ(values["Odometer"], 123456);
    EXPECT_NEAR(values["AxleRatio"].get<double>(), 4.1, 1e-6);
    EXPECT_EQ(values["PressureTrim"], 7);
    EXPECT_EQ(values["TireRevsPerMile"], 750);  // through the store and load formulas
}

TEST_F(CliTest, ImageRefusesBadInput) {
    const std::string bad = home.Write("bad.json", "[[1,2,3]]");
    EXPECT_EQ(Cli("image '" + kDemoDefinition + "' --points '" + bad + "' '" + home.File("x.bin") + "'").exitCode, 1);
    EXPECT_EQ(Cli("image '" + kDemoDefinition + "' --var Nobody=1 '" + home.File("x.bin") + "'").exitCode, 1);
    EXPECT_EQ(Cli("image '" + kDemoDefinition + "' --var SpeedCal=abc '" + home.File("x.bin") + "'").exitCode, 1);
    EXPECT_EQ(Cli("image '" + kDemoDefinition + "'").exitCode, 2);
    const std::string shortImage = home.Write("short.bin", "abc");
    auto r = Cli("readback '" + kDemoDefinition + "' '" + shortImage + "'");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("holds 3 bytes"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace korvath
