#pragma once
// Setting a calibration variable from the command line by its declared type.

#include <string>

#include "document/qrndoc.h"

namespace korvath::cli {

// Sets a variable or a trace point from text ("NAME=VALUE", "trace.N[i]=VALUE") by its declared
// type; false with a message on standard error when the name is not declared or the value does
// not fit the type. Edit boxes that would clamp the value are noted there too.
bool SetVariableFromText(CQRNDoc& doc, const std::string& assignment);

}  // namespace korvath::cli
