#include "lyrics/SongPath.h"

std::string replaceExtension(std::string_view path, const char* extension) {
    size_t dot = path.rfind('.');
    std::string result(path.substr(0, dot != std::string_view::npos && dot >= 1 ? dot + 1 : path.size()));
    return result + extension;
}

std::string songFileName(std::string_view path) {
    size_t separator = path.find_last_of("\\/");
    return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

std::string songBaseName(std::string_view path) {
    std::string base = songFileName(path);
    size_t dot = base.rfind('.');
    if (dot != std::string::npos && dot >= 1) base.resize(dot);
    return base;
}
