#pragma once
// CQRNDoc: the one document of a run. It holds the calibration and the loaded definition and
// offers the definition-engine operations; the pieces live in their own files and classes
// (DefinitionReader, PropertyStore, VariableTable), the document ties them together.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "document/calibration.h"
#include "document/definition_reader.h"
#include "platform/host.h"
#include "platform/settings_store.h"

namespace korvath {

// The services the document reaches the world through.
struct DocumentHost {
    MessageHost& messages;
    StatusHost& status;
    SettingsStore& settings;
};

class CQRNDoc {
public:
    // programDirectory: where the PID<n>/<fw> definition folders are (ProgramDirectory()).
    CQRNDoc(DocumentHost host, std::string programDirectory);
    CQRNDoc(const CQRNDoc&) = delete;
    CQRNDoc& operator=(const CQRNDoc&) = delete;
    virtual ~CQRNDoc() = default;

    int ShowMessage(std::string_view text, std::string_view caption, unsigned style);

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
    bool ApplyInitialiser(std::string_view kind, const std::string& declarationText, int slotIndex);
    void ResetVariableTable(int level) { cal_.variables.Reset(level); }
    IntVariableRef FindIntVariable(std::string_view name);
    FloatVariableRef FindFloatVariable(std::string_view name);
    int FindStringVariable(std::string_view name);
    std::int16_t FindTableVariable(std::string_view name);
    bool SetIntVariable(std::string_view name, std::int16_t value);
    bool SetFloatVariable(std::string_view name, float value);

    // --- value-reference lists of the definition
    // -1000: key not found; 0: an item of unknown form (items before it kept their effect); 1: done.
    int ApplyAssignments(std::string_view key, int inBlock, std::int32_t* matchResult = nullptr);
    bool FindMatchingChoice(std::string_view keyFormat, int inBlock, std::int32_t& index);

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

    // Told the memory type ($NVMType) each time the declarations are read; the link to the
    // controller needs it for its addressing.
    void SetNvmTypeListener(std::function<void(int)> listener) { nvmTypeListener_ = std::move(listener); }

private:
    bool PlaceInImage(VariableSlot& slot);

    DocumentHost host_;
    std::string programDirectory_;
    std::string definitionDirectory_;
    char packageRevision_ = 0;
    Calibration cal_;
    DefinitionReader reader_;
    bool modified_ = false;
    std::function<void(int)> nvmTypeListener_;
};

}  // namespace korvath
