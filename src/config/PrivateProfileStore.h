#pragma once
// One section of an INI file through the platform's wide private-profile calls.
//
// The file keeps any character: the first write makes a new file UTF-16 LE with a byte-order mark
// (the platform writes every file it creates in the ANSI code page) and turns an existing ANSI
// file into one, every section and value of it kept. An ANSI file is read as it stands.
#include <string>

#include "config/ProfileStore.h"

class PrivateProfileStore : public ProfileStore {
public:
    // iniPath is UTF-8.
    PrivateProfileStore(const std::string& iniPath, const char* section);
    int32_t readInt(const char* key, int32_t fallback) override;
    std::string readString(const char* key) override;
    void writeString(const char* key, const std::string& value) override;

private:
    std::wstring path;
    std::wstring section;
    bool unicodeChecked = false;
};

// Makes the INI file at path UTF-16 LE with a byte-order mark: a missing or empty file becomes a
// mark alone, an ANSI one is converted with the ANSI code page; a file with a mark stays as it is.
// Returns 1 when the file is Unicode afterwards. A file that cannot be rewritten is left whole.
int makeUnicodeIni(const std::wstring& path);
