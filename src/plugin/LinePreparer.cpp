#include "plugin/LinePreparer.h"

namespace {

// Drawing one line takes some tens of milliseconds on the widest bars.
constexpr DWORD kStopWaitMs = 1000;

struct LayersParcel : Parcel {
    std::unique_ptr<TextLayers> layers;
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
            static_cast<LayersParcel&>(*request).layers->draw();
            side.handBack(std::move(request));
        }
    }
};

}  // namespace

int LinePreparer::start(HWND bar, UINT message) { return worker.start(std::make_unique<PrepareWork>(), bar, message); }

void LinePreparer::stop() { worker.stop(kStopWaitMs); }

void LinePreparer::prepare(std::unique_ptr<TextLayers> layers) {
    auto parcel = std::make_unique<LayersParcel>();
    parcel->layers = std::move(layers);
    worker.submit(std::move(parcel));
}

std::vector<std::unique_ptr<TextLayers>> LinePreparer::collect() {
    std::vector<std::unique_ptr<TextLayers>> drawn;
    for (std::unique_ptr<Parcel>& parcel : worker.collect())
        drawn.push_back(std::move(static_cast<LayersParcel&>(*parcel).layers));
    return drawn;
}
