// korvath-cli diff, get, set, export and plot on demo calibrations, as a script uses them.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "calibration/calibration_file.h"
#include "document/qrndoc.h"
#include "support/pdf_pages.h"
#include "support/run_command.h"
#include "support/scoped_env.h"

namespace korvath {
namespace {

using nlohmann::json;
using testing::PdfPageCount;
using testing::RunProgram;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class CliCompareTest : public ::testing::Test {
protected:
    // Two equal calibrations on the demo definition, made as the program makes one.
    void SetUp() override {
        testing::RecordingHost host;
        testing::MemorySettings settings;
        CQRNDoc doc(DocumentHost{host, host, settings}, KORVATH_BIN_DIR);
        ASSERT_TRUE(doc.LoadDefinitionFile(std::string(KORVATH_BIN_DIR) + "/PID2/3/KV4.def"));
        doc.ReadApplicationID();
        doc.ReadDeclarations(1);
        doc.calibration().application.DefinitionFileName = "KV4.def";
        ASSERT_TRUE(SaveCalibrationFile(doc, a));
        ASSERT_TRUE(SaveCalibrationFile(doc, b));
    }
    testing::CommandResult Cli(const std::string& arguments) { return RunProgram("korvath-cli", arguments, home); }
    testing::TempDir home;
    const std::string a = home.File("a.qvr");
    const std::string b = home.File("b.qvr");
};

TEST_F(CliCompareTest, DiffOfEqualAndOfChangedFiles) {
    auto r = Cli("diff '" + a + "' '" + b + "'");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    json j = json::parse(r.out);
    EXPECT_EQ(j["equal"], true);
    EXPECT_TRUE(j["items"].empty());
    r = Cli("diff '" + a + "' '" + b + "' --all");
    EXPECT_GT(json::parse(r.out)["items"].size(), 500u);

    r = Cli("set '" + b + "' SpeedCal=120 'trace.0[3]=1650'");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = Cli("diff '" + a + "' '" + b + "'");
    ASSERT_EQ(r.exitCode, 1) << r.err;
    j = json::parse(r.out);
    ASSERT_EQ(j["items"].size(), 2u) << r.out;
    EXPECT_EQ(j["items"][0]["kind"], "variable");
    EXPECT_EQ(j["items"][0]["name"], "SpeedCal");
    EXPECT_EQ(j["items"][0]["b"], 120);
    EXPECT_EQ(j["items"][1]["kind"], "point");
    EXPECT_EQ(j["items"][1]["trace"], 0);
    EXPECT_EQ(j["items"][1]["point"], 3);
    EXPECT_EQ(j["items"][1]["b"], 1650);
    EXPECT_TRUE(j["items"][1]["displayB"].is_number());
    // Named as the pages and the curves show them.
    EXPECT_EQ(j["items"][0]["page"], "Vehicle Numbers");
    EXPECT_EQ(j["items"][0]["label"], "Speedometer (%)");
    EXPECT_EQ(j["items"][0]["bText"], "120.00");
    EXPECT_TRUE(j["items"][1]["page"].is_null());
    EXPECT_TRUE(j["items"][1]["label"].is_null());
    EXPECT_EQ(j["items"][1]["aText"], "20");

    r = Cli("diff --text '" + a + "' '" + b + "'");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("\nVehicle Numbers > Speedometer (%): 100.00 \u2192 120.00\n"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\n1-2 Up, Point 3: 20 \u2192 "), std::string::npos) << r.out;

    EXPECT_EQ(Cli("diff '" + a + "'").exitCode, 2);
    EXPECT_EQ(Cli("diff '" + a + "' '" + home.File("missing.qvr") + "'").exitCode, 2);
}

TEST_F(CliCompareTest, SetRefusesBadInputAndLeavesTheFileAlone) {
    const std::string before = ReadAll(b);
    auto r = Cli("set '" + b + "' SpeedCal=7 Nobody=1");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Nobody"), std::string::npos) << r.err;
    r = Cli("set '" + b + "' SpeedCal=99999");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(ReadAll(b) == before);  // not printed: binary

    ASSERT_EQ(::chmod(b.c_str(), 0444), 0);
    r = Cli("set '" + b + "' SpeedCal=7");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("read-only"), std::string::npos) << r.err;
    EXPECT_TRUE(ReadAll(b) == before);  // not printed: binary

    // -o leaves the source alone and writes the result.
    const std::string out = home.File("out.qvr");
    r = Cli("set '" + b + "' SpeedCal=7 -o '" + out + "'");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(ReadAll(b) == before);  // not printed: binary
    r = Cli("get '" + out + "' SpeedCal 'trace.0[0]'");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    json j = json::parse(r.out);
    EXPECT_EQ(j["SpeedCal"], 7);
    EXPECT_EQ(j["trace.0[0]"], 320);
    EXPECT_EQ(Cli("get '" + out + "' Nobody").exitCode, 1);
    EXPECT_TRUE(std::filesystem::remove(out));
}

TEST_F(CliCompareTest, ExportAndPlot) {
    auto r = Cli("export '" + a + "' --csv");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.rfind("kind,trace,name,p0,", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("\ntrace,0,"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\nvariable,,SpeedCal,"), std::string::npos) << r.out;
    EXPECT_EQ(Cli("export '" + a + "'").exitCode, 2);

    // No display: plot draws offscreen, and prints nothing of Qt's own.
    const testing::ScopedEnv noRuntimeDir("XDG_RUNTIME_DIR", nullptr);
    const std::string png = home.File("curves.png");
    r = Cli("plot '" + a + "' '" + png + "' --size 640x480 --traces 0,1");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(ReadAll(png).substr(1, 3), "PNG");
    // A trace the definition does not bind would be drawn flat: it is refused by its number.
    const std::string unbound = home.File("unbound.png");
    r = Cli("plot '" + a + "' '" + unbound + "' --traces 0,42");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("plot: trace 42 is not bound by the definition of " + a + "\n"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(unbound));
    EXPECT_EQ(Cli("plot '" + a + "' '" + home.File("curves.gif") + "'").exitCode, 2);
    EXPECT_EQ(Cli("plot '" + a + "' '" + png + "' --size 10x10").exitCode, 2);
    EXPECT_EQ(Cli("plot '" + a + "' '" + png + "' --traces 50").exitCode, 2);
}

TEST_F(CliCompareTest, ReportOfACalibrationAndOfAComparison) {
    const testing::ScopedEnv noRuntimeDir("XDG_RUNTIME_DIR", nullptr);
    const std::string pdf = home.File("report.pdf");
    auto r = Cli("report '" + a + "' '" + pdf + "'");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    std::string bytes = ReadAll(pdf);
    EXPECT_EQ(bytes.rfind("%PDF-", 0), 0u);
    const int pages = PdfPageCount(bytes);
    EXPECT_GE(pages, 1);
    EXPECT_EQ(r.out, pdf + ": " + std::to_string(pages) + " pages\n");

    // The report of a comparison counts its pages too.
    r = Cli("set '" + b + "' 'VehicleName=" + std::string(60, 'x') + "' SpeedCal=120");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = Cli("report '" + a + "' '" + pdf + "' --compare '" + b + "'");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    bytes = ReadAll(pdf);
    EXPECT_EQ(r.out, pdf + ": " + std::to_string(PdfPageCount(bytes)) + " pages\n");

    EXPECT_EQ(Cli("report '" + a + "' '" + home.File("report.png") + "'").exitCode, 2);
    EXPECT_EQ(Cli("report '" + a + "'").exitCode, 2);
    const std::string missing = home.File("none.pdf");
    EXPECT_EQ(Cli("report '" + home.File("missing.qvr") + "' '" + missing + "'").exitCode, 1);
    EXPECT_EQ(Cli("report '" + a + "' '" + missing + "' --compare '" + home.File("missing.qvr") + "'").exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_EQ(Cli("report '" + a + "' '" + home.File("no/such/folder/r.pdf") + "'").exitCode, 1);
}

}  // namespace
}  // namespace korvath
