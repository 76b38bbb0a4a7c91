#pragma once
// The message for a user-mode file the lighting could not use: the key
// colours were left as they were and nothing of them was sent.

#include "core/window/Prompter.h"
#include "lighting/LightingController.h"

namespace keyloom {

// Call without holding a LightingService Access: it shows a message box.
void tellUserFileFailure(window::Prompter& prompts, const UserFileFailure& failure);

}  // namespace keyloom
