#include "platform/file_filters.h"

namespace korvath {

std::string FilterExtension(std::string_view filter) {
    const auto star = filter.find("*.");
    if (star == std::string_view::npos) return {};
    std::string extension(".");
    for (std::size_t i = star + 2; i < filter.size(); ++i) {
        const char c = filter[i];
        if (c == ')' || c == ' ' || c == ';' || c == '*' || c == '/') break;
        extension += c;
    }
    return extension.size() > 1 ? extension : std::string();
}

std::string WithFilterExtension(const std::string& path, std::string_view filter) {
    const auto slash = path.find_last_of('/');
    const std::string_view name = std::string_view(path).substr(slash == std::string::npos ? 0 : slash + 1);
    // A leading dot names a hidden file, not an extension.
    if (name.empty() || name.find('.', 1) != std::string_view::npos) return path;
    return path + FilterExtension(filter);
}

}  // namespace korvath
