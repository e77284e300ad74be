#include "plugin/LinePreparer.h"

#include "render/RenderSurface.h"

namespace {

// Drawing one line takes some tens of milliseconds on the widest bars.
constexpr DWORD kStopWaitMs = 1000;

using PrepareWorker = WorkerThread<Drawing, Drawing>;

class PrepareWork : public PrepareWorker::Work {
public:
    void run(PrepareWorker::Side& side) override {
        while (!side.stopRequested()) {
            std::unique_ptr<Drawing> drawing = side.takeRequest();
            if (!drawing) {
                side.wait(INFINITE);
                continue;
            }
            if (drawing->layers) drawing->layers->draw();
            if (drawing->banner) drawing->banner->draw();
            side.handBack(std::move(drawing));
        }
    }
};

}  // namespace

int LinePreparer::start(HWND bar, UINT message) { return worker.start(std::make_unique<PrepareWork>(), bar, message); }

void LinePreparer::stop() { worker.stop(kStopWaitMs); }

void LinePreparer::prepare(std::unique_ptr<TextLayers> layers) {
    auto drawing = std::make_unique<Drawing>();
    drawing->layers = std::move(layers);
    worker.submit(std::move(drawing));
}

void LinePreparer::prepareBanner(std::unique_ptr<BannerPicture> picture) {
    auto drawing = std::make_unique<Drawing>();
    drawing->banner = std::move(picture);
    worker.submit(std::move(drawing));
}

void LinePreparer::returnTo(RenderSurface& surface) {
    for (std::unique_ptr<Drawing>& drawing : worker.collect()) {
        if (drawing->layers) surface.takePrepared(std::move(drawing->layers));
        if (drawing->banner) surface.takePreparedBanner(std::move(drawing->banner));
    }
}
