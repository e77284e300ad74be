// dll-version-check: reads a built gen_sorvane.dll's version information back the way Windows
// reads it for the file's properties, prints it, and checks it against the version of this source
// tree. Exit status 0 when everything matches, 1 when a value is missing or different, 2 on a
// wrong command line.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "resources/Version.h"

namespace {

const char kProductName[] = "Sorvane";
const WORD kFileVersion[4] = {SORVANE_VERSION_NUMBERS};

// A value of the first string table the translation list names, or null.
const char* stringValue(std::vector<char>& block, const char* name) {
    struct Translation {
        WORD language, codePage;
    }* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) ||
        length < sizeof *translation)
        return nullptr;
    char path[96];
    std::snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s", translation->language, translation->codePage,
                  name);
    char* value = nullptr;
    if (!VerQueryValueA(block.data(), path, reinterpret_cast<void**>(&value), &length) || !value || length == 0)
        return nullptr;
    return value;
}

int expectText(std::vector<char>& block, const char* name, const char* wanted) {
    const char* value = stringValue(block, name);
    std::printf("%s: %s\n", name, value ? value : "(missing)");
    if (!value || !*value) return 0;
    if (wanted && std::strcmp(value, wanted) != 0) {
        std::fprintf(stderr, "dll-version-check: %s is \"%s\", not \"%s\"\n", name, value, wanted);
        return 0;
    }
    return 1;
}

int expectFixedVersion(std::vector<char>& block) {
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || length < sizeof *fixed) {
        std::printf("file version numbers: (missing)\n");
        return 0;
    }
    const WORD numbers[4] = {HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                             HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS)};
    std::printf("file version numbers: %u.%u.%u.%u\n", numbers[0], numbers[1], numbers[2], numbers[3]);
    if (std::memcmp(numbers, kFileVersion, sizeof numbers) != 0) {
        std::fprintf(stderr, "dll-version-check: the file version numbers are not %u.%u.%u.%u\n", kFileVersion[0],
                     kFileVersion[1], kFileVersion[2], kFileVersion[3]);
        return 0;
    }
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: dll-version-check <gen_sorvane.dll>\n");
        return 2;
    }
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(argv[1], &ignored);
    std::vector<char> block(size);
    if (size == 0 || !GetFileVersionInfoA(argv[1], 0, size, block.data())) {
        std::fprintf(stderr, "dll-version-check: %s has no version information (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    int ok = expectFixedVersion(block);
    ok &= expectText(block, "ProductName", kProductName);
    ok &= expectText(block, "FileDescription", nullptr);
    ok &= expectText(block, "FileVersion", SORVANE_VERSION_TEXT);
    ok &= expectText(block, "ProductVersion", SORVANE_VERSION_TEXT);
    return ok ? 0 : 1;
}
