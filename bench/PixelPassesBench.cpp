// The pixel passes of one frame, at the default bar (245 x 18), a large one (1920 x 80) and a
// desktop-sized one (3840 x 160), on buffers as wide as the bar.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "render/Effects.h"
#include "render/PixelPasses.h"

namespace {

// A bar-high buffer holding something like a rendered line: mostly black key, some text colours.
struct Buffer {
    Buffer(int32_t width, int32_t height, uint32_t seed)
        : stride(width), width(width), height(height), pixels(stride * height) {
        for (uint32_t& p : pixels) {
            seed = seed * 1664525u + 1013904223u;
            p = (seed >> 28) < 10 ? 0 : seed >> 8;
        }
    }
    PixelArea area() { return {pixels.data(), stride, width, height}; }
    int32_t stride, width, height;
    std::vector<uint32_t> pixels;
};

constexpr int32_t kSizes[][2] = {{245, 18}, {1920, 80}, {3840, 160}};

template <typename Pass>
void registerPass(const char* name, Pass pass) {
    for (auto& size : kSizes) {
        std::string label = std::string(name) + "/" + std::to_string(size[0]) + "x" + std::to_string(size[1]);
        benchmark::RegisterBenchmark(label.c_str(), [=](benchmark::State& state) {
            Buffer a(size[0], size[1], 1), b(size[0], size[1], 2);
            for (auto _ : state) {
                pass(a, b);
                benchmark::DoNotOptimize(b.pixels.data());
                benchmark::ClobberMemory();
            }
            state.SetItemsProcessed(state.iterations() * size[0] * size[1]);
        });
    }
}

// The costliest frame: a cross-fade over a skin with an effect on. Both lines are laid onto the
// skin (keyed overlays at 0), blended into each other, and the effect pass runs last.
void frame(Buffer& view, Buffer& skin, Buffer& oldView, Buffer& oldSkin) {
    overlayKeyed(view.area(), skin.area(), 0);
    overlayKeyed(oldView.area(), oldSkin.area(), 0);
    mixBuffers(oldSkin.area(), skin.area(), 37);
    applyEffects(skin.area(), 2, 0x203040);
}

const bool registered = [] {
    registerPass("BM_MixBuffers", [](Buffer& a, Buffer& b) { mixBuffers(a.area(), b.area(), 37); });
    registerPass("BM_OverlayKeyed", [](Buffer& a, Buffer& b) { overlayKeyed(a.area(), b.area(), 0); });
    registerPass("BM_OverlayKeyedFading", [](Buffer& a, Buffer& b) { overlayKeyed(a.area(), b.area(), 63); });
    registerPass("BM_FadeTowardsBackground", [](Buffer&, Buffer& b) { fadeTowardsBackground(b.area(), 0x203040, 37); });
    registerPass("BM_ApplyEffects", [](Buffer&, Buffer& b) { applyEffects(b.area(), 2, 0x203040); });
    registerPass("BM_PremultiplyForLayeredWindow",
                 [](Buffer& a, Buffer& b) { premultiplyForLayeredWindow(a.area(), b.area(), 0, 128); });
    for (auto& size : kSizes) {
        std::string label = "BM_Frame/" + std::to_string(size[0]) + "x" + std::to_string(size[1]);
        benchmark::RegisterBenchmark(label.c_str(), [=](benchmark::State& state) {
            Buffer view(size[0], size[1], 1), skin(size[0], size[1], 2);
            Buffer oldView(size[0], size[1], 3), oldSkin(size[0], size[1], 4);
            for (auto _ : state) {
                frame(view, skin, oldView, oldSkin);
                benchmark::DoNotOptimize(skin.pixels.data());
                benchmark::ClobberMemory();
            }
        });
    }
    return true;
}();

}  // namespace
