#pragma once
// The keyboard's lighting as the core holds it: one LightingController (the
// lighting profile, the three lighting records and their decoded state, the
// effect list, per-key colours with the brush and user modes, the lighting-
// view switch) whose writer sends through the core's keyboard queue. The
// lighting panel and keyloomctl are views of it: they read it and send their
// intents to it, and keep no copy of their own.
//
// Every use goes through an Access, which holds the lock for as long as it
// lives (`lighting->selectEffectAt(3)` holds it for one statement). The lock
// is held only to read or change the state, never while the keyboard is
// written: what a job of the keyboard queue changes is sent when its Access
// lets go, in the job's own order. Never call the window while holding one.

#include <mutex>

#include "device/KeyboardQueue.h"
#include "lighting/LightingController.h"
#include "lighting/LightingTransport.h"

namespace keyloom {

class LightingService {
public:
    class Access {
    public:
        explicit Access(LightingService& service);
        ~Access();
        Access(const Access&) = delete;
        Access& operator=(const Access&) = delete;
        LightingController* operator->() const { return &service_.controller_; }
        LightingController& operator*() const { return service_.controller_; }

    private:
        LightingService& service_;
        std::unique_lock<std::recursive_mutex> lock_;
    };

    LightingService(LightingTransport& transport, KeyboardQueue& queue, LightingPaths paths,
                    LightingWriter::FailureCallback onWriteFailed);

    Access lock() { return Access(*this); }
    Access operator->() { return lock(); }

    // Copies, for any thread.
    LightingState state() { return lock()->state(); }
    int profile() { return lock()->lightingProfile(); }
    int reportRate() { return state().reportRate; }

private:
    KeyboardQueue& queue_;
    std::recursive_mutex mutex_;
    int depth_ = 0;  // nested Accesses of the thread holding the lock
    LightingController controller_;
};

}  // namespace keyloom
