#include "core/LightingService.h"

#include <utility>

namespace keyloom {

LightingService::Access::Access(LightingService& service)
    : service_(service), lock_(service.mutex_) {
    ++service_.depth_;
}

LightingService::Access::~Access() {
    const bool outermost = --service_.depth_ == 0;
    lock_.unlock();
    // The changes a keyboard job made go out now, before the job goes on.
    if (outermost && service_.queue_.onQueueThread())
        service_.controller_.sendHeld();
}

LightingService::LightingService(LightingTransport& transport, KeyboardQueue& queue,
                                 LightingPaths paths, LightingWriter::FailureCallback onWriteFailed)
    : queue_(queue), controller_(transport, queue, std::move(paths), std::move(onWriteFailed)) {}

}  // namespace keyloom
