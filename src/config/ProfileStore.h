#pragma once
// One section of a Windows profile (INI) file, as the settings record reads and writes it.
// The plug-in uses the platform's private-profile calls (config/PrivateProfileStore.h);
// tests may use any store that behaves the same way.
#include <cstddef>
#include <cstdint>

class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    // The key's integer value, or fallback when the key is missing.
    virtual int32_t readInt(const char* key, int32_t fallback) = 0;
    // Copies the key's value into buffer (cut to size - 1 bytes); empty when the key is missing.
    virtual void readString(const char* key, char* buffer, size_t size) = 0;
    virtual void writeString(const char* key, const char* value) = 0;
};

// Size of the buffers profile strings are read into: the platform's path limit.
constexpr size_t kProfileStringSize = 260;
