#pragma once
// Helpers for the profile file tests: writing bytes to files, doctoring a
// file's header while keeping its checksum right, and sample store contents.

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "model/ConfigurationStore.h"
#include "model/ImageHeader.h"
#include "model/LittleEndian.h"

namespace keyloom::testing {

using Bytes = std::vector<std::uint8_t>;

inline void writeBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline Bytes readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Recomputes the header checksum byte after a test changed header fields.
inline void resealHeader(Bytes& bytes) {
    bytes[ImageHeader::kChecksumOffset] = imageHeaderChecksum(bytes);
}

inline void setU16(Bytes& bytes, std::size_t offset, std::uint16_t value) {
    le::writeU16(bytes, offset, value);
    resealHeader(bytes);
}

inline void setU32(Bytes& bytes, std::size_t offset, std::uint32_t value) {
    le::writeU32(bytes, offset, value);
    resealHeader(bytes);
}

inline MacroRecord sampleMacro(std::uint16_t number, std::u16string name, std::size_t actions) {
    MacroRecord macro;
    macro.number = number;
    macro.name = std::move(name);
    macro.playCount = static_cast<std::uint8_t>(number + 2);
    for (std::size_t i = 0; i < actions; ++i) {
        macro.actions.push_back({static_cast<std::uint32_t>(10 * i),
                                 static_cast<std::uint16_t>(0x1E + i % 3),
                                 static_cast<std::uint16_t>(i % 2)});
    }
    return macro;
}

}  // namespace keyloom::testing
