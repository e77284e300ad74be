#pragma once
// Win32 helpers the substitute player's parts share: text conversions, window lookups, paths.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Scenario files and the log are UTF-8; the plug-in's texts are in the ANSI code page (932).
std::string ansiFromUtf8(const std::string& utf8);
std::string utf8FromAnsi(const std::string& ansi);

std::string windowClassName(HWND window);
std::string windowText(HWND window);

// The top-level windows of this process (the visible ones only, unless told), in z-order.
std::vector<HWND> processWindows(int visibleOnly = 1);
// The first top-level window of this process with this class name, or null.
HWND findProcessWindow(const char* className, int visibleOnly = 1);

uint64_t nowMs();

// The folder of this program's file, with a trailing backslash.
std::string executableFolder();
// A new empty folder under the temporary folder (or under parent when given); returns 1 on success.
int makeFreshFolder(std::string& folder, const std::string& parent = std::string());
// Deletes folder with everything in it, read-only files too; what cannot be deleted stays.
void removeFolderTree(const std::string& folder);
// parent + name with one backslash between them.
std::string joinPath(const std::string& parent, const std::string& name);
