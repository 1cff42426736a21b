// CSV text both ways and the data log reader on good and hostile files.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "datalog/csv_text.h"
#include "datalog/data_log_reader.h"
#include "datalog/log_layout.h"
#include "support/recording_host.h"

namespace korvath {
namespace {

using namespace korvath::datalog;

TEST(CsvTextTest, FieldsAreQuotedOnlyWhenTheyMustBeAndNumbersUseAPoint) {
    std::string out;
    AppendCsvRecord(out, {"plain", "a,b", "say \"hi\"", "two\nlines", " edge", "", "°C"});
    EXPECT_EQ(out, "plain,\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\",\" edge\",,°C\r\n");

    EXPECT_EQ(FormatDecimal(12.345, 1), "12.3");
    EXPECT_EQ(FormatDecimal(-0.04, 1), "0.0");  // no negative zero
    EXPECT_EQ(FormatDecimal(3.0, 0), "3");
    EXPECT_EQ(FormatDecimal(0.1f, -1), "0.1");  // the float's shortest text
    EXPECT_EQ(FormatDecimal(std::nan(""), 2), "");
    double v = 0;
    EXPECT_TRUE(ParseDecimal("-12.5", v));
    EXPECT_EQ(v, -12.5);
    EXPECT_FALSE(ParseDecimal("12,5", v));
    EXPECT_FALSE(ParseDecimal("1e999", v));
    EXPECT_FALSE(ParseDecimal("", v));

    EXPECT_EQ(UnitOfFormat("%.1f mph"), "mph");
    EXPECT_EQ(UnitOfFormat("%.0f %%"), "%");
    EXPECT_EQ(UnitOfFormat("$ %5.2f"), "$");
    EXPECT_EQ(UnitOfFormat(""), "");
    EXPECT_EQ(DecimalsOfFormat("%.1f mph"), 1);
    EXPECT_EQ(DecimalsOfFormat("%f"), 6);
    EXPECT_EQ(DecimalsOfFormat("%.f"), 0);
    EXPECT_EQ(DecimalsOfFormat("%.3lf"), 3);
    EXPECT_EQ(DecimalsOfFormat("%g"), -1);
}

class LogReaderTest : public ::testing::Test {
protected:
    std::string Write(const std::string& body) {
        return dir.Write("log.csv", "Time,Speed,Gear,Speed (raw),Gear (raw),Crosshair X,Crosshair Y,Link,Definition\r\n"
                                    "ms,mph,,,,column,mph,,KV4.def\r\n" +
                                        body);
    }
    testing::TempDir dir;
    DataLogReader reader;
    std::string why;
};

TEST_F(LogReaderTest, RowsAreFoundByTimeAndReadFromDisk) {
    ASSERT_TRUE(reader.Open(Write("100,12.5,First,125,1,1.5,12.5,,\r\n"
                                  "200,,,,,,,link lost,\r\n"
                                  "350,\"3,0\",\"Se\"\"c\nond\",30,2,2,3,,\r\n"),
                            why))
        << why;
    EXPECT_EQ(reader.layout().definition, "KV4.def");
    ASSERT_EQ(reader.layout().items.size(), 2u);
    EXPECT_EQ(reader.layout().items[0].unit, "mph");
    ASSERT_EQ(reader.rowCount(), 3u);
    EXPECT_EQ(reader.durationMs(), 350);
    EXPECT_EQ(reader.RowAtTime(0), 0u);
    EXPECT_EQ(reader.RowAtTime(199), 0u);
    EXPECT_EQ(reader.RowAtTime(200), 1u);
    EXPECT_EQ(reader.RowAtTime(100000), 2u);

    LogRow row;
    ASSERT_TRUE(reader.ReadRow(2, row));
    EXPECT_EQ(row.timeMs, 350);
    EXPECT_EQ(row.cells[1], "3,0");
    EXPECT_EQ(row.cells[2], "Se\"c\nond");
    EXPECT_FALSE(row.linkLost);
    ASSERT_TRUE(row.crosshairX);
    EXPECT_FLOAT_EQ(*row.crosshairX, 2.0f);
    ASSERT_TRUE(reader.ReadRow(1, row));
    EXPECT_TRUE(row.linkLost);
    EXPECT_FALSE(row.crosshairX);
    ASSERT_TRUE(reader.ReadRow(0, row));  // backwards, too
    EXPECT_EQ(row.cells[2], "First");
    EXPECT_FALSE(reader.ReadRow(3, row));
}

TEST_F(LogReaderTest, HostileFilesAreRefusedOrTheirBadRowsSkipped) {
    EXPECT_FALSE(reader.Open(dir.File("missing.csv"), why));
    EXPECT_FALSE(reader.Open(dir.Write("empty.csv", ""), why));
    EXPECT_FALSE(reader.Open(dir.Write("plain.csv", "a,b,c\r\n1,2,3\r\n"), why));
    EXPECT_FALSE(reader.Open(dir.Write("binary.csv", std::string("\0\xff\"\n\x01,\"", 7)), why));
    EXPECT_FALSE(reader.Open(dir.Write("wide.csv", std::string(100000, ',') + "\n"), why));
    EXPECT_FALSE(reader.Open(dir.Write("noraw.csv", "Time,A,B,Crosshair X,Crosshair Y,Link,Definition\r\nms,,,,,,\r\n"), why));

    // Bad rows: too few fields, a time that is not a whole number, time going back, a quote
    // left open, a line too long, and a cut last line.
    const std::string longLine = "400," + std::string(70000, 'x') + ",,,,,,,\r\n";
    ASSERT_TRUE(reader.Open(Write("100,1,N,1,0,,,,\r\n"
                                  "150,1,N\r\n"
                                  "1.5e3,1,N,1,0,,,,\r\n"
                                  "-7,1,N,1,0,,,,\r\n"
                                  "200,1,N,1,0,,,,\r\n"
                                  "190,1,N,1,0,,,,\r\n"
                                  "300,\"1,N,1,0,,,,\r\n" +
                                  longLine + "500,2,N,2,0,,,,\r\n" + "600,3,N,3,0,,,"),
                            why))
        << why;
    EXPECT_EQ(reader.rowCount(), 3u);  // 100, 200, 500
    EXPECT_EQ(reader.RowTime(2), 500);
    EXPECT_GE(reader.skippedRows(), 6u);
    LogRow row;
    ASSERT_TRUE(reader.ReadRow(2, row));
    EXPECT_EQ(row.cells[1], "2");
}

}  // namespace
}  // namespace korvath
