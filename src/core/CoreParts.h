#pragma once
// What the core's sequences share: the window's role interfaces and the
// objects the core owns. Each sequence class holds one of these; the core
// builds it once and outlives every sequence.

#include "core/AppState.h"
#include "core/KeyboardAreas.h"
#include "core/KeyboardData.h"
#include "core/LightingService.h"
#include "core/ModifiedState.h"
#include "core/window/CoreWindow.h"
#include "device/DeviceLink.h"
#include "device/KeyboardQueue.h"
#include "model/ConfigurationStore.h"
#include "platform/window/TrayStatus.h"
#include "storage/AppPaths.h"

namespace keyloom {

struct CoreParts {
    window::CoreWindow window;
    const AppPaths& paths;
    AppState& state;
    DeviceLink& link;
    KeyboardAreas& areas;
    WorkingStore& working;
    DeviceStore& device;
    ModifiedState& modified;
    KeyboardData& data;
    LightingService& lighting;
    KeyboardQueue& queue;
    window::TrayStatus& tray;
    // Whether the full read sends the lighting profile's key colours (the
    // window does; keyloomctl takes those the keyboard holds).
    bool sendUserModeAtRead = true;
};

}  // namespace keyloom
