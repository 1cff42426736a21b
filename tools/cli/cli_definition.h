#pragma once
// Setting a calibration variable from the command line by its declared type.

#include <string>

#include "document/qrndoc.h"

namespace korvath::cli {

// Sets a variable from text ("NAME=VALUE") by its declared type; false with a message when the
// name is not declared or the value does not fit the type.
bool SetVariableFromText(CQRNDoc& doc, const std::string& assignment);

}  // namespace korvath::cli
