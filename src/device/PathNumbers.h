#pragma once
// Numbers embedded in interface paths such as
// "/dev/hidraw3#vid_0c45&pid_652f&mi_01&col02".

#include <cstdint>
#include <string_view>

namespace keyloom {

// Searches `path` case-insensitively for `marker` and reads the hexadecimal
// number that follows it (leading blanks and an optional "0x" allowed, as
// scanf "%x" does). 0 when the marker is absent or no digit follows; the
// value wraps at 32 bits like scanf's.
std::uint32_t hexNumberAfter(std::string_view path, std::string_view marker);

}  // namespace keyloom
