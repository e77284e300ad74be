#pragma once
// The library's file version, shown in its properties. The property sheet's version page and the
// descriptor text carry their own version strings.
#define SORVANE_VERSION_NUMBERS 0, 15, 2, 0
#define SORVANE_VERSION_TEXT "0.15b"
// Where the plug-in lives on the web: the version page shows it, and online requests name it.
#define SORVANE_HOMEPAGE "https://sorvane.example.org/"
