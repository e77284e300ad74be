// Undefined behaviour planted on purpose, in a program that exists only to be run by a test: its
// run must end with the sanitizer's report. Were a report recoverable, this program would print it
// and go on to exit 0, and so would every test and fuzz run that meets undefined behaviour.
//
// The behaviour is the kind the fuzzers found in tag reading: a byte that names none of an enum's
// values, loaded as that enum.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

enum TextEncoding { kLatin1, kUtf16, kUtf16Be, kUtf8 };

struct Frame {
    TextEncoding encoding;
};

int isUnicode(const uint8_t* encodingByte) {
    Frame frame;
    int value = *encodingByte;
    std::memcpy(&frame.encoding, &value, sizeof value);
    return frame.encoding != kLatin1;  // the load of 85 as a TextEncoding
}

const uint8_t kEncodingByte = 85;

}  // namespace

#ifdef SORVANE_PLANTED_IN_FUZZ_TARGET
extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) {
    static volatile int unicode;
    unicode = isUnicode(&kEncodingByte);
    return 0;
}
#else
int main() {
    int unicode = isUnicode(&kEncodingByte);
    std::printf("the undefined behaviour went unreported (%d)\n", unicode);
    return 0;
}
#endif
