#pragma once
// Files and folders a test makes unwritable, so that the plug-in meets a settings file or folder
// its user may not write.
//
// Under Wine the tests run as root, which neither the read-only mark nor the Unix permissions
// stop: the Linux "immutable" flag does (chattr +i, which needs the right to set it). On Windows
// the read-only mark stops writes to a file.
#include <string>

// Makes path (a file, or a folder in which no file can then be made) unwritable, or writable
// again. Returns 1 when a write there now fails (or, when made writable, succeeds).
int setUnwritable(const std::string& path, int unwritable);
