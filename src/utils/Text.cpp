#include "utils/Text.h"

static unsigned char upperAscii(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

int sameText(const char* a, const char* b) {
    if (!a || !b) return 0;
    for (;; ++a, ++b) {
        unsigned char x = upperAscii(static_cast<unsigned char>(*a));
        unsigned char y = upperAscii(static_cast<unsigned char>(*b));
        if (x != y) return 0;
        if (x == 0) return 1;
    }
}
