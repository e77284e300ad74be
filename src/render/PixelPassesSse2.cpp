// The pixel passes' rows in SSE2, four pixels at a time (the last few of a row in copies padded to
// four), equal to the plain loops to the bit (PixelPasses.cpp). The mix is the plain one's 16-bit
// arithmetic in eight 16-bit lanes: ((100 - p) * a + p * b - (b > a)) * 5243 >> 19, the high half
// of the product taken unsigned.
//
// A 32-bit build that does not assume SSE2 compiles only this code for it, and runs it only once
// the processor has said it has SSE2.
#include "render/PixelRows.h"

#if defined(__i386__) || defined(__x86_64__)

#include <cpuid.h>
#include <emmintrin.h>

#include <cstring>

// Every standard header is in above: what follows, and only that, is compiled for SSE2.
#if !defined(__SSE2__)
#pragma GCC push_options
#pragma GCC target("sse2")
#define SORVANE_SSE2_PUSHED
#endif

// A 32-bit caller may hold the stack at 4 bytes only (the host's code, for one); these loops
// align it themselves before they keep any 16-byte value there.
#if defined(__i386__)
#define SORVANE_ROW_ENTRY __attribute__((force_align_arg_pointer))
#else
#define SORVANE_ROW_ENTRY
#endif

namespace {

constexpr int kLanes = 4;

inline __m128i load(const uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void store(uint32_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

// The weights of a mix by p, in every 16-bit lane: 100 - p for the first picture, p for the second.
struct MixWeights {
    explicit MixWeights(uint16_t p)
        : first(_mm_set1_epi16(static_cast<int16_t>(100 - p))), second(_mm_set1_epi16(static_cast<int16_t>(p))) {}
    __m128i first;
    __m128i second;
};

// mixByte over eight 16-bit lanes, `firstTerm` being (100 - p) * a already. Every value stays
// below 25501, so the signed comparison and the unsigned high product see what the plain code sees.
inline __m128i mixLanes(__m128i firstTerm, __m128i a, __m128i b, const MixWeights& w) {
    __m128i sum = _mm_add_epi16(firstTerm, _mm_mullo_epi16(b, w.second));
    sum = _mm_add_epi16(sum, _mm_cmpgt_epi16(b, a));  // minus one where b > a
    return _mm_srli_epi16(_mm_mulhi_epu16(sum, _mm_set1_epi16(5243)), 3);
}

// mixBytes of four pixels: the colour bytes mixed, the top byte 0.
inline __m128i mixPixels4(__m128i first, __m128i second, const MixWeights& w) {
    const __m128i zero = _mm_setzero_si128();
    __m128i aLow = _mm_unpacklo_epi8(first, zero), aHigh = _mm_unpackhi_epi8(first, zero);
    __m128i bLow = _mm_unpacklo_epi8(second, zero), bHigh = _mm_unpackhi_epi8(second, zero);
    __m128i low = mixLanes(_mm_mullo_epi16(aLow, w.first), aLow, bLow, w);
    __m128i high = mixLanes(_mm_mullo_epi16(aHigh, w.first), aHigh, bHigh, w);
    return _mm_and_si128(_mm_packus_epi16(low, high), _mm_set1_epi32(0x00FFFFFF));
}

// Where the mask is set, `chosen`; elsewhere `other`.
inline __m128i select(__m128i mask, __m128i chosen, __m128i other) {
    return _mm_or_si128(_mm_and_si128(mask, chosen), _mm_andnot_si128(mask, other));
}

// Runs step(source, destination) over a row four pixels at a time; the last one to three pixels
// go through it in copies padded to four. A row of one picture is its own source.
template <typename Step>
inline void overRow(const uint32_t* source, uint32_t* destination, int32_t columns, Step step) {
    int32_t j = 0;
    for (; j + kLanes <= columns; j += kLanes) step(source + j, destination + j);
    if (j == columns) return;
    size_t rest = static_cast<size_t>(columns - j) * sizeof(uint32_t);
    uint32_t s[kLanes] = {}, d[kLanes] = {};
    std::memcpy(s, source + j, rest);
    std::memcpy(d, destination + j, rest);
    step(s, d);
    std::memcpy(destination + j, d, rest);
}

SORVANE_ROW_ENTRY void fillRow(uint32_t value, uint32_t* pixels, int32_t columns) {
    const __m128i v = _mm_set1_epi32(static_cast<int32_t>(value));
    overRow(pixels, pixels, columns, [&](const uint32_t*, uint32_t* d) { store(d, v); });
}

SORVANE_ROW_ENTRY void keyedCopyRow(const uint32_t* source, uint32_t* destination, int32_t columns) {
    const __m128i zero = _mm_setzero_si128();
    overRow(source, destination, columns, [&](const uint32_t* s, uint32_t* d) {
        __m128i pixels = load(s);
        // Where the source is 0 the destination stays; elsewhere the source, which or-ing gives.
        store(d, _mm_or_si128(_mm_and_si128(_mm_cmpeq_epi32(pixels, zero), load(d)), pixels));
    });
}

SORVANE_ROW_ENTRY void keyedMixRow(const uint32_t* source, uint32_t* destination, int32_t columns, uint16_t p) {
    const MixWeights w(p);
    const __m128i zero = _mm_setzero_si128();
    overRow(source, destination, columns, [&](const uint32_t* s, uint32_t* d) {
        __m128i first = load(s), second = load(d);
        store(d, select(_mm_cmpeq_epi32(first, zero), second, mixPixels4(first, second, w)));
    });
}

SORVANE_ROW_ENTRY void mixRow(const uint32_t* source, uint32_t* destination, int32_t columns, uint16_t p) {
    const MixWeights w(p);
    overRow(source, destination, columns,
            [&](const uint32_t* s, uint32_t* d) { store(d, mixPixels4(load(s), load(d), w)); });
}

SORVANE_ROW_ENTRY void colourRow(uint32_t colourPixel, uint32_t* pixels, int32_t columns, uint16_t p) {
    const MixWeights w(p);
    const __m128i zero = _mm_setzero_si128(), colourBytes = _mm_set1_epi32(0x00FFFFFF);
    // The colour is the same in every pixel: its lanes and their first term are worked out once.
    const __m128i a = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int32_t>(colourPixel)), zero);
    const __m128i firstTerm = _mm_mullo_epi16(a, w.first);
    overRow(pixels, pixels, columns, [&](const uint32_t*, uint32_t* d) {
        __m128i b = load(d);
        __m128i low = mixLanes(firstTerm, a, _mm_unpacklo_epi8(b, zero), w);
        __m128i high = mixLanes(firstTerm, a, _mm_unpackhi_epi8(b, zero), w);
        store(d, _mm_and_si128(_mm_packus_epi16(low, high), colourBytes));
    });
}

SORVANE_ROW_ENTRY void premultiplyRow(const uint32_t* source, uint32_t* destination, int32_t columns, uint32_t key,
                                      uint32_t premultipliedKey) {
    const __m128i colourBytes = _mm_set1_epi32(0x00FFFFFF), opaque = _mm_set1_epi32(static_cast<int32_t>(0xFF000000u));
    const __m128i keys = _mm_set1_epi32(static_cast<int32_t>(key));
    const __m128i premultiplied = _mm_set1_epi32(static_cast<int32_t>(premultipliedKey));
    overRow(source, destination, columns, [&](const uint32_t* s, uint32_t* d) {
        __m128i pixels = load(s);
        __m128i isKey = _mm_cmpeq_epi32(_mm_and_si128(pixels, colourBytes), keys);
        store(d, select(isKey, premultiplied, _mm_or_si128(pixels, opaque)));
    });
}

const PixelRows kSse2Rows = {fillRow, keyedCopyRow, keyedMixRow, mixRow, colourRow, premultiplyRow};

}  // namespace

#ifdef SORVANE_SSE2_PUSHED
#pragma GCC pop_options
#endif

const PixelRows* sse2Rows() {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx) || !(edx & bit_SSE2)) return nullptr;
    return &kSse2Rows;
}

#else

const PixelRows* sse2Rows() { return nullptr; }

#endif
