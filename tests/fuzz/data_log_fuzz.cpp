// The data log reader on any file: it opens or refuses, and every row it indexed reads back
// with the layout's columns and times in order.

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "datalog/data_log_reader.h"
#include "fuzz_target.h"

KORVATH_FUZZ_TARGET(data_log)(const std::uint8_t* data, std::size_t size) {
    using namespace korvath::datalog;
    // One file for every input, removed when the program ends.
    static const struct TempFile {
        std::string path = "/tmp/korvath-fuzz-log-" + std::to_string(getpid()) + ".csv";
        ~TempFile() { std::remove(path.c_str()); }
    } file;
    const std::string& path = file.path;
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    DataLogReader reader;
    std::string why;
    if (!reader.Open(path, why)) return 0;
    std::int64_t last = 0;
    LogRow row;
    for (std::size_t i = 0; i < reader.rowCount(); ++i) {
        KORVATH_FUZZ_CHECK(reader.ReadRow(i, row));
        KORVATH_FUZZ_CHECK(row.cells.size() == reader.layout().ColumnCount());
        KORVATH_FUZZ_CHECK(row.timeMs >= last && row.timeMs == reader.RowTime(i));
        KORVATH_FUZZ_CHECK(reader.RowAtTime(row.timeMs) >= i);
        last = row.timeMs;
    }
    return 0;
}
