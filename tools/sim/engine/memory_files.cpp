#include "engine/memory_files.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace korvath::sim {
namespace {

bool WriteFile(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size, std::string* error) {
    // Written beside the target and renamed over it, so an interrupted save leaves the old file.
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        out.close();
        if (!out) {
            if (error) *error = "cannot write " + temporary.string();
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        if (error) *error = "cannot rename " + temporary.string() + ": " + ec.message();
        return false;
    }
    return true;
}

}  // namespace

bool ReadImageFile(const std::string& path, std::size_t max_size, std::vector<std::uint8_t>* out, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error) *error = "cannot open " + path;
        return false;
    }
    std::vector<std::uint8_t> bytes;
    char buffer[4096];
    while (in) {
        in.read(buffer, sizeof buffer);
        auto got = static_cast<std::size_t>(in.gcount());
        if (bytes.size() + got > max_size) {
            if (error) *error = path + " is longer than " + std::to_string(max_size) + " bytes";
            return false;
        }
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    if (in.bad()) {
        if (error) *error = "cannot read " + path;
        return false;
    }
    *out = std::move(bytes);
    return true;
}

bool SaveMemories(const Controller& controller, const std::string& directory, std::string* error) {
    std::error_code ec;
    std::filesystem::create_directories(directory, ec);
    if (ec) {
        if (error) *error = "cannot create " + directory + ": " + ec.message();
        return false;
    }
    const std::filesystem::path dir(directory);
    for (int table = 0; table < 2; ++table) {
        const auto& eeprom = controller.Eeprom(table);
        if (!WriteFile(dir / kSavedEeprom[table], eeprom.data(), eeprom.size(), error)) return false;
        auto flash = controller.FlashTable(table);
        if (!WriteFile(dir / kSavedFlash[table], flash.data(), flash.size(), error)) return false;
    }
    if (!WriteFile(dir / kSavedNvm, controller.Nvm().data(), controller.Nvm().size(), error)) return false;
    std::vector<std::uint8_t> ram(Controller::kRamSize);
    for (std::size_t a = 0; a < ram.size(); ++a) ram[a] = controller.Ram(static_cast<std::uint16_t>(a));
    return WriteFile(dir / kSavedRam, ram.data(), ram.size(), error);
}

}  // namespace korvath::sim
