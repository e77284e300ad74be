#include "subplayer/FileBytes.h"

#include <cstdio>

int readFileBytes(const std::string& path, std::string& content) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return 0;
    content.clear();
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) content.append(buffer, n);
    int ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

namespace {

int writeRaw(const std::string& path, const void* data, size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    int ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

}  // namespace

int writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    return writeRaw(path, bytes.data(), bytes.size());
}

int writeFileBytes(const std::string& path, const std::string& bytes) {
    return writeRaw(path, bytes.data(), bytes.size());
}
