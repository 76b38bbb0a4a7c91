#pragma once
// The sending end of the instance socket: delivers OPEN or KILL to the
// running instance and waits until that instance has handled it.

#include <sys/types.h>

#include <chrono>
#include <string>

#include "platform/instance/InstanceRequest.h"

namespace keyloom::instance {

// How long a start waits for the running instance to answer. A hung instance
// must not keep a second start waiting for ever.
inline constexpr std::chrono::milliseconds kDefaultAnswerTimeout{5000};

// Connects to the instance socket at `socketPath`, which must be served by
// process `pid` of this user (requests are never handed to another process),
// sends `request` and waits for the answer. True when the instance answered,
// i.e. its handler ran. False when nobody listens there, the listener is
// another process, or no answer came within `timeout`. While `pid` lives but
// does not listen yet (it is still starting), connecting is retried for up to
// a second of the timeout.
bool sendToInstance(pid_t pid, InstanceRequest request, const std::string& socketPath,
                    std::chrono::milliseconds timeout = kDefaultAnswerTimeout);

}  // namespace keyloom::instance
