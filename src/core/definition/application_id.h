#pragma once
// Which application a definition file describes, read from its "[ApplicationID]" section.

#include <string>

namespace korvath {

struct ApplicationIdentity {
    std::string logicalName;
    std::string transmissionType;
    std::string description;
};

// A quick scan of a definition file on disk (independent of the loaded definition): keys are
// matched only at the very start of a line, the first occurrence counts, and the scan runs
// on past the "[ApplicationID]" section. True when all three keys were found.
bool ReadApplicationIdentity(const std::string& path, ApplicationIdentity& identity);

}  // namespace korvath
