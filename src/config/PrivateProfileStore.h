#pragma once
// One section of an INI file through the platform's wide private-profile calls.
//
// The file keeps any character: the first write makes a new file UTF-16 LE with a byte-order mark
// (the platform writes every file it creates in the ANSI code page) and turns an existing ANSI
// file into one, every section and value of it kept. An ANSI file is read as it stands.
//
// A write that does not reach the file is noted (writeFailed). The profile calls' own answers do
// not always tell: Wine, for one, answers success for a value its cache already holds, whatever
// the file says. So the first write also opens the file for writing.
#include <windows.h>

#include <string>

#include "config/ProfileStore.h"

class PrivateProfileStore : public ProfileStore {
public:
    // iniPath is UTF-8.
    PrivateProfileStore(const std::string& iniPath, const char* section);
    int32_t readInt(const char* key, int32_t fallback) override;
    std::string readString(const char* key) override;
    void writeString(const char* key, const std::string& value) override;

    // Some write since the store was made did not reach the file; writeError() is the system's
    // code for the first such failure (0 when the platform gave none).
    bool writeFailed() const { return failed; }
    DWORD writeError() const { return error; }

private:
    void checkFile();
    void fail(DWORD code);

    std::wstring path;
    std::wstring section;
    bool unicodeChecked = false;
    bool failed = false;
    DWORD error = 0;
};

// Makes the INI file at path UTF-16 LE with a byte-order mark: a missing or empty file becomes a
// mark alone, an ANSI one is converted with the ANSI code page; a file with a mark stays as it is.
// Returns 1 when the file is Unicode afterwards. A file that cannot be rewritten is left whole.
int makeUnicodeIni(const std::wstring& path);
