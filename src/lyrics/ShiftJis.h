#pragma once
// Code page 932 (Shift-JIS as Windows has it), for code that cannot ask the platform.

// Whether the byte opens a double-byte character: 0x81 to 0x9F and 0xE0 to 0xFC.
inline int isShiftJisLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}
