#pragma once
// A document with recording hosts and no controller, for the fuzz targets: messages and statuses
// are kept (never shown), settings live in memory, and the program directory holds nothing.

#include <string>

#include "document/qrndoc.h"
#include "support/recording_host.h"

namespace korvath::fuzz {

struct FuzzDocument {
    testing::RecordingHost host;
    testing::MemorySettings settings;
    CQRNDoc doc{DocumentHost{host, host, settings}, "/nonexistent/korvath-fuzz"};
};

}  // namespace korvath::fuzz
