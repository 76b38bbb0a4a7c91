#pragma once
// Why a profile file could not be imported, as the language key of a short
// reason the user can act on.

#include <string>
#include <string_view>

#include "storage/ProfileFile.h"

namespace keyloom {

// `exists` tells a missing file from one of a size no profile file has.
std::string_view importFailureReasonKey(const ProfileFileCheck& check, bool exists);

// Whether the file starts as the JSON form of a profile does (an object
// naming its format near the top), which keyloomctl import turns into a
// profile file.
bool looksLikeProfileJson(const std::string& path);

}  // namespace keyloom
