#pragma once
// A profile file built from what the keyboard holds. The key matrices of
// profiles 0-2 are decoded against the default key matrix into blocks 0-2 of
// a fresh image (block 3, which no profile feeds, stays all Default), and the
// macro area into macro records numbered 1, 2, 3 ... in area order. The file
// has no texts (the keyboard keeps none). Reading the keyboard is the core's
// business; this part only turns the bytes read into a file.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/KeyMatrix.h"
#include "storage/FileResult.h"

namespace keyloom {

// The keyboard's key assignments and macros as read from it.
struct KeyboardContents {
    // The key matrices of profiles 0-2.
    std::array<KeyMatrix, 3> matrices{};
    // The macro area from offset 0: its header, and the bytes in use when
    // the header says it holds macros.
    std::vector<std::uint8_t> macroArea;
};

// The bytes of the profile file for `contents`; Ok, or Failed when memory ran
// out. `macroCapacity` is the area's size on the keyboard (parameter block
// byte 11 x 128): nothing beyond it is trusted. Macros without a name get
// `defaultNamePrefix` followed by their number.
FileResult buildDumpBytes(const KeyMatrix& defaultMatrix, const KeyboardContents& contents,
                          std::size_t macroCapacity, std::u16string_view defaultNamePrefix,
                          std::vector<std::uint8_t>& bytes);

// Writes `bytes` to `path` atomically, unless the file already holds exactly
// them (the slot file is rewritten at every connection and mostly holds what
// it held before). Failed leaves the old file intact.
FileResult writeDumpFile(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace keyloom
