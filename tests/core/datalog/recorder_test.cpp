// The recorder against the poller reading the simulated controller: the columns and their units,
// quoting, one row per round, the lost link, writing out within a second, reloaded items, and a
// writer killed in the middle of a drive.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <clocale>

#include "comm/data_items.h"
#include "datalog/data_log_reader.h"
#include "datalog/replay_frame.h"
#include "datalog_fixture.h"

namespace korvath {
namespace {

using namespace korvath::testing;
using datalog::DataLogRecorder;

class RecorderTest : public DataLogFixture {};

TEST_F(RecorderTest, ColumnsUnitsQuotingAndOneRowPerRound) {
    Start();
    // A locale with decimal commas must not reach the file.
    const bool comma = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    DataLogRecorder recorder(Clock());
    std::string why;
    const std::string path = dir.File("drive.csv");
    ASSERT_TRUE(recorder.Start(*doc->monitor(), path, "KV4.def (KV4 Four-Speed)", why)) << why;
    Ram(sim::ram::kTps, 51);    // 20 %
    Ram(sim::ram::kGear, 2);
    Ram(sim::ram::kTot, 130);   // 90 C
    Ram(sim::ram::kVssNewL, 33);
    Rounds(2);
    Ram(sim::ram::kGear, 7);    // above MaxValue: the display's error text
    Rounds(1);
    ASSERT_TRUE(recorder.Stop());
    if (comma) std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(recorder.rows(), 3u);

    const std::string text = FileText(path);
    const auto lines = Lines(text);
    ASSERT_EQ(lines.size(), 5u) << text;
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(lines[0], "Time,Throttle,Gear,\"Oil \"\"hot\"\", C\",Throttle (raw),Gear (raw),\"Oil \"\"hot\"\", C (raw)\","
                        "Crosshair X,Crosshair Y,Link,Definition");
    EXPECT_EQ(lines[1], "ms,%,,C,,,,column,mph,,KV4.def (KV4 Four-Speed)");
    // Four ticks a round, 10 ms apart; the crosshair X is 20 * 9 / 100.
    EXPECT_EQ(lines[2], "40,20.0,Second,90,51,2,130,1.8,33,,");
    EXPECT_EQ(lines[3], "80,20.0,Second,90,51,2,130,1.8,33,,");
    EXPECT_EQ(lines[4], "120,20.0,?,90,51,7,130,1.8,33,,");
}

TEST_F(RecorderTest, ALostLinkIsARowAndTheLogGoesOn) {
    Start();
    DataLogRecorder recorder(Clock());
    std::string why;
    const std::string path = dir.File("lost.csv");
    ASSERT_TRUE(recorder.Start(*doc->monitor(), path, "KV4", why)) << why;
    Ram(sim::ram::kTps, 51);
    Ram(sim::ram::kGear, 1);
    Ram(sim::ram::kVssNewL, 33);
    Rounds(1);
    link->plugged = false;
    Rounds(1);
    EXPECT_FALSE(recorder.linkUp());
    // Lost: a tick a second tries to reconnect and writes nothing.
    Rounds(2, 1000);
    EXPECT_EQ(recorder.rows(), 2u);
    link->plugged = true;
    Rounds(2);
    EXPECT_TRUE(recorder.linkUp());
    ASSERT_TRUE(recorder.Stop());

    const auto lines = Lines(FileText(path));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[2], "40,20.0,First,-40,51,1,0,1.8,33,,");
    EXPECT_EQ(lines[3], "50,,,,,,,,,link lost,");
    // Polling starts again at the last item: its round holds only what was read since.
    EXPECT_EQ(lines[4].substr(lines[4].find(',')), ",,,,,,,,33,,");
    EXPECT_EQ(lines[5].substr(lines[5].find(',')), ",20.0,First,-40,51,1,0,1.8,33,,");
}

TEST_F(RecorderTest, RowsReachTheFileWithinASecond) {
    Start();
    DataLogRecorder recorder(Clock());
    std::string why;
    const std::string path = dir.File("flush.csv");
    ASSERT_TRUE(recorder.Start(*doc->monitor(), path, "KV4", why)) << why;
    EXPECT_EQ(Lines(FileText(path)).size(), 2u);  // the header rows at once
    Rounds(5, 40);                                 // 800 ms: collected
    EXPECT_EQ(Lines(FileText(path)).size(), 2u);
    now += 300;
    recorder.Tick();  // a second since the last write-out
    EXPECT_EQ(Lines(FileText(path)).size(), 7u);
    Rounds(30, 40);
    EXPECT_GE(Lines(FileText(path)).size(), 2u + 35u - 7u);
    EXPECT_TRUE(recorder.Stop());
    EXPECT_EQ(Lines(FileText(path)).size(), 37u);
}

TEST_F(RecorderTest, ReloadedItemsCarryOnAndOtherItemsEndTheLog) {
    Start();
    DataLogRecorder recorder(Clock());
    std::string why;
    const std::string path = dir.File("reload.csv");
    ASSERT_TRUE(recorder.Start(*doc->monitor(), path, "KV4", why)) << why;
    Rounds(1);
    // The dashboard is rebuilt after a calibration was read: same items.
    doc->UnloadDataItems(handle);
    handle = doc->LoadDataItems([](std::int32_t, const char*, const float*) {});
    Rounds(1);
    EXPECT_TRUE(recorder.running());
    EXPECT_EQ(recorder.rows(), 2u);
    // Another definition's items.
    ASSERT_TRUE(doc->LoadDefinitionFile(dir.Write("PID2/3/Other.def",
                                                  std::string(kLogHeader) +
                                                      "[DataItems]\nDataItem NumericValue {\nLogicalName Rpm\n"
                                                      "DefMonState 1\nDisplayFormula %.0f = M:TPS:\n}\n")));
    doc->UnloadDataItems(handle);
    doc->LoadDataItems([](std::int32_t, const char*, const float*) {});
    EXPECT_FALSE(recorder.running());
    EXPECT_EQ(recorder.error(), "the definition's data items changed");
    EXPECT_EQ(doc->monitor()->poll_observer(), nullptr);
    datalog::DataLogReader reader;
    ASSERT_TRUE(reader.Open(path, why)) << why;
    EXPECT_EQ(reader.rowCount(), 2u);
}

TEST_F(RecorderTest, AKilledWriterLeavesEveryRowWrittenBefore) {
    Start();
    const std::string path = dir.File("killed.csv");
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        DataLogRecorder recorder(Clock());
        std::string why;
        if (!recorder.Start(*doc->monitor(), path, "KV4", why)) _exit(2);
        // A round every 0.3 s for 3 s: rows are written out once a second as they come.
        for (int i = 0; i < 10; ++i) Rounds(1, 75);
        const char byte = 'r';
        if (write(ready[1], &byte, 1) != 1) _exit(3);
        for (;;) Rounds(1, 75);  // recording on until killed
    }
    close(ready[1]);
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    close(ready[0]);
    ASSERT_TRUE(WIFSIGNALED(status));

    const std::string text = FileText(path);
    ASSERT_FALSE(text.empty());
    EXPECT_TRUE(text.ends_with("\r\n"));  // whole rows only
    datalog::DataLogReader reader;
    std::string why;
    ASSERT_TRUE(reader.Open(path, why)) << why;
    EXPECT_GE(reader.rowCount(), 7u);  // all but the last second's
    EXPECT_EQ(reader.skippedRows(), 0u);
    EXPECT_EQ(reader.layout().items.size(), 3u);
}

TEST_F(RecorderTest, ZerosAreZerosAndTheRawColumnHoldsEveryRamValueReplayedExactly) {
    Start("[DataItems]\n"
          "DataItem NumericValue {\nLogicalName Throttle\nDefMonState 1\n"
          "DisplayFormula %.0f %% = M:TPS:*100/255\nCrosshairMode X\nCrosshairFormula X*9/100\n}\n"
          "DataItem NumericValue {\nLogicalName Speed\nDefMonState 1\nMaxValue 255\n"
          "DisplayFormula %.1f mph = (M:VSS_NEW_H:*256+M:VSS_NEW_L:)/10\nCrosshairMode Y\nCrosshairFormula X\n}\n");
    DataLogRecorder recorder(Clock());
    std::string why;
    const std::string path = dir.File("drive.csv");
    ASSERT_TRUE(recorder.Start(*doc->monitor(), path, "KV4.def (KV4 Four-Speed)", why)) << why;
    Ram(sim::ram::kTps, 0);
    Ram(sim::ram::kVssNewH, 0);
    Ram(sim::ram::kVssNewL, 0);
    Rounds(1);
    Ram(sim::ram::kVssNewH, 2);  // 571: 57.1 mph
    Ram(sim::ram::kVssNewL, 59);
    Rounds(1);
    ASSERT_TRUE(recorder.Stop());
    const auto lines = Lines(FileText(path));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2], "20,0,0.0,0,0 0,0,0,,");
    EXPECT_EQ(lines[3], "40,0,57.1,0,2 59,0,57.1,,");

    // Replayed, the speed shows what the dashboard showed.
    datalog::DataLogReader reader;
    ASSERT_TRUE(reader.Open(path, why)) << why;
    datalog::LogRow row;
    ASSERT_TRUE(reader.ReadRow(1, row));
    std::vector<DataItem> items;
    for (std::int32_t i = 0; i < doc->monitor()->item_count(); ++i) items.push_back(doc->monitor()->data_item(i));
    const datalog::ReplayFrame frame = datalog::FrameOfRow(reader.layout(), items, row);
    ASSERT_EQ(frame.texts.size(), 2u);
    EXPECT_EQ(frame.texts[1].second, DataItemText(items[1], 59, 57.1f));
    EXPECT_EQ(frame.texts[1].second, "57.1 mph");
    EXPECT_EQ(*frame.crosshairX, 0.0f);
}

}  // namespace
}  // namespace korvath
