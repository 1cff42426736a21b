#pragma once
// CQRNDoc: the one document of a run. It holds the calibration and the loaded definition and
// offers the definition-engine operations; the pieces live in their own files and classes
// (DefinitionReader, PropertyStore, VariableTable), the document ties them together.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "definition/calibration.h"
#include "definition/definition_reader.h"
#include "document/message_batch.h"
#include "document/restore_point_sink.h"
#include "definition/trace_binding.h"
#include "document/view_host.h"
#include "comm/byte_transport.h"
#include "comm/monitor_client.h"
#include "comm/vuz_monitor.h"
#include "formula/formulaparser.h"
#include "graph/graphengine.h"
#include "platform/host.h"
#include "platform/settings_store.h"

namespace korvath {

enum class RamDumpResult;  // document/diagnostics.h

// The services the document reaches the world through.
struct DocumentHost {
    MessageHost& messages;
    StatusHost& status;
    SettingsStore& settings;
    TimerHost* timer = nullptr;  // the controller link's poll timer; none: no periodic link check
};

class CQRNDoc : public ValueCallback, public MonitorClient {
public:
    // programDirectory: where the PID<n>/<fw> definition folders are (ProgramDirectory()).
    // transport: the link to the controller, owned by the document's monitor; none: the
    // document has no controller link (identification then always fails).
    CQRNDoc(DocumentHost host, std::string programDirectory, std::unique_ptr<ByteTransport> transport = nullptr);
    CQRNDoc(const CQRNDoc&) = delete;
    CQRNDoc& operator=(const CQRNDoc&) = delete;
    ~CQRNDoc() override = default;

    // Within a MessageBatchScope a message already shown is not shown again (the repeats are
    // counted in the status bar when the outermost scope ends).
    int ShowMessage(std::string_view text, std::string_view caption, unsigned style) override;
    class MessageBatchScope {
    public:
        explicit MessageBatchScope(CQRNDoc& doc) : doc_(doc) { doc_.messageBatch_.Begin(); }
        ~MessageBatchScope() { doc_.EndMessageBatch(); }
        MessageBatchScope(const MessageBatchScope&) = delete;
        MessageBatchScope& operator=(const MessageBatchScope&) = delete;

    private:
        CQRNDoc& doc_;
    };

    // --- the controller
    CTCS_Monitor* monitor() const { return monitor_.get(); }
    // Asks the controller for its versions; a changed controller re-targets the calibration
    // at the definition of the same name in the new controller's directory.
    bool IdentifyController(int declarationsMode, int notify) override;
    // Whether the controller last identified found no definition of its own (transfers refuse).
    bool ControllerWithoutDefinition() const { return controllerWithoutDefinition_; }
    void ShowConnectionStatus(int connected) override;
    void RefreshSettingsSheet(int cyclePages);

    // --- lifecycle
    void InitNewCalibration();
    bool IsModified() const { return modified_; }
    void SetModifiedFlag(bool modified = true) { modified_ = modified; }

    // --- definition text and reader
    DefinitionReader& reader() { return reader_; }
    const DefinitionReader& reader() const { return reader_; }
    bool LoadDefinitionFile(const std::string& path) { return reader_.LoadDefinitionFile(path); }

    // --- application identity: "[ApplicationID]" into the application and product strings
    bool ReadApplicationID();

    // --- declarations and the variable table
    bool ReadDeclarations(int applyDefaults);
    // What the definition lacks for ReadDeclarations to begin: its "[Declarations]" section or the
    // first required layout key ("$TotalBlockSize" ...); empty when it has them all.
    std::string MissingDeclarationsPart();
    bool ApplyInitialiser(std::string_view kind, const std::string& declarationText, int slotIndex);
    void ResetVariableTable(int level) { cal_.variables.Reset(level); }
    IntVariableRef FindIntVariable(std::string_view name);
    FloatVariableRef FindFloatVariable(std::string_view name);
    int FindStringVariable(std::string_view name);
    std::int16_t FindTableVariable(std::string_view name);
    bool SetIntVariable(std::string_view name, std::int16_t value);
    bool SetFloatVariable(std::string_view name, float value);
    // Stores a value into the variable `name` of ref; a value that is not finite is refused with
    // a message naming the variable.
    bool StoreFloat(FloatVariableRef ref, std::string_view name, float value);

    // --- value-reference lists of the definition
    // -1000: key not found; 0: an item of unknown form (items before it kept their effect); 1: done.
    int ApplyAssignments(std::string_view key, int inBlock, std::int32_t* matchResult = nullptr);
    bool FindMatchingChoice(std::string_view keyFormat, int inBlock, std::int32_t& index);

    // --- conversions and formula bindings
    bool ReadTraceBinding(int trace);
    bool ClearTraceBinding(int trace);
    // Binds every "Trace" element of "[GraphicalTuning]" as building the tuning bar does: the
    // conversion keys of each block, and the proxy flag from a matching "ProxyEnable".
    // Returns the number of traces bound (0 without a graph or a section).
    int BindGraphicalTuningTraces();
    double RawToValue(int trace, int rawByte, int formulaSlot);
    std::uint8_t DisplayToRaw(int trace, float value, int formulaSlot, std::int16_t offset, float position);
    std::int16_t PaddedPoint(int trace, int index, int mode);
    // A stored point as the graph shows it in display units (through the trace's raw byte).
    float DisplayPointValue(int trace, int column);
    float OnPointEdited(std::int16_t trace, std::int16_t column, float proposed, std::int16_t& step) override;
    std::int16_t StoredPointValue(std::int16_t trace, std::int16_t column) override;
    void PushTracesToGraph();
    // One trace's points into the graph (its range updated).
    void PushTraceToGraph(int trace);
    // Draws the view again, as it shows the graph now.
    void RedrawView() {
        if (views_) views_->RedrawView();
    }
    void SetGraph(CGraphEngine* graph) { graph_ = graph; }
    CGraphEngine* graph() const { return graph_; }
    void SetShowConverted(bool flag) { showConverted_ = flag; }
    bool showConverted() const { return showConverted_; }
    void RefreshViews(int full);
    int NotifyChange(int flags, void* sheet);
    void SetViewHost(ViewHost* views) { views_ = views; }
    // Where "M:" references read live values; the document's monitor unless replaced.
    void SetLiveVariableSource(LiveVariableSource* source) { liveSource_ = source; }
    // -1000 on failure; otherwise the value of the last "M:" reference, or 1000 without one.
    // ramValues, when given, receives the value of every "M:" reference in formula order.
    int SubstituteReferences(std::string& formula, float position, std::vector<int>* ramValues = nullptr);
    bool ExecuteFormulaStatement(const std::string& statement, std::string& errorText);
    // direction 1 builds the image from the calibration, 0 reads it back.
    bool ExchangeImage(std::uint8_t* image, std::size_t imageSize, int direction);
    TraceBinding& traceBinding(int trace) { return traceBindings_[static_cast<std::size_t>(trace)]; }
    ConversionEntry ConversionTableEntry(int trace, int entry) const;
    void SetConversionTableEntry(int trace, int entry, ConversionEntry value);
    // Evaluates a formula whose references have been substituted.
    double Evaluate(const std::string& formula, double x);

    // --- live data (live_data.cpp) and diagnostics (diagnostics.cpp)
    // The definition reads of the live-data poller, on the loaded definition text.
    bool FindSection(std::string_view header, int continueSearch) override;
    bool FindBlock(std::string_view key, std::string& label, int continueSearch) override;
    bool FindKeyValue(std::string_view key, std::string& value, int inBlock, const char* defaultText) override;
    bool ReadKeyString(std::string_view key, std::string& out, std::size_t maxLength, int inBlock,
                       const char* defaultText) override;
    int ReadKeyInt(std::string_view key, std::int32_t& out, int inBlock, std::int32_t defaultValue) override;
    int ReadKeyFloat(std::string_view key, float& out, int inBlock, float defaultValue) override;
    int SubstituteItemReferences(std::string& formula, std::vector<int>& ramValues) override;
    // Registers the receiver for the items of the loaded definition's "[DataItems]" with the
    // monitor; returns the handle for UnloadDataItems, 0 when there is no link or no section.
    std::int32_t LoadDataItems(LiveDataReceiver receiver);
    void UnloadDataItems(std::int32_t handle);
    // Reads the first 256 bytes of the controller's RAM into RamDumpPath(). The file is replaced
    // only by a complete dump.
    RamDumpResult DumpControllerRam();
    // RAMDump.txt in the program directory when the user may write there (a portable copy),
    // else in the user's data folder.
    std::string RamDumpPath() const;
    // --- end of live data

    // --- data
    Calibration& calibration() { return cal_; }
    const Calibration& calibration() const { return cal_; }
    VariableTable& variables() { return cal_.variables; }
    const ImageLayout& layout() const { return cal_.variables.layout; }
    PropertyStore& properties() { return cal_.properties; }
    const std::string& programDirectory() const { return programDirectory_; }
    const std::string& definitionDirectory() const { return definitionDirectory_; }
    void SetDefinitionDirectory(std::string directory) { definitionDirectory_ = std::move(directory); }
    char packageRevision() const { return packageRevision_; }
    DocumentHost& host() { return host_; }

    // --- calibration transfer (document/transfer.cpp)
    // direction 1 writes the calibration to the controller, 0 reads it.
    bool TransferCalibration(int direction);
    bool TransferEepromTable(std::uint8_t* image, std::int32_t size, std::int32_t table, std::string& errorText,
                             int direction);
    bool TransferFlashTable(std::uint8_t* image, std::int32_t size, std::int32_t table, std::string& errorText,
                            int direction);
    bool OnWriteCalibration() { return TransferCalibration(1); }
    // Read Calibration from Controller after the save prompt: returns the document's new title
    // (pathName's directory and "ControllerReadback_Table#<n>"); ok receives the transfer's result.
    std::string OnReadCalibration(const std::string& pathName, bool* ok = nullptr);
    void OnSelectTable(int table);
    // 0 or 1, from the calibration's view state.
    std::int32_t SelectedTable() const;
    void ShowStatus(std::string_view text);
    // Asks the user which of several similar transmissions a read image belongs to (none: the
    // first of the list).
    void SetReadbackChooser(class ReadbackChooser* chooser) { readbackChooser_ = chooser; }

    // --- restore points of the transfers
    // Where reads and writes hand their table images (none: nothing is kept).
    void SetRestorePointSink(RestorePointSink* sink) { restorePoints_ = sink; }
    // A flash write reads the table first, so that it can be kept as it was.
    void SetReadFlashTableBeforeWriting(bool on) { readFlashBeforeWriting_ = on; }
    bool ReadFlashTableBeforeWriting() const { return readFlashBeforeWriting_; }
    // The next write sends this image (a restore point's) instead of building one from the
    // calibration; of an EEPROM table only the first knownBytes are written, the rest of the
    // table stays as it is.
    void SetImageToWrite(std::vector<std::uint8_t> image, std::size_t knownBytes);
    // What the controller holds (its definition file and transmission), known from the last read
    // or write since the link came up; empty when not known. A lost link forgets it: the next
    // car's controller of the same versions looks the same.
    const std::string& HeldDefinition() const { return heldDefinition_; }
    const std::string& HeldTransmission() const { return heldTransmission_; }
    void SetHeld(std::string definition, std::string transmission) {
        heldDefinition_ = std::move(definition);
        heldTransmission_ = std::move(transmission);
    }

private:
    // How far the table transfers of one TransferCalibration got (the furthest of its tries).
    struct TableProgress {
        std::size_t bytesDone = 0;      // bytes read, or written and verified
        std::uint32_t blocksBurned = 0;  // flash blocks written
        bool storing = false;            // something was sent that changes the table
    };
    bool WriteImage(std::vector<std::uint8_t>& image, std::int32_t table, std::size_t writeLimit);
    std::string KeepRestorePoint(const TableSnapshot& snapshot);
    // The plain words after a write that stopped once it had stored something.
    std::string PartlyWrittenNotice(std::int32_t table, std::size_t size, const std::string& restorePoint) const;

    ReadbackChooser* readbackChooser_ = nullptr;
    RestorePointSink* restorePoints_ = nullptr;
    bool readFlashBeforeWriting_ = false;
    std::vector<std::uint8_t> imageToWrite_;
    std::string heldDefinition_, heldTransmission_;
    std::size_t imageToWriteKnown_ = 0;
    TableProgress tableProgress_;
    // While an EEPROM write runs: the table as it was, byte by byte as the write reads it.
    TableSnapshot* eepromBefore_ = nullptr;
    // The number of leading bytes an EEPROM write stores (the image size unless a restore point
    // knows fewer).
    std::size_t eepromWriteLimit_ = SIZE_MAX;
    // --- end calibration transfer

private:
    bool PlaceInImage(VariableSlot& slot);
    void EndMessageBatch();
    // A new calibration for a remembered controller whose definition directory is gone takes the
    // new-calibration controller instead, when that one's directory exists, and says so.
    void FallBackFromMissingProfile();

    DocumentHost host_;
    std::string programDirectory_;
    std::string definitionDirectory_;
    char packageRevision_ = 0;
    Calibration cal_;
    DefinitionReader reader_;
    bool modified_ = false;
    MessageBatch messageBatch_;
    // The controller last identified has no definition here: the calibration's layout is another's.
    bool controllerWithoutDefinition_ = false;

    FormulaParser parser_;
    std::array<TraceBinding, kNumTraces> traceBindings_{};
    CGraphEngine* graph_ = nullptr;
    bool showConverted_ = true;
    ViewHost* views_ = nullptr;
    LiveVariableSource* liveSource_ = nullptr;

    // Declared last: the monitor calls back into the members above while it lives.
    std::unique_ptr<CTCS_Monitor> monitor_;
    std::unique_ptr<LiveVariableSource> monitorLiveSource_;
};

}  // namespace korvath
