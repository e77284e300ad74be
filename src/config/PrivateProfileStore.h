#pragma once
// One section of an INI file through the platform's private-profile calls.
#include <string>

#include "config/ProfileStore.h"

class PrivateProfileStore : public ProfileStore {
public:
    PrivateProfileStore(const char* iniPath, const char* section) : path(iniPath), section(section) {}
    int32_t readInt(const char* key, int32_t fallback) override;
    void readString(const char* key, char* buffer, size_t size) override;
    void writeString(const char* key, const char* value) override;

private:
    std::string path;
    std::string section;
};
