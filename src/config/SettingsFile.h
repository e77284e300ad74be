#pragma once
// Where the settings file lies, how it moves there, and what the user learns when it cannot be
// written.
//
// sorvane.ini lies in the host's settings folder, which its user may write (the player itself
// may lie under Program Files, which a user's programs may not). When the host names no folder,
// it lies beside the library, as it always did. The first time the host's folder holds no
// sorvane.ini but the library's folder does, that file is copied there and read; the old file
// stays as it is, and every save from then on goes to the new place.
#include <windows.h>

#include <string>

// The settings file of this run, kept in the plug-in's state (SheetState.h).
struct SettingsFileState {
    std::string path;           // the file every save writes (UTF-8): the one last located; empty before that
    bool failureShown = false;  // the user has been told in this run that it cannot be written
};

// The folder of the library's own module file, with its trailing backslash (UTF-8).
std::string libraryFolder(HINSTANCE module);

// Chooses the settings file for hostFolder (UTF-8; empty when the host named none) and the
// library's folder, moving the old file over as above, and keeps it in file.path. Returns the file
// to read the settings from: the chosen one, or the old one when it could not be copied.
std::string locateSettingsFile(SettingsFileState& file, const std::string& hostFolder, const std::string& moduleFolder);

// The settings file and its log in a folder (UTF-8).
std::string settingsFileIn(const std::string& folder);
std::string settingsLogIn(const std::string& folder);

// A save of the settings file failed with the system's error code (0 when the platform gave
// none). Leaves a line in sorvane.log beside the settings file when that can be written and, the
// first time in this run and only when owner is given, says so in a message box naming the file
// and the reason.
void reportSaveFailure(SettingsFileState& file, HWND owner, DWORD error);
