#pragma once
// One section of a Windows profile (INI) file, as the settings record reads and writes it.
// The plug-in uses the platform's private-profile calls (config/PrivateProfileStore.h);
// tests may use any store that behaves the same way. Keys are ASCII, values UTF-8.
#include <cstdint>
#include <string>

class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    // The key's integer value, or fallback when the key is missing.
    virtual int32_t readInt(const char* key, int32_t fallback) = 0;
    // The key's whole value; empty when the key is missing.
    virtual std::string readString(const char* key) = 0;
    virtual void writeString(const char* key, const std::string& value) = 0;
};
