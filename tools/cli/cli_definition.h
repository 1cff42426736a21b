#pragma once
// A fresh calibration on one definition file, bound as the GUI binds it, for the subcommands
// that build and read memory images.

#include <memory>
#include <string>

#include "cli_host.h"
#include "document/qrndoc.h"
#include "graph/graphengine.h"

namespace korvath::cli {

struct FreshCalibration {
    std::unique_ptr<TerminalHost> terminal;
    std::unique_ptr<SettingsStore> settings;
    std::unique_ptr<CGraphEngine> graph;  // off-screen: the conversions read their bindings through it
    std::unique_ptr<CQRNDoc> doc;
    bool declarationsRead = false;
};

// A new calibration whose variable table, layout and trace bindings come from `definition`.
// Returns null (after a message on standard error) when the file cannot be read.
std::unique_ptr<FreshCalibration> OpenFreshCalibration(const GlobalOptions& options, const std::string& definition,
                                                       int applyDefaults);

// Sets a variable from text ("NAME=VALUE") by its declared type; false with a message when the
// name is not declared or the value does not fit the type.
bool SetVariableFromText(CQRNDoc& doc, const std::string& assignment);

}  // namespace korvath::cli
