#pragma once
// Memory images on disk: the images a user loads into the simulated controller at start and the
// memories it leaves behind at exit. Images are raw bytes, byte 0 first.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/controller.h"

namespace korvath::sim {

// Reads a whole file of at most max_size bytes. False with the reason in *error when it cannot be
// read or is longer.
bool ReadImageFile(const std::string& path, std::size_t max_size, std::vector<std::uint8_t>* out,
                   std::string* error);

// File names written into the save directory.
inline constexpr const char* kSavedEeprom[2] = {"eeprom-table1.bin", "eeprom-table2.bin"};
inline constexpr const char* kSavedFlash[2] = {"flash-table1.bin", "flash-table2.bin"};
inline constexpr const char* kSavedNvm = "nvm.bin";
inline constexpr const char* kSavedRam = "ram.bin";

// Writes both EEPROM tables, both flash tables, the 'l' bytes and the RAM into directory (created
// when missing). False with the reason in *error on the first failure.
bool SaveMemories(const Controller& controller, const std::string& directory, std::string* error);

}  // namespace korvath::sim
