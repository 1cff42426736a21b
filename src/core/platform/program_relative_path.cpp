#include "platform/program_relative_path.h"

#include <filesystem>
#include <system_error>

#include "platform/paths.h"

namespace korvath {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool HasParentComponent(std::string_view path) {
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = start;
        while (end < path.size() && !IsSeparator(path[end])) ++end;
        if (path.substr(start, end - start) == "..") return true;
        start = end + 1;
    }
    return false;
}

bool IsAbsolute(std::string_view path) {
    if (!path.empty() && IsSeparator(path.front())) return true;
    return path.size() >= 2 && path[1] == ':';  // a drive letter
}

// True when `inner` is `outer` or lies below it, comparing whole components.
bool IsWithin(const std::filesystem::path& inner, const std::filesystem::path& outer) {
    auto i = inner.begin();
    for (auto o = outer.begin(); o != outer.end(); ++o, ++i) {
        if (o->empty()) continue;  // the trailing separator of a directory
        if (i == inner.end() || *i != *o) return false;
    }
    return true;
}

}  // namespace

std::optional<std::string> ResolveProgramRelativePath(std::string_view programDirectory, std::string_view relative) {
    if (relative.empty() || IsAbsolute(relative) || HasParentComponent(relative)) return std::nullopt;
    if (relative.find('\0') != std::string_view::npos) return std::nullopt;
    std::string resolved = ResolveExistingPath(JoinPath(programDirectory, relative));
    // Symbolic links are followed to where they lead; that place must still be inside.
    std::error_code error;
    const auto base = std::filesystem::weakly_canonical(std::filesystem::path(std::string(programDirectory)), error);
    if (error) return std::nullopt;
    const auto target = std::filesystem::weakly_canonical(std::filesystem::path(resolved), error);
    if (error || !IsWithin(target, base)) return std::nullopt;
    return resolved;
}

}  // namespace korvath
