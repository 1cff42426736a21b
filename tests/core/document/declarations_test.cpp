#include <gtest/gtest.h>

#include "support/document_fixture.h"

namespace korvath {
namespace {

using testing::DocumentTest;

class DeclarationsTest : public DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        doc->ResetVariableTable(2);
        host.messages.clear();
    }
    bool Read(const std::string& lines, int applyDefaults = 1) {
        if (!LoadDefinition(DocumentTest::Declarations(lines))) return false;
        return doc->ReadDeclarations(applyDefaults);
    }
};

TEST_F(DeclarationsTest, LayoutKeysAreReadAndOptionalOnesDefault) {
    ASSERT_TRUE(Read("$CalNVMStart 0x6000\n$FlashBlockSize 128\n"));
    const ImageLayout& l = doc->layout();
    EXPECT_EQ(l.TotalBlockSize, 256);
    EXPECT_EQ(l.DynamicBlockStart, 128);
    EXPECT_EQ(l.CalNVMStart, 0x6000);
    EXPECT_EQ(l.FlashBlockSize, 128);
    EXPECT_EQ(l.CalBufferStart, 256);
    EXPECT_EQ(l.CalNVMPageSize, 1024);
    EXPECT_EQ(l.CalPSVBase, -1);
    EXPECT_EQ(l.CalBufferSize, 512);
}

TEST_F(DeclarationsTest, AMissingRequiredKeyStoresNothing) {
    ASSERT_TRUE(LoadDefinition("[Declarations]\n$TotalBlockSize 300\n$DynamicBlockSize 1\n"));
    EXPECT_FALSE(doc->ReadDeclarations(1));
    EXPECT_EQ(doc->layout().TotalBlockSize, 0);
    ASSERT_TRUE(LoadDefinition("[Other]\nX 1\n"));
    EXPECT_FALSE(doc->ReadDeclarations(1));
}

TEST_F(DeclarationsTest, TypeWordsSlotsAndInitialisers) {
    ASSERT_TRUE(Read("X U8 1:4\nA I16 1:2 Def:100\nA I16 1:2\nA F32 1:8 Def:1.5\nL I32 1:12 Fix:0x12345678\n"
                     "S STR 2:0:Hello Def:Good day\nB I16 1:20 Def:0x00F3 Fix:5:0x0F\n"
                     "T T8 10:3 NVM:20:0x10:1 Def:1,2,3\n"));
    EXPECT_TRUE(host.messages.empty()) << host.messages[0].text;
    EXPECT_EQ(Slot(0).name, "X");
    EXPECT_EQ(Slot(0).type, VarType::I8);
    EXPECT_EQ(Slot(0).address, 4);
    EXPECT_EQ(Slot(1).name, "A");  // declared twice as I16: one slot
    EXPECT_EQ(Slot(1).Int16(), 100);
    EXPECT_EQ(Slot(2).name, "A");  // as F32: a second slot of the same name
    EXPECT_EQ(Slot(2).type, VarType::F32);
    EXPECT_FLOAT_EQ(Slot(2).Float(), 1.5f);
    EXPECT_EQ(Slot(3).type, VarType::I32);
    EXPECT_EQ(Slot(3).Int32(), 0x12345678);
    EXPECT_EQ(Slot(4).type, VarType::Continuation);
    EXPECT_EQ(Slot(5).type, VarType::STR);
    EXPECT_EQ(Slot(6).type, VarType::Continuation);
    EXPECT_EQ(Slot(6).name, "Good day");
    EXPECT_EQ(Slot(7).Int16(), 0x00F3);  // Fix comes first whatever the order on the line, then Def
    EXPECT_EQ(Slot(8).type, VarType::T8);
    EXPECT_EQ(Slot(8).address, 3);
    EXPECT_EQ(Slot(8).TableAddress(), 0x10);
    EXPECT_EQ(Slot(8).CellCount(), 20);
    EXPECT_EQ(Slot(8).CellStride(), 1);
    EXPECT_EQ(doc->calibration().points[3][0], 1);
    EXPECT_EQ(doc->calibration().points[3][2], 3);
    EXPECT_EQ(doc->variables().count, 9);
}

TEST_F(DeclarationsTest, DefaultsApplyOnlyWhenAskedOrForNewVariables) {
    ASSERT_TRUE(Read("S STR 2:0:Hello Def:Good day\nN I16 1:0 Def:7\nF STR 2:0:x Fix:Always\n", 0));
    EXPECT_EQ(Slot(1).name, "Good day");  // a new variable always gets its defaults
    doc->SetIntVariable("N", 9);
    doc->variables().slots[1].name = "Typed by the user";
    doc->variables().slots[4].name = "Typed too";
    ASSERT_TRUE(doc->ReadDeclarations(0));
    EXPECT_EQ(Slot(1).name, "Typed by the user");  // neither the declared text nor the default
    EXPECT_EQ(Slot(4).name, "Always");              // a Fix text applies every time
    EXPECT_EQ(doc->FindIntVariable("N").get(), 9);
    ASSERT_TRUE(doc->ReadDeclarations(1));
    EXPECT_EQ(Slot(1).name, "Good day");
    EXPECT_EQ(doc->FindIntVariable("N").get(), 7);
}

TEST_F(DeclarationsTest, FixMergesUnderItsMask) {
    ASSERT_TRUE(Read("B I16 1:0 Fix:5:0x0F\n"));
    doc->SetIntVariable("B", 0x00F3);
    ASSERT_TRUE(doc->ReadDeclarations(0));
    EXPECT_EQ(doc->FindIntVariable("B").get(), 0x00F5);
}

TEST_F(DeclarationsTest, FormulaListsAndTheirLimit) {
    std::string lines = "A I16 1:0\nStoreFormulae:\nI@A = 1 + 2\n$Skipped 1\nLoadFormulae:\n";
    for (int i = 0; i < 42; ++i) lines += "I@A=" + std::to_string(i) + "\n";
    ASSERT_TRUE(Read(lines));
    ASSERT_EQ(doc->variables().storeFormulas.size(), 1u);
    EXPECT_EQ(doc->variables().storeFormulas[0], "I@A= 1 + 2");  // key and value joined without the space
    EXPECT_EQ(doc->variables().loadFormulas.size(), 40u);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "Error reading load formulas from definition file:");
    EXPECT_EQ(host.messages[0].text, "Too many load formulas for array size, truncating to maximum number.");
    // Reading again appends to the lists.
    ASSERT_TRUE(doc->ReadDeclarations(0));
    EXPECT_EQ(doc->variables().storeFormulas.size(), 2u);
}

TEST_F(DeclarationsTest, TooManySlotsRestartOnceThenStop) {
    std::string lines;
    for (int i = 0; i < 2049; ++i) lines += std::string("V") + std::to_string(i) + " I32 0:0\n";  // 4098 slots
    EXPECT_FALSE(Read(lines));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "Static Memory Array Error");
    EXPECT_EQ(doc->variables().count, kMaxVariables);

    // A table filled by an earlier definition is cleared once so that a new one fits.
    host.messages.clear();
    doc->ResetVariableTable(2);
    std::string first, second;
    for (int i = 0; i < 3000; ++i) first += std::string("P") + std::to_string(i) + " I16 0:0\n";
    for (int i = 0; i < 2000; ++i) second += std::string("Q") + std::to_string(i) + " I16 0:0 Def:3\n";
    ASSERT_TRUE(Read(first));
    ASSERT_TRUE(Read(second, 0));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(doc->variables().count, 2000);
    EXPECT_EQ(Slot(0).name, "Q0");
    EXPECT_EQ(Slot(0).Int16(), 3);  // defaults are applied after the restart
}

TEST_F(DeclarationsTest, MalformedLinesNeverCrash) {
    ASSERT_TRUE(Read("Lonely\nT T8\nU T8 5:2 Def:,,,\nW I16 x:y Def:\nZ F32 1:0 Def:abc\nY STR 2\n"
                     "K I16 1:2 Fix:0x7:\nM T8 255:4 NVM:300:0x10 Def:" + std::string(400, '9') + "\n"));
    EXPECT_EQ(doc->FindIntVariable("K").get(), 7);
    EXPECT_GE(doc->variables().count, 7);
}

TEST_F(DeclarationsTest, VariablesOutsideTheImageAreKeptOutOfIt) {
    ASSERT_TRUE(Read("Inside I16 1:126\nPastStatic I16 1:127\nNoAddress U8 1\n"
                     "Far T8 10:60 NVM:10:0:1 Def:5\nBeyond T8 10:2 NVM:10:0x7C:1\nFits T8 10:3 NVM:10:0x76:1\n",
                     /*applyDefaults=*/1));
    // One box per distinct message: NoAddress repeats PastStatic's and is counted in the status bar.
    ASSERT_EQ(host.messages.size(), 3u);
    EXPECT_EQ(host.messages[0].caption, "PastStatic");
    EXPECT_EQ(host.messages[1].caption, "Far");
    EXPECT_EQ(host.messages[2].caption, "Beyond");
    ASSERT_FALSE(host.statuses.empty());
    EXPECT_EQ(host.statuses.back(), "1 more messages like \"Definition file error:\" were not shown (NoAddress).");
    EXPECT_EQ(Slot(0).location, VarLocation::StaticBlock);
    EXPECT_EQ(Slot(1).location, VarLocation::NotInImage);
    EXPECT_EQ(doc->FindTableVariable("Far"), -1);
    EXPECT_EQ(Slot(4).location, 0);
    EXPECT_EQ(Slot(5).location, 10);
}

TEST_F(DeclarationsTest, ValuesThatAreNotFiniteNeverEnterAFloat) {
    ASSERT_TRUE(Read("A F32 1:8 Def:1.5\nB F32 1:12 Def:inf\n"));
    EXPECT_FLOAT_EQ(doc->FindFloatVariable("B").get(), 0.0f);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "Invalid Value");
    EXPECT_EQ(host.messages[0].text, "The value inf given for B is not a finite number.  B was left unchanged.");

    // A formula whose result overflows a float stores nothing either.
    std::string error;
    doc->ExecuteFormulaStatement("F@A=99999999999*99999999999*99999999999*99999999999", error);
    EXPECT_FLOAT_EQ(doc->FindFloatVariable("A").get(), 1.5f);
    EXPECT_EQ(host.messages.size(), 2u);
}

TEST_F(DeclarationsTest, AnIntegerRedeclaredAsI32DoesNotTakeOverItsNeighbour) {
    ASSERT_TRUE(Read("A I16 1:0 Def:1\nB I16 1:2 Def:2\n"));
    ASSERT_TRUE(Read("A I32 1:4 Def:3\nB I16 1:2\n", 0));
    EXPECT_EQ(Slot(1).name, "B");
    EXPECT_EQ(Slot(1).type, VarType::I16);
    EXPECT_EQ(doc->FindIntVariable("B").get(), 2);
}

}  // namespace
}  // namespace korvath
