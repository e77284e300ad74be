#pragma once
// Pixel arithmetic of the fades, cross-fades and the skin overlay, and the copies and fills that
// compose a frame, done straight on the memory of the 32-bit buffers (never by GDI). Pixels are
// 0x00RRGGBB words; colour values from the settings are 0x00BBGGRR colour references.
//
// Each pass runs its rows in SSE2, four pixels at a time, where the processor has it, else in plain
// C++; the two give the same pixels to the bit (the plain code is the reference the SSE2 code is
// tested against).
//
// A percentage of 0 or less selects the first picture, 100 or more the second; anything between
// mixes each byte as truncate((1 - x) * first + x * second) with x = percentage * 0.01f evaluated
// in double precision.
#include <cstdint>

// A rectangle of pixels: `columns` x `rows` words from `pixels`, rows `stride` words apart. The
// passes clamp `columns` to `stride`, so a bar wider than its buffer is cut at the buffer's edge;
// the caller makes sure the buffer has `rows` rows.
struct PixelArea {
    uint32_t* pixels;
    int32_t stride;
    int32_t columns;
    int32_t rows;
};

// One byte of a mix by a percentage p from 1 to 99. Because 0.01f lies just below 0.01, the
// double-precision value truncate((1 - x) * a + x * b) is exactly
// floor(((100 - p) * a + p * b - (b > a)) / 100): away from multiples of 100 the difference between
// x and p / 100 moves the product by less than 0.01, and on a multiple it lands just below the
// integer when b > a and just above it otherwise. The sum stays below 25501, where multiplying by
// 5243 and keeping the top bits of the 16-bit high half divides by 100 exactly; keeping everything
// in 16 bits lets the compiler process many bytes per instruction. Integer-only, the result is the
// same on every processor and floating-point unit.
inline uint32_t mixByte(uint32_t a, uint32_t b, uint16_t p) {
    uint16_t sum = static_cast<uint16_t>((100 - p) * a + p * b - (b > a ? 1u : 0u));
    return static_cast<uint16_t>((uint32_t{sum} * 5243u) >> 16) >> 3;
}

inline uint32_t mixBytes(uint32_t first, uint32_t second, uint16_t p) {
    return mixByte(first >> 16 & 0xFF, second >> 16 & 0xFF, p) << 16 |
           mixByte(first >> 8 & 0xFF, second >> 8 & 0xFF, p) << 8 | mixByte(first & 0xFF, second & 0xFF, p);
}

// A colour reference (0x00BBGGRR) as a pixel (0x00RRGGBB).
inline uint32_t colourToPixel(int32_t colour) {
    uint32_t c = static_cast<uint32_t>(colour);
    return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

// The code a pass runs: Best asks the processor once which it has (SSE2 on every x86 processor a
// supported Windows runs on); the others are for the tests and benchmarks that compare them. Sse2
// where it cannot run is Scalar.
enum class PixelCode { Best, Scalar, Sse2 };
bool canRunPixelCode(PixelCode code);

// p at 0 or less, q at 100 or more, else the mix of the two.
uint32_t mixPixels(uint32_t p, uint32_t q, int32_t percentage);
// The colour (as a pixel) at 0 or less, the pixel unchanged at 100 or more, else the mix.
uint32_t mixColour(int32_t colour, uint32_t pixel, int32_t percentage);

// Every destination pixel under a source pixel other than 0 becomes mixPixels(source,
// destination, percentage); under pure black the destination stays: black is the skin's colour key.
void overlayKeyed(const PixelArea& source, const PixelArea& destination, int32_t percentage,
                  PixelCode code = PixelCode::Best);
// destination := mixPixels(source, destination, percentage) for every pixel.
void mixBuffers(const PixelArea& source, const PixelArea& destination, int32_t percentage,
                PixelCode code = PixelCode::Best);
// pixel := mixColour(colour, pixel, percentage) for every pixel: 0 gives plain colour, 100 leaves
// the picture.
void fadeTowardsBackground(const PixelArea& area, int32_t colour, int32_t percentage, PixelCode code = PixelCode::Best);
// The same over one row (memory row `row` of the area).
void mixRowWithColour(const PixelArea& area, int32_t row, int32_t colour, int32_t percentage,
                      PixelCode code = PixelCode::Best);

// destination := source over the common part of the two areas, all four bytes of each pixel.
void copyPixels(const PixelArea& source, const PixelArea& destination);
// Every pixel of the area := pixel.
void fillPixels(const PixelArea& area, uint32_t pixel, PixelCode code = PixelCode::Best);

// A frame as a layered window takes it: 0xAARRGGBB with each colour byte already multiplied by
// the pixel's alpha. Pixels of the background colour (a colour reference; the top byte of the
// pixel is not compared) get alpha `opacity` (clamped to 0..255) and their colour multiplied by
// it, rounded to the nearest; every other pixel (the text and its outline) keeps its colour at
// alpha 255. Destination may be the source area itself.
void premultiplyForLayeredWindow(const PixelArea& source, const PixelArea& destination, int32_t background,
                                 int32_t opacity, PixelCode code = PixelCode::Best);
