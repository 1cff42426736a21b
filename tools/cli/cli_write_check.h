#pragma once
// The check before `korvath-cli write`: what the controller holds is identified from the bytes
// its definition folder's signature file names (read from the table, and only those), and the
// calibration is checked against it.

#include <string>
#include <vector>

#include "document/qrndoc.h"

namespace korvath::cli {

// The findings of the check for the document's selected table. The controller's transmission
// is compared only when the signature file identifies it (an EEPROM table; none for flash).
std::vector<std::string> CheckBeforeWrite(CQRNDoc& doc);

}  // namespace korvath::cli
