#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "calibration/calibration_file.h"
#include "platform/settings_keys.h"
#include "support/document_fixture.h"

namespace korvath {
namespace {

using testing::DocumentTest;

// Little-endian bytes written by hand, independent of the archive code under test.
struct Bytes {
    std::string s;
    Bytes& raw(std::string_view t) { return s.append(t), *this; }
    Bytes& u8(unsigned v) { return s.push_back(static_cast<char>(v & 0xFF)), *this; }
    Bytes& u16(unsigned v) { return u8(v).u8(v >> 8); }
    Bytes& u32(std::uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
    Bytes& zeros(std::size_t n) { return s.append(n, '\0'), *this; }
    Bytes& str(std::string_view t) {  // strings shorter than 255 only
        return u8(static_cast<unsigned>(t.size())).raw(t);
    }
};

// Where two byte strings first differ ("same" when they do not), without printing them whole.
std::string FirstDifference(const std::string& a, const std::string& b) {
    if (a == b) return "same";
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    return "sizes " + std::to_string(a.size()) + " and " + std::to_string(b.size()) + ", first difference at byte " +
           std::to_string(i);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// --- the byte archive ----------------------------------------------------------------------

TEST(Archive, StringLengthPrefixesSwitchAt255And0xFFFE) {
    struct Case {
        std::size_t length;
        std::string prefix;
    };
    const Case cases[] = {
        {0, std::string("\x00", 1)},
        {254, "\xFE"},
        {255, std::string("\xFF\xFF\x00", 3)},
        {0xFFFD, "\xFF\xFD\xFF"},
        {0xFFFE, std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7)},
        {0x10000, std::string("\xFF\xFF\xFF\x00\x00\x01\x00", 7)},
    };
    for (const auto& c : cases) {
        ArchiveWriter w;
        const std::string text(c.length, 'q');
        ASSERT_TRUE(w.WriteString(text));
        ASSERT_EQ(w.bytes().size(), c.prefix.size() + c.length) << c.length;
        EXPECT_EQ(w.bytes().substr(0, c.prefix.size()), c.prefix) << c.length;

        ArchiveReader r(w.bytes());
        std::string back;
        ASSERT_TRUE(r.ReadString(back, "a string")) << c.length;
        EXPECT_EQ(back, text);
        EXPECT_EQ(r.remaining(), 0u);
    }
}

TEST(Archive, ReadsStringsOfSixteenBitCharactersAsSingleByteText) {
    Bytes b;
    b.u8(0xFF).u16(0xFFFE).u8(3).u16('A').u16(0xE9).u16(0x20AC);  // short form
    b.u8(0xFF).u16(0xFFFE).u8(0xFF).u16(300);                      // 16-bit length
    for (int i = 0; i < 300; ++i) b.u16('z');
    b.u8(0xFF).u16(0xFFFE).u8(0xFF).u16(0xFFFF).u32(2).u16('o').u16('k');  // 32-bit length
    ArchiveReader r(b.s);
    std::string s;
    ASSERT_TRUE(r.ReadString(s, "text"));
    EXPECT_EQ(s, "A\xE9?");  // a character without a single-byte form becomes '?'
    ASSERT_TRUE(r.ReadString(s, "text"));
    EXPECT_EQ(s, std::string(300, 'z'));
    ASSERT_TRUE(r.ReadString(s, "text"));
    EXPECT_EQ(s, "ok");
    EXPECT_EQ(r.remaining(), 0u);
}

TEST(Archive, RefusesLengthsAndNumbersBeyondTheEnd) {
    const std::string cases[] = {
        std::string("\x05" "abcd"),                              // one short
        std::string("\xFF\x10\x00" "abc", 6),                    // 16-bit length past the end
        std::string("\xFF\xFF\xFF\xFF\xFF\xFF\x7F", 7),          // 2 GiB string in a tiny file
        std::string("\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 7),          // length that needs 64 bits
        std::string("\xFF\xFE\xFF\x03" "ab", 6),                 // 3 wide characters need 6 bytes
        std::string("\xFF\xFF", 2),                              // prefix cut short
    };
    for (const auto& c : cases) {
        ArchiveReader r(c);
        std::string s = "before";
        EXPECT_FALSE(r.ReadString(s, "the test string"));
        EXPECT_TRUE(r.failed());
        EXPECT_NE(r.error().find("the test string"), std::string::npos) << r.error();
        std::int32_t v = 7;
        EXPECT_FALSE(r.ReadI32(v, "more"));  // a failed reader stays failed
    }
    const std::string threeBytes("\x01\x02\x03", 3);
    ArchiveReader r(threeBytes);
    std::int32_t v = 0;
    EXPECT_FALSE(r.ReadI32(v, "the count"));
    EXPECT_NE(r.error().find("ends inside the count"), std::string::npos);
}

// --- files --------------------------------------------------------------------------------

constexpr const char* kGeneric =
    "[ApplicationID]\nLogicalName Generic\nTransmissionType None\nProdName Demo Box\nProdID 2\n"
    "[Declarations]\n$TotalBlockSize 64\n$DynamicBlockSize 32\n$NumDynamicTableCells 20\n"
    "$NumDynamicTableEntries 2\n$DynamicBlockStart 32\n$DynamicBlockLayout 0\n$DynamicInterpolation 1\n"
    "$StaticBlockSize 32\n$StaticBlockStart 0\n$NVMType 0\n"
    "Gain I16 1:0 Def:12\nName STR 2:0:x Def:Demo\nCurve T8 10:3 NVM:10:0:1\n"
    "StoreFormulae:\nI@Gain=I:Gain:\nLoadFormulae:\nI@Gain=I:Gain:+0\n";

// An application definition that declares more than the calibrations made with it hold.
constexpr const char* kApplication =
    "[ApplicationID]\nLogicalName App\nTransmissionType App Four\nProdName Demo Box\n"
    "[Declarations]\n$TotalBlockSize 64\n$DynamicBlockSize 32\n$NumDynamicTableCells 20\n"
    "$NumDynamicTableEntries 2\n$DynamicBlockStart 32\n$DynamicBlockLayout 0\n$DynamicInterpolation 1\n"
    "$StaticBlockSize 32\n$StaticBlockStart 0\n$NVMType 0\n"
    "Gain I16 1:0 Def:12\nName STR 2:0:x Def:Demo\nLabel STR 2:0:y Fix:Fixed text\nLimit I16 1:2 Def:77\n"
    "StoreFormulae:\nI@Gain=I:Gain:\nI@Limit=I:Limit:\nLoadFormulae:\nI@Gain=I:Gain:+0\n";

class CalibrationFileTest : public DocumentTest {
protected:
    void SetUp() override {
        dir.Write("PID2/3/generic.init", kGeneric);
        dir.Write("PID2/3/app.def", kApplication);
        DocumentTest::SetUp();
    }

    // Opens `bytes` and reports whether it was refused without any change to the calibration.
    ::testing::AssertionResult RefusedUnchanged(std::string_view bytes) {
        const std::string before = CalibrationFileBytes(*doc);
        const std::size_t messages = host.messages.size();
        if (OpenCalibrationData(*doc, bytes)) return ::testing::AssertionFailure() << "the file was accepted";
        if (host.messages.size() != messages + 1)
            return ::testing::AssertionFailure() << "expected one message, got " << host.messages.size() - messages;
        if (CalibrationFileBytes(*doc) != before) return ::testing::AssertionFailure() << "the calibration changed";
        return ::testing::AssertionSuccess();
    }

    // A calibration on app.def with something in every block.
    void FillEverything() {
        ASSERT_TRUE(doc->LoadDefinitionFile(dir.File("PID2/3/app.def")));
        ASSERT_TRUE(doc->ReadApplicationID());
        ASSERT_TRUE(doc->ReadDeclarations(1));
        Calibration& c = doc->calibration();
        c.application.DefinitionFileName = "app.def";
        c.application.Reserved1 = std::string(254, 'a');
        c.application.Reserved2 = std::string(255, 'b');
        c.product.Reserved3 = "r3";
        c.product.Reserved4 = std::string(300, 'd');
        for (std::size_t i = 0; i < c.hardware.bytes.size(); ++i) c.hardware.bytes[i] = static_cast<std::uint8_t>(i * 7);
        c.hardware.Set(HardwareField::ProgramVersionMajor, 3);
        c.hardware.Set(HardwareField::ProgramVersionMinor, 31);
        c.hardware.Set(HardwareField::PackageRevision, 0);
        c.hardware.Set(HardwareField::IdentifiedSinceLoad, 0);
        c.hardware.Set(HardwareField::DeviceType, 2);
        c.hardware.Set(HardwareField::FirmwareVersion, 3);
        for (int t = 0; t < kNumTraces; ++t)
            for (int i = 0; i < kPointsPerTrace; ++i) c.points[t][i] = static_cast<std::int16_t>(t * 100 - i * 37);
        c.properties.SetText(":Page:Mode 2; ");
        c.reservedText = "reserved text";
        for (std::size_t i = 0; i < c.reservedBlock.size(); ++i) c.reservedBlock[i] = static_cast<std::uint8_t>(i);
        for (std::size_t i = 0; i < c.viewState.bytes.size(); ++i) c.viewState.bytes[i] = static_cast<std::uint8_t>(i % 3);
        for (std::size_t i = 0; i < c.conversionTables.size(); ++i)
            c.conversionTables[i] = static_cast<std::uint8_t>(i * 13);
        c.variables.layout.CalPSVBase = 0x12345678;
        c.variables.layout.reserved[11] = 9;
        for (std::size_t i = 0; i < c.reservedBlock2.size(); ++i) c.reservedBlock2[i] = static_cast<std::uint8_t>(~i);
        doc->FindIntVariable("Gain").set(-5);
        doc->reader().SetText(std::string(70000, 'T'));  // a definition text with a 32-bit length
    }
};

TEST_F(CalibrationFileTest, ANewCalibrationSavedAtOnceGivesTheExpectedBytes) {
    doc->InitNewCalibration();
    const std::string path = dir.File("new.qvr");
    ASSERT_TRUE(SaveCalibrationFile(*doc, path));

    Bytes b;
    b.raw("QVR02\n");
    b.str("Generic").str("").str("None").str("").str("").str("generic.init").str("").str("");
    b.str("2").str("Demo Box").str("").str("").str("").str("").str("");
    Bytes hw;
    hw.zeros(102).u16(2).zeros(4).u16(2).zeros(6).u16(3).u16(3).u16(3).u16(31).u16(0).u16(0).u16(1).u16(0).u16(0).zeros(8);
    ASSERT_EQ(hw.s.size(), 142u);
    b.raw(hw.s);
    for (int t = 0; t < kNumTraces; ++t)
        for (int i = 0; i < kPointsPerTrace; ++i) b.u16(static_cast<unsigned>((1000 + 200 * i) / (1 + t % 2)));
    b.str("").str("").zeros(508);
    b.zeros(51).u8(1).u8(1).zeros(48).u8(0).u8(1).zeros(33);  // traces 0 and 1 shown, linking on
    b.zeros(8000);
    for (std::uint32_t v : {64u, 32u, 20u, 2u, 32u, 0u, 1u, 32u, 0u, 0u}) b.u32(v);
    b.u32(4).u32(1).u32(1);                                    // 4 slots (STR takes two), 1 + 1 formulas
    b.u32(256).u32(0x7000).u32(1024).u32(0xFFFFFFFF).u16(64).u16(512).zeros(12);
    b.str("").zeros(1024);                                     // a new calibration holds no definition text
    b.u16(12).u16(0).u16(0).u8(1).u8(1).str("Gain");
    b.zeros(4).u16(0).u8(16).u8(2).str("Name");
    b.zeros(4).u16(0xFFFF).u8(255).u8(0).str("Demo");
    b.u16(0).u8(10).u8(1).u16(3).u8(32).u8(10).str("Curve");
    b.str("I@Gain=I:Gain:").str("I@Gain=I:Gain:+0");

    EXPECT_EQ(FirstDifference(ReadFile(path), b.s), "same");
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(CalibrationFileTest, EveryBlockSurvivesARoundTrip) {
    FillEverything();
    const std::string saved = CalibrationFileBytes(*doc);

    CalibrationImage image;
    std::size_t body = 0;
    EXPECT_EQ(HeaderLine(saved, body), "QVR02");
    ArchiveReader r(std::string_view(saved).substr(body));
    ASSERT_TRUE(Serialize(r, image)) << r.error();
    EXPECT_EQ(r.remaining(), 0u);
    const Calibration& a = doc->calibration();
    const Calibration& c = image.calibration;
    EXPECT_TRUE(c.application.Reserved1 == a.application.Reserved1);
    EXPECT_TRUE(c.application.Reserved2 == a.application.Reserved2);
    EXPECT_EQ(c.application.TransmissionType, "App Four");
    EXPECT_TRUE(c.product.Reserved4 == a.product.Reserved4);
    EXPECT_EQ(c.hardware.bytes, a.hardware.bytes);
    EXPECT_EQ(c.points, a.points);
    EXPECT_EQ(c.properties.text(), a.properties.text());
    EXPECT_EQ(c.reservedText, a.reservedText);
    EXPECT_EQ(c.reservedBlock, a.reservedBlock);
    EXPECT_EQ(c.viewState.bytes, a.viewState.bytes);
    EXPECT_EQ(c.conversionTables, a.conversionTables);
    EXPECT_EQ(c.variables.layout.CalPSVBase, 0x12345678);
    EXPECT_EQ(c.variables.layout.reserved, a.variables.layout.reserved);
    EXPECT_EQ(c.reservedBlock2, a.reservedBlock2);
    EXPECT_TRUE(image.definitionText == doc->reader().text());
    ASSERT_EQ(c.variables.count, a.variables.count);
    for (int i = 0; i < c.variables.count; ++i) {
        const auto& x = c.variables.slots[static_cast<std::size_t>(i)];
        const auto& y = a.variables.slots[static_cast<std::size_t>(i)];
        EXPECT_EQ(x.name, y.name);
        EXPECT_EQ(x.value, y.value);
        EXPECT_EQ(x.address, y.address);
        EXPECT_EQ(x.type, y.type);
        EXPECT_EQ(x.location, y.location);
    }
    EXPECT_EQ(c.variables.storeFormulas, a.variables.storeFormulas);
    EXPECT_EQ(c.variables.loadFormulas, a.variables.loadFormulas);

    // Opened through the document (its definition file present, the stored text a copy of it)
    // and saved again: the same bytes. (The layout comes from the definition again, so the
    // value it does not give is its default.)
    ASSERT_TRUE(doc->LoadDefinitionFile(dir.File("PID2/3/app.def")));
    doc->variables().layout.CalPSVBase = -1;
    const std::string withDefinition = CalibrationFileBytes(*doc);
    doc->InitNewCalibration();
    ASSERT_TRUE(OpenCalibrationData(*doc, withDefinition));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(FirstDifference(CalibrationFileBytes(*doc), withDefinition), "same");
}

TEST_F(CalibrationFileTest, NewConvertedAndSavedAgainKeepsEveryByte) {
    const std::string a = dir.File("a.qvr"), b = dir.File("b.qvr");
    ASSERT_TRUE(SaveCalibrationFile(*doc, a));
    CQRNDoc other({host, host, settings}, dir.path());
    ASSERT_TRUE(OpenCalibrationFile(other, a));
    ASSERT_TRUE(SaveCalibrationFile(other, b));
    EXPECT_EQ(FirstDifference(ReadFile(a), ReadFile(b)), "same");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(CalibrationFileTest, AHeaderEndingInCarriageReturnOpens) {
    FillEverything();
    std::string saved = CalibrationFileBytes(*doc);
    saved.insert(5, "\r");
    doc->InitNewCalibration();
    ASSERT_TRUE(OpenCalibrationData(*doc, saved));
    EXPECT_EQ(doc->calibration().reservedText, "reserved text");
}

TEST_F(CalibrationFileTest, AnUnknownHeaderIsRefusedWithoutChange) {
    FillEverything();
    std::string saved = CalibrationFileBytes(*doc);
    doc->InitNewCalibration();
    for (const char* header : {"QVR03\n", "QVR02 \n", "\"QVR02\"\n", "qvr02\n", "\n"}) {
        std::string other = saved;
        other.replace(0, 6, header);
        ASSERT_TRUE(RefusedUnchanged(other)) << header;
        EXPECT_EQ(host.messages.back().caption, "Invalid Calibration File Format:");
        EXPECT_EQ(host.messages.back().text,
                  "This file is not recognized as a valid calibration file. Please try to load a different file.");
        EXPECT_EQ(host.messages.back().style, 0u);
    }
}

TEST_F(CalibrationFileTest, MoreThanFortyFormulasAreTruncatedWithOneMessageEach) {
    FillEverything();
    doc->calibration().application.DefinitionFileName = "gone.def";  // keep the lists as stored
    auto& t = doc->variables();
    t.storeFormulas.clear();
    t.loadFormulas.clear();
    for (int i = 0; i < 40; ++i) t.storeFormulas.push_back("I@S" + std::to_string(i) + "=1");
    t.loadFormulas = {"I@L=2", "I@M=3"};
    std::string file = CalibrationFileBytes(*doc);
    // Five more store formulas: raise the stored count to 45 and insert them after the 40th.
    const std::string lastStore = std::string(1, '\x07') + "I@S39=1";
    const auto at = file.find(lastStore) + lastStore.size();
    ArchiveWriter extra;
    for (int i = 40; i < 45; ++i) extra.WriteString("I@S" + std::to_string(i) + "=1");
    file.insert(at, extra.bytes());
    const std::string count40 = std::string("\x28\0\0\0\x02\0\0\0", 8);
    const auto countAt = file.find(count40);
    ASSERT_NE(countAt, std::string::npos);
    file[countAt] = 45;

    doc->InitNewCalibration();
    ASSERT_TRUE(OpenCalibrationData(*doc, file));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "Too many store formulas (45) for array size, truncating to maximum number.");
    EXPECT_EQ(host.messages[0].caption, "Store formula array size exceeded");
    ASSERT_EQ(doc->variables().storeFormulas.size(), 40u);
    EXPECT_EQ(doc->variables().storeFormulas[39], "I@S39=1");
    EXPECT_EQ(doc->variables().loadFormulas, (std::vector<std::string>{"I@L=2", "I@M=3"}));
}

TEST_F(CalibrationFileTest, OpeningRereadsThePresentDefinitionKeepingStoredValues) {
    FillEverything();
    auto& t = doc->variables();
    // A calibration made with an older app.def: no Limit, no Label, its own formula lists.
    doc->LoadDefinitionFile(dir.Write("old.def", std::string(kGeneric)));
    doc->ResetVariableTable(2);
    ASSERT_TRUE(doc->ReadDeclarations(1));
    doc->FindIntVariable("Gain").set(-5);
    t.slots[2].name = "User's own name";
    t.storeFormulas = {"I@Old=1", "I@Gain=I:Gain:"};
    doc->calibration().application.DefinitionFileName = "C:\\Program Files\\Tuning\\PID2\\3\\APP.DEF";
    const std::string saved = CalibrationFileBytes(*doc);

    doc->InitNewCalibration();
    doc->calibration().hardware.Set(HardwareField::IdentifiedSinceLoad, 1);
    int identified = 0;
    OpenHooks hooks;
    hooks.identify = [&](CQRNDoc&) { ++identified; };
    ASSERT_TRUE(OpenCalibrationData(*doc, saved, hooks));
    EXPECT_EQ(identified, 1);
    EXPECT_TRUE(host.messages.empty());

    const Calibration& c = doc->calibration();
    EXPECT_EQ(c.application.DefinitionFileName, "APP.DEF");  // directory dropped, found ignoring case
    EXPECT_EQ(c.application.TransmissionType, "App Four");
    EXPECT_FALSE(doc->reader().text().empty());
    EXPECT_EQ(doc->FindIntVariable("Gain").get(), -5);    // stored value, not the default
    EXPECT_EQ(doc->FindIntVariable("Limit").get(), 77);   // new variable: its default
    EXPECT_EQ(doc->variables().slots[2].name, "User's own name");  // stored text kept
    const int label = doc->FindStringVariable("Label");
    ASSERT_GE(label, 0);
    EXPECT_EQ(doc->variables().slots[static_cast<std::size_t>(label)].name, "Fixed text");
    // Stored formulas first, then those of the definition that were not stored yet.
    EXPECT_EQ(doc->variables().storeFormulas,
              (std::vector<std::string>{"I@Old=1", "I@Gain=I:Gain:", "I@Limit=I:Limit:"}));
    EXPECT_EQ(doc->variables().loadFormulas, (std::vector<std::string>{"I@Gain=I:Gain:+0"}));
    EXPECT_EQ(c.hardware.Get(HardwareField::IdentifiedSinceLoad), 0);
    EXPECT_EQ(c.hardware.Get(HardwareField::ProgramVersionMinor), 31);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(CalibrationFileTest, OpeningWithoutTheDefinitionUsesTheStoredCopy) {
    FillEverything();
    doc->calibration().application.DefinitionFileName = "elsewhere.def";
    doc->reader().SetText("\n[ApplicationID]\nLogicalName Stored");
    const std::string saved = CalibrationFileBytes(*doc);
    doc->InitNewCalibration();
    ASSERT_TRUE(OpenCalibrationData(*doc, saved));
    EXPECT_EQ(doc->reader().text(), "\n[ApplicationID]\nLogicalName Stored");
    EXPECT_EQ(FirstDifference(CalibrationFileBytes(*doc), saved), "same");
}

TEST_F(CalibrationFileTest, NoTransmissionEmptiesTheDefinitionAndReservedTexts) {
    FillEverything();
    doc->calibration().application.TransmissionType = "None";
    doc->calibration().application.DefinitionFileName = "elsewhere.def";
    const std::string saved = CalibrationFileBytes(*doc);
    ASSERT_TRUE(OpenCalibrationData(*doc, saved));
    EXPECT_TRUE(doc->reader().text().empty());
    EXPECT_TRUE(doc->calibration().reservedText.empty());
}

TEST_F(CalibrationFileTest, TheRememberedControllerReplacesTheStoredOneOnlyWhenFullyKnown) {
    FillEverything();
    doc->calibration().application.DefinitionFileName = "elsewhere.def";
    const std::string saved = CalibrationFileBytes(*doc);
    using namespace settings;
    settings.SetInt(kHardwareProfile, kDeviceType, 9);
    settings.SetInt(kHardwareProfile, kFirmwareVersion, 4);
    settings.SetInt(kHardwareProfile, kFirmwareVersionMinor, 1);
    ASSERT_TRUE(OpenCalibrationData(*doc, saved));
    EXPECT_EQ(doc->calibration().hardware.Get(HardwareField::DeviceType), 2);  // HardwareVersion missing
    EXPECT_EQ(doc->definitionDirectory(), dir.path() + "/PID2/3");

    settings.SetInt(kHardwareProfile, kHardwareVersion, 5);
    ASSERT_TRUE(OpenCalibrationData(*doc, saved));
    const HardwareBlock& hw = doc->calibration().hardware;
    EXPECT_EQ(hw.Get(HardwareField::DeviceType), 9);
    EXPECT_EQ(hw.Get(HardwareField::FirmwareVersion), 4);
    EXPECT_EQ(hw.Get(HardwareField::FirmwareVersionMinor), 1);
    EXPECT_EQ(hw.Get(HardwareField::HardwareVersion), 5);
    EXPECT_EQ(doc->definitionDirectory(), dir.path() + "/PID9/4");
}

// --- damaged files --------------------------------------------------------------------------

TEST_F(CalibrationFileTest, EveryTruncationIsRefusedWithoutChange) {
    FillEverything();
    doc->reader().SetText(std::string(300, 'T'));
    const std::string saved = CalibrationFileBytes(*doc);
    doc->InitNewCalibration();
    for (std::size_t length = 0; length < saved.size(); ++length) {
        ASSERT_TRUE(RefusedUnchanged(std::string_view(saved).substr(0, length))) << "cut at " << length;
        if (length > 6) {
            ASSERT_EQ(host.messages.back().caption, kDamagedFileCaption);
        }
    }
    EXPECT_NE(host.messages.back().text.find("the load formulas"), std::string::npos) << host.messages.back().text;
}

TEST_F(CalibrationFileTest, CountsThatCannotBeHonouredAreRefused) {
    FillEverything();
    doc->reader().SetText("");
    const std::string saved = CalibrationFileBytes(*doc);
    doc->InitNewCalibration();
    // The layout block's counts follow its ten leading fields; find them through their values.
    CalibrationImage image;
    std::size_t body = 0;
    HeaderLine(saved, body);
    ArchiveReader r(std::string_view(saved).substr(body));
    ASSERT_TRUE(Serialize(r, image));
    // Offset of the layout block: everything before it has fixed size once the strings are known.
    std::size_t offset = body;
    for (const std::string* s :
         {&image.calibration.application.LogicalName, &image.calibration.application.Schema,
          &image.calibration.application.TransmissionType, &image.calibration.application.SubType,
          &image.calibration.application.Reserved1, &image.calibration.application.DefinitionFileName,
          &image.calibration.application.Description, &image.calibration.application.Reserved2,
          &image.calibration.product.ProdID, &image.calibration.product.ProdName,
          &image.calibration.product.MinFWVer, &image.calibration.product.MaxFWVer,
          &image.calibration.product.MinHWVer, &image.calibration.product.Reserved3,
          &image.calibration.product.Reserved4})
        offset += (s->size() < 255 ? 1 : 3) + s->size();
    offset += 142 + 1000;
    offset += 1 + image.calibration.properties.text().size() + 1 + image.calibration.reservedText.size();
    offset += 508 + 136 + 8000;
    auto patched = [&](std::size_t field, std::uint32_t value) {
        std::string f = saved;
        for (int i = 0; i < 4; ++i) f[offset + field + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
        return f;
    };
    ASSERT_EQ(static_cast<unsigned char>(saved[offset + 40]), image.calibration.variables.count);
    for (std::uint32_t v : {4097u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        ASSERT_TRUE(RefusedUnchanged(patched(40, v))) << v;
        EXPECT_NE(host.messages.back().text.find("variable count"), std::string::npos);
    }
    for (std::size_t field : {44u, 48u})
        for (std::uint32_t v : {41u, 1000u, 0x7FFFFFFFu, 0x80000000u})
            ASSERT_TRUE(RefusedUnchanged(patched(field, v))) << field << " " << v;
    // A definition text that claims 2 GiB.
    std::string huge = saved;
    const std::size_t textAt = offset + 84;
    ASSERT_EQ(huge[textAt], '\0');
    huge.replace(textAt, 1, std::string("\xFF\xFF\xFF\xFF\xFF\xFF\x7F", 7));
    ASSERT_TRUE(RefusedUnchanged(huge));
    EXPECT_NE(host.messages.back().text.find("the definition text"), std::string::npos);
}

TEST_F(CalibrationFileTest, RandomAndMutatedFilesNeverCrashAndRefusalsChangeNothing) {
    FillEverything();
    doc->reader().SetText("\n[x]\nshort");
    const std::string saved = CalibrationFileBytes(*doc);
    std::mt19937 random(20261209);
    auto byte = [&] { return static_cast<char>(random() & 0xFF); };
    for (int i = 0; i < 200; ++i) {
        std::string junk = "QVR02\n";
        const std::size_t n = random() % 12000;
        for (std::size_t k = 0; k < n; ++k) junk.push_back(byte());
        const std::string before = CalibrationFileBytes(*doc);
        if (!OpenCalibrationData(*doc, junk)) {
            ASSERT_EQ(FirstDifference(CalibrationFileBytes(*doc), before), "same");
        }
    }
    for (int i = 0; i < 300; ++i) {
        std::string mutated = saved;
        const int flips = 1 + static_cast<int>(random() % 8);
        for (int k = 0; k < flips; ++k) mutated[6 + random() % (mutated.size() - 6)] = byte();
        const std::string before = CalibrationFileBytes(*doc);
        if (!OpenCalibrationData(*doc, mutated)) {
            ASSERT_EQ(FirstDifference(CalibrationFileBytes(*doc), before), "same");
        }
    }
}

// --- saving -------------------------------------------------------------------------------

TEST_F(CalibrationFileTest, AFailedSaveLeavesThePreviousFileAndNoTemporary) {
    const std::string target = dir.File("busy");
    std::filesystem::create_directories(target + "/inside");
    doc->SetModifiedFlag();
    EXPECT_FALSE(SaveCalibrationFile(*doc, target));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "File Save Error:");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(std::filesystem::is_directory(target + "/inside"));
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 2);  // PID2 and busy: no temporary left behind

    const std::string file = dir.File("cal.qvr");
    ASSERT_TRUE(SaveCalibrationFile(*doc, file));
    const std::string first = ReadFile(file);
    doc->calibration().reservedText = "changed";
    ASSERT_TRUE(SaveCalibrationFile(*doc, file));
    EXPECT_NE(FirstDifference(ReadFile(file), first), "same");
}

TEST_F(CalibrationFileTest, AReadOnlyFileIsRefusedAndALinkIsFollowed) {
    namespace fs = std::filesystem;
    const std::string locked = dir.File("locked.qvr");
    ASSERT_TRUE(SaveCalibrationFile(*doc, locked));
    const std::string before = ReadFile(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read);
    doc->calibration().reservedText = "changed";
    EXPECT_FALSE(SaveCalibrationFile(*doc, locked));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find(locked + " is read-only."), std::string::npos);
    EXPECT_EQ(ReadFile(locked), before);
    EXPECT_EQ(fs::status(locked).permissions(), fs::perms::owner_read | fs::perms::group_read);

    // Through a link: the file it names is replaced, keeps its mode, and the link stays a link.
    const std::string target = dir.File("target.qvr");
    const std::string link = dir.File("link.qvr");
    ASSERT_TRUE(SaveCalibrationFile(*doc, target));
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("target.qvr", link);
    doc->calibration().reservedText = "through the link";
    ASSERT_TRUE(SaveCalibrationFile(*doc, link));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFile(target), CalibrationFileBytes(*doc));
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(CalibrationFileTest, WhatCouldNotBeOpenedAgainIsNeitherLoadedNorSaved) {
    // A definition over the limit is not taken in at all.
    const std::string huge = dir.File("huge.def");
    {
        std::ofstream out(huge, std::ios::binary);
        const std::string line = "[ApplicationID]\nLogicalName " + std::string(1000, 'x') + "\n";
        for (std::uintmax_t n = 0; n <= DefinitionReader::kMaxDefinitionFileSize / line.size(); ++n) out << line;
    }
    const std::string textBefore = doc->reader().text();
    EXPECT_FALSE(doc->LoadDefinitionFile(huge));
    EXPECT_EQ(doc->reader().text(), textBefore);

    // A calibration that would not open again is not written.
    doc->reader().SetText(std::string(kMaxCalibrationFileSize, 'x'));
    const std::string file = dir.File("big.qvr");
    EXPECT_FALSE(SaveCalibrationFile(*doc, file));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find("more than the 67108864 bytes a calibration file may hold"),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(CalibrationFileTest, MissingAndOversizedFilesAreReported) {
    EXPECT_FALSE(OpenCalibrationFile(*doc, dir.File("nothing.qvr")));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "File Open Error:");
    EXPECT_FALSE(OpenCalibrationFile(*doc, dir.path()));  // a directory is not a file
    EXPECT_EQ(host.messages.size(), 2u);
}

}  // namespace
}  // namespace korvath
