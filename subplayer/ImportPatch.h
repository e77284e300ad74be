#pragma once
// Replaces a function that a loaded module imports, in that module's import address table, so
// that a test can make a Windows call of the real plug-in fail or wait, and the player can watch
// one; restored when the patch goes out of scope. Only that module's calls are affected.
#include <windows.h>

#include <cstring>

class ImportPatch {
public:
    ImportPatch(HMODULE module, const char* library, const char* function, void* replacement) {
        if (!module) return;
        auto* base = reinterpret_cast<BYTE*>(module);
        auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
        auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        if (!imports.VirtualAddress) return;
        for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
            if (_stricmp(reinterpret_cast<const char*>(base + d->Name), library) != 0) continue;
            auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
            auto* addresses = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
            for (; names->u1.AddressOfData; ++names, ++addresses) {
                if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
                auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
                slot = reinterpret_cast<void**>(&addresses->u1.Function);
                saved = *slot;
                write(replacement);
                return;
            }
        }
    }
    ~ImportPatch() {
        if (slot) write(saved);
    }
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

    bool applied() const { return slot != nullptr; }
    // The function the module called before the patch.
    void* original() const { return saved; }

private:
    void write(void* value) {
        DWORD kept = 0;
        VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &kept);
        *slot = value;
        VirtualProtect(slot, sizeof *slot, kept, &kept);
    }

    void** slot = nullptr;
    void* saved = nullptr;
};
