// What the DLL leaves out of the C++ library: about 830 KB of the 2.1 MB it would be, code that
// the plug-in never runs, or whose only work would be text for a standard error the player does
// not have. Each piece is kept out by defining here the few library symbols that would pull it in.
//
// Linked into the DLL alone: the test programs keep the whole library. Should code linked into
// the DLL need a piece after all, the library's own definitions come in beside these and the link
// fails on a "multiple definition", except for an insertion into std::cout or the like, which
// tools/check-dll finds in the plug-in's own libraries.
#include <cxxabi.h>

#include <cstdlib>
#include <ios>

// The stream and locale code, which TagLib brings in through two doors:
//   - <iostream>, which TagLib's headers include: with this compiler (GCC 12) every file that
//     includes it runs a static initialiser, std::ios_base::Init, that constructs the standard
//     streams and with them every locale facet of every character type;
//   - TagLib's operator<< for its strings and byte vectors, which the plug-in never calls: they
//     insert into a std::ostream through the library's __ostream_insert and ostream::put.
// Here the initialiser does nothing, and the insertions, which nothing reaches, end the process.
std::ios_base::Init::Init() {}
std::ios_base::Init::~Init() {}

// The library's own names for them; std::streamsize, their last parameter, is long long on 64-bit
// Windows.
#define SORVANE_TEXT(x) #x
#define SORVANE_PREFIXED(prefix, name) SORVANE_TEXT(prefix) name
#define SORVANE_LIBRARY_SYMBOL(name) SORVANE_PREFIXED(__USER_LABEL_PREFIX__, name)
#ifdef _WIN64
#define SORVANE_STREAMSIZE "x"
#else
#define SORVANE_STREAMSIZE "i"
#endif

extern "C" [[noreturn]] void sorvaneOstreamInsert() __asm__(SORVANE_LIBRARY_SYMBOL(
    "_ZSt16__ostream_insertIcSt11char_traitsIcEERSt13basic_ostreamIT_T0_ES6_PKS3_" SORVANE_STREAMSIZE));
extern "C" [[noreturn]] void sorvaneOstreamPut() __asm__(SORVANE_LIBRARY_SYMBOL("_ZNSo3putEc"));

extern "C" void sorvaneOstreamInsert() { std::abort(); }
extern "C" void sorvaneOstreamPut() { std::abort(); }

// The library's terminate handler writes the uncaught exception's type, demangled (a demangler of
// 46 KB), to standard error before it aborts. The plug-in's ends the same way, without the text.
void __gnu_cxx::__verbose_terminate_handler() { std::abort(); }
