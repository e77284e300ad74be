#pragma once
// The parts of a song's path (UTF-8) that name its lyrics: its file name, that name without its
// extension, and the path with another extension. A path separates at "\" and at "/" alike: the
// host names files with either, and a stream's address with "/"; no byte of a UTF-8 sequence is
// either of them.
#include <string>
#include <string_view>

// path with everything after its last "." (at byte 1 or later) replaced by extension; without
// such a dot, extension is appended directly. The dot may lie in a folder's name:
// "C:\My.Music\song" gives "C:\My.kra".
std::string replaceExtension(std::string_view path, const char* extension);

// The part of path after its last separator, or the whole path without one.
std::string songFileName(std::string_view path);

// The song's name as a file of its own would take it: songFileName without what follows its last
// "." (at byte 1 or later).
std::string songBaseName(std::string_view path);
