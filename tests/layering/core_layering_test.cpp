// The core's rooms depend on each other one way: every folder under src/core is a library
// (korvath_core_module in src/core/CMakeLists.txt), and a file may include only its own room and
// the rooms its library links, directly or through them. No Qt header anywhere in the core.
// The build alone does not catch an upward include of a header-only piece, nor one that happens
// to link because a program links every room; this check does.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/recording_host.h"

namespace fs = std::filesystem;

namespace {

using RoomLinks = std::map<std::string, std::set<std::string>>;

// The word of `text` at `i` made of the characters ok() accepts.
template <class Accept>
std::string WordAt(const std::string& text, std::size_t i, Accept ok) {
    std::size_t end = i;
    while (end < text.size() && ok(static_cast<unsigned char>(text[end]))) ++end;
    return text.substr(i, end - i);
}

bool IsLower(unsigned char c) { return c >= 'a' && c <= 'z'; }

// The rooms and the rooms each links, as korvath_core_module(<room> korvath-<room> ... other
// libraries) says; a call may span lines. (No std::regex: GCC 12 warns inside it at -O1.)
RoomLinks ReadRoomLinks(const fs::path& coreCMakeLists) {
    std::ifstream in(coreCMakeLists);
    std::stringstream text;
    text << in.rdbuf();
    const std::string all = text.str();
    const std::string call = "korvath_core_module(";
    RoomLinks links;
    for (std::size_t at = all.find(call); at != std::string::npos; at = all.find(call, at + 1)) {
        const std::size_t lineStart = all.rfind('\n', at) == std::string::npos ? 0 : all.rfind('\n', at) + 1;
        if (all.find_first_not_of(" \t", lineStart) != at) continue;  // "function(korvath_core_module" or a comment
        std::size_t i = all.find_first_not_of(" \t\n", at + call.size());
        const std::string room = WordAt(all, i, IsLower);
        const std::size_t close = all.find(')', i);
        if (room.empty() || close == std::string::npos) continue;
        std::set<std::string>& direct = links[room];
        const std::string args = all.substr(i + room.size(), close - i - room.size());
        for (std::size_t l = args.find("korvath-"); l != std::string::npos; l = args.find("korvath-", l + 1)) {
            const std::string linked = WordAt(args, l + 8, IsLower);
            if (!linked.empty()) direct.insert(linked);
        }
    }
    return links;
}

// Every room a room reaches through its links; a room that reaches itself is in a cycle.
RoomLinks Reachable(const RoomLinks& direct) {
    RoomLinks reach = direct;
    for (bool grew = true; grew;) {
        grew = false;
        for (auto& [room, reached] : reach) {
            std::set<std::string> more;
            for (const std::string& r : reached) {
                auto found = reach.find(r);
                if (found != reach.end()) more.insert(found->second.begin(), found->second.end());
            }
            const std::size_t before = reached.size();
            reached.insert(more.begin(), more.end());
            grew = grew || reached.size() != before;
        }
    }
    return reach;
}

bool IsQtHeader(const std::string& header) {
    auto alnum = [](unsigned char c) { return std::isalnum(c) != 0; };
    if (header.size() > 1 && header[0] == 'Q' && WordAt(header, 0, alnum) == header) return true;  // <QString>
    if (header.rfind("Qt", 0) == 0 && header.find('/') != std::string::npos) return true;        // <QtCore/...>
    // <qglobal.h> and its kind
    auto lowerOrDigit = [](unsigned char c) { return IsLower(c) || std::isdigit(c) || c == '_'; };
    return header.size() > 3 && header[0] == 'q' && header.substr(header.size() - 2) == ".h" &&
           WordAt(header, 0, lowerOrDigit).size() == header.size() - 2;
}

// The header an #include line names, or "" for any other line.
std::string IncludedHeader(const std::string& line) {
    std::size_t i = line.find_first_not_of(" \t");
    if (i == std::string::npos || line[i] != '#') return {};
    i = line.find_first_not_of(" \t", i + 1);
    if (i == std::string::npos || line.compare(i, 7, "include") != 0) return {};
    i = line.find_first_not_of(" \t", i + 7);
    if (i == std::string::npos || (line[i] != '<' && line[i] != '"')) return {};
    const std::size_t end = line.find(line[i] == '<' ? '>' : '"', i + 1);
    return end == std::string::npos ? std::string() : line.substr(i + 1, end - i - 1);
}

// One line per fault: a folder that is no library, a cycle, an include of a room not linked, a
// Qt header ("file:line: ...", relative to the core folder).
std::vector<std::string> LayeringFaults(const fs::path& core) {
    std::vector<std::string> faults;
    const RoomLinks reach = Reachable(ReadRoomLinks(core / "CMakeLists.txt"));
    for (const auto& [room, reached] : reach)
        if (reached.count(room)) faults.push_back("korvath-" + room + " depends on itself through its links");

    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(core))
        if (entry.is_regular_file() && (entry.path().extension() == ".h" || entry.path().extension() == ".cpp"))
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        const fs::path relative = fs::relative(file, core);
        const std::string room = relative.begin()->string();
        const auto own = reach.find(room);
        if (own == reach.end()) {
            faults.push_back(relative.string() + ": the folder " + room + " is not a korvath_core_module");
            continue;
        }
        std::ifstream in(file);
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            const std::string header = IncludedHeader(line);
            if (header.empty()) continue;
            const std::string where = relative.string() + ":" + std::to_string(number) + ": ";
            if (IsQtHeader(header)) {
                faults.push_back(where + "includes the Qt header <" + header + ">");
                continue;
            }
            const auto slash = header.find('/');
            if (slash == std::string::npos) continue;
            const std::string target = header.substr(0, slash);
            if (target == room || !reach.count(target)) continue;  // own room, or not a room
            if (!own->second.count(target))
                faults.push_back(where + "includes \"" + header + "\", but korvath-" + room + " does not link korvath-" +
                                 target);
        }
    }
    return faults;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) text += l + "\n";
    return text;
}

TEST(CoreLayering, EveryIncludeOfTheCoreReachesARoomItsLibraryLinks) {
    const std::vector<std::string> faults = LayeringFaults(fs::path(KORVATH_SOURCE_DIR) / "src" / "core");
    EXPECT_TRUE(faults.empty()) << Joined(faults);
}

// The check itself finds what it is there to find, in a small tree of its own.
TEST(CoreLayering, FindsAnUpwardIncludeAQtHeaderACycleAndAStrayFolder) {
    korvath::testing::TempDir dir;
    dir.Write("CMakeLists.txt",
              "korvath_core_module(low korvath-platform)\n"
              "korvath_core_module(high korvath-low\n    Threads::Threads)\n"
              "korvath_core_module(a korvath-b)\nkorvath_core_module(b korvath-a)\n");
    const fs::path core = dir.path();
    dir.Write("low/fine.h", "#pragma once\n#include <vector>\n");
    dir.Write("low/up.cpp", "#include \"low/fine.h\"\n\n#include \"high/top.h\"\n#include <QString>\n");
    dir.Write("high/top.h", "#pragma once\n#include \"low/fine.h\"\n#include \"gtest/gtest.h\"\n");
    dir.Write("stray/x.h", "#pragma once\n");

    const std::vector<std::string> faults = LayeringFaults(core);
    const std::string text = Joined(faults);
    EXPECT_NE(text.find("low/up.cpp:3: includes \"high/top.h\", but korvath-low does not link korvath-high"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("low/up.cpp:4: includes the Qt header <QString>"), std::string::npos) << text;
    EXPECT_NE(text.find("korvath-a depends on itself"), std::string::npos) << text;
    EXPECT_NE(text.find("stray/x.h: the folder stray is not a korvath_core_module"), std::string::npos) << text;
    EXPECT_EQ(faults.size(), 5u) << text;  // a and b are each in the cycle; high's includes are fine
}

}  // namespace
