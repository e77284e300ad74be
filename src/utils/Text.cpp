#include "utils/Text.h"

#include <cstring>

char* copyText(const char* source) {
    if (!source) return nullptr;
    size_t n = std::strlen(source);
    char* copy = new char[n + 1];
    std::memcpy(copy, source, n + 1);
    return copy;
}

void freeText(char*& field) {
    delete[] field;
    field = nullptr;
}

int assignString(char*& field, const char* source) {
    // Copy before freeing: source may be field itself.
    char* copy = copyText(source);
    freeText(field);
    field = copy;
    return copy ? 1 : 0;
}

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
