#include <gtest/gtest.h>

#include <filesystem>

#include "definition/definition_listing.h"
#include "platform/settings_keys.h"
#include "support/recording_host.h"
#include "support/scoped_env.h"

namespace korvath {
namespace {

using testing::TempDir;

std::string Identity(const std::string& type, const std::string& name = "Name", const std::string& description = "D") {
    return "[ApplicationID]\nLogicalName " + name + "\nTransmissionType " + type + "\nDescription " + description + "\n";
}

TEST(DefinitionListing, ListsDefinitionFilesThatNameATransmissionInNameOrder) {
    TempDir dir;
    dir.Write("b.def", Identity("Bravo"));
    dir.Write("A.DEF", Identity("Alpha Heavy Duty " + std::string(70, 't'), std::string(60, 'n')));
    dir.Write("c.def", "[ApplicationID]\nLogicalName NoType\n");  // no transmission type: not offered
    dir.Write("generic.init", Identity("None"));                  // not a "*.def" file
    dir.Write("notes.def.txt", Identity("Txt"));
    dir.Write("folder.def/inner.def", Identity("Inner"));         // folders are skipped
    dir.Write("z.def", "[ApplicationID]\nTransmissionType \n");  // a key without a word: empty

    const auto list = ListDefinitionFiles(dir.path());
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].fileName, "A.DEF");
    // Cut to the fields of the page.
    EXPECT_EQ(list[0].transmissionType, "Alpha Heavy Duty " + std::string(60 - 17, 't'));
    EXPECT_EQ(list[0].logicalName, std::string(50, 'n'));
    EXPECT_EQ(list[0].description, "D");
    EXPECT_EQ(list[1].fileName, "b.def");
    EXPECT_EQ(list[1].transmissionType, "Bravo");
}

TEST(DefinitionListing, KeepsAtMostWhatThePageHolds) {
    TempDir dir;
    for (int i = 0; i < 55; ++i) dir.Write(std::string("t") + std::to_string(100 + i) + ".def", Identity(std::string("T") + std::to_string(i)));
    const auto list = ListDefinitionFiles(dir.path());
    ASSERT_EQ(list.size(), kMaxDefinitionChoices);
    EXPECT_EQ(list.front().fileName, "t100.def");
    EXPECT_EQ(list.back().fileName, "t149.def");
    EXPECT_TRUE(ListDefinitionFiles(dir.File("missing")).empty());
}

TEST(DefinitionListing, FindsDefinitionsIgnoringCaseAndTheRememberedDirectory) {
    TempDir dir;
    const std::string file = dir.Write("PID2/3/Kv4.Def", Identity("KV4"));
    EXPECT_EQ(FindDefinitionFile(dir.path() + "/PID2/3", "KV4.DEF"), file);
    EXPECT_EQ(FindDefinitionFile(dir.path() + "/PID2/3", "other.def"), "");
    EXPECT_EQ(FindDefinitionFile(dir.path() + "/PID2/3", ""), "");  // never the directory itself

    testing::MemorySettings settings;
    EXPECT_EQ(ProfileDefinitionDirectory(dir.path(), settings), dir.path() + "/PID2/3");
    settings.SetInt(settings::kHardwareProfile, settings::kDeviceType, 65535);
    settings.SetInt(settings::kHardwareProfile, settings::kFirmwareVersion, 4);
    EXPECT_EQ(ProfileDefinitionDirectory(dir.path(), settings), dir.path() + "/PID65535/4");
}

// A workshop's own definitions in ${XDG_DATA_HOME}/korvath/PID<n>/<fw> come first.
TEST(DefinitionListing, TheUsersFolderIsSearchedFirstAndWinsOnAClash) {
    TempDir program, data;
    testing::ScopedEnv xdg("XDG_DATA_HOME", data.path().c_str());
    const std::string directory = program.path() + "/PID2/3";
    program.Write("PID2/3/KV4.def", Identity("Program KV4"));
    program.Write("PID2/3/Other.def", Identity("Other"));
    program.Write("PID2/3/generic.init", Identity("None"));
    const std::string mine = data.Write("korvath/PID2/3/kv4.DEF", Identity("Workshop KV4"));
    data.Write("korvath/PID2/3/Added.def", Identity("Added"));

    const auto folders = DefinitionSearchDirectories(directory);
    ASSERT_EQ(folders, (std::vector<std::string>{data.path() + "/korvath/PID2/3", directory}));
    const auto list = ListDefinitionFiles(folders);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].fileName, "Added.def");
    EXPECT_EQ(list[0].directory, folders[0]);
    EXPECT_EQ(list[1].fileName, "kv4.DEF");  // the program's KV4.def is hidden by it
    EXPECT_EQ(list[1].transmissionType, "Workshop KV4");
    EXPECT_EQ(list[2].fileName, "Other.def");
    EXPECT_EQ(list[2].directory, directory);

    EXPECT_EQ(FindDefinitionFile(directory, "KV4.def"), mine);
    EXPECT_EQ(FindDefinitionFile(directory, "other.def"), directory + "/Other.def");
    EXPECT_EQ(DefinitionFilePath(directory, "generic.init"), directory + "/generic.init");
    EXPECT_EQ(DefinitionFilePath(directory, "gone.def"), directory + "/gone.def");  // named in messages

    // A controller that only the user has definitions for is known.
    data.Write("korvath/PID2/9/generic.init", Identity("None"));
    EXPECT_TRUE(HasDefinitionFolder(program.path() + "/PID2/9"));
    EXPECT_FALSE(HasDefinitionFolder(program.path() + "/PID2/8"));

    // A folder of another shape, or the user's folder itself, is searched alone.
    EXPECT_EQ(DefinitionSearchDirectories(program.path()), (std::vector<std::string>{program.path()}));
    EXPECT_EQ(DefinitionSearchDirectories(program.path() + "/PIDx/3").size(), 1u);
    EXPECT_EQ(DefinitionSearchDirectories(folders[0]), (std::vector<std::string>{folders[0]}));
}

}  // namespace
}  // namespace korvath
