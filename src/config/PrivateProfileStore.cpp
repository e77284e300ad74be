#include "config/PrivateProfileStore.h"

#include <windows.h>

int32_t PrivateProfileStore::readInt(const char* key, int32_t fallback) {
    // The platform returns an unsigned value; negative numbers come back as their two's complement.
    return static_cast<int32_t>(GetPrivateProfileIntA(section.c_str(), key, fallback, path.c_str()));
}

void PrivateProfileStore::readString(const char* key, char* buffer, size_t size) {
    if (size == 0) return;
    buffer[0] = '\0';
    GetPrivateProfileStringA(section.c_str(), key, "", buffer, static_cast<DWORD>(size), path.c_str());
}

void PrivateProfileStore::writeString(const char* key, const char* value) {
    WritePrivateProfileStringA(section.c_str(), key, value, path.c_str());
}
