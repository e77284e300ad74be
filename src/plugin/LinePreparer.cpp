#include "plugin/LinePreparer.h"

#include "render/RenderSurface.h"

namespace {

// Drawing one line takes some tens of milliseconds on the widest bars.
constexpr DWORD kStopWaitMs = 1000;

// One of the two, lent and handed back.
struct DrawingParcel : Parcel {
    std::unique_ptr<TextLayers> layers;
    std::unique_ptr<BannerPicture> banner;
};

class PrepareWork : public WorkerThread::Work {
public:
    void run(WorkerSide& side) override {
        while (!side.stopRequested()) {
            std::unique_ptr<Parcel> request = side.takeRequest();
            if (!request) {
                side.wait(INFINITE);
                continue;
            }
            auto& drawing = static_cast<DrawingParcel&>(*request);
            if (drawing.layers) drawing.layers->draw();
            if (drawing.banner) drawing.banner->draw();
            side.handBack(std::move(request));
        }
    }
};

}  // namespace

int LinePreparer::start(HWND bar, UINT message) { return worker.start(std::make_unique<PrepareWork>(), bar, message); }

void LinePreparer::stop() { worker.stop(kStopWaitMs); }

void LinePreparer::prepare(std::unique_ptr<TextLayers> layers) {
    auto parcel = std::make_unique<DrawingParcel>();
    parcel->layers = std::move(layers);
    worker.submit(std::move(parcel));
}

void LinePreparer::prepareBanner(std::unique_ptr<BannerPicture> picture) {
    auto parcel = std::make_unique<DrawingParcel>();
    parcel->banner = std::move(picture);
    worker.submit(std::move(parcel));
}

void LinePreparer::returnTo(RenderSurface& surface) {
    for (std::unique_ptr<Parcel>& parcel : worker.collect()) {
        auto& drawing = static_cast<DrawingParcel&>(*parcel);
        if (drawing.layers) surface.takePrepared(std::move(drawing.layers));
        if (drawing.banner) surface.takePreparedBanner(std::move(drawing.banner));
    }
}
