#pragma once
// Dump keyboard to file: a profile file built from what the keyboard holds.
// The key matrices of profiles 0-2 are decoded against the default key matrix
// into blocks 0-2 of a fresh image (block 3, which no profile feeds, stays
// all Default), and the macro area into macro records numbered 1, 2, 3 ... in
// area order. The file has no texts (the keyboard keeps none).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>
#include "storage/FileResult.h"

#include "device/DeviceLink.h"
#include "model/KeyMatrix.h"

namespace keyloom {

struct KeyboardDumpSource {
    DeviceLink& link;
    // The keyboard's default key matrix, as read at connection.
    const KeyMatrix& defaultMatrix;
    // Macro area capacity in bytes (parameter block byte 11 x 128); nothing
    // of the area beyond it is read or trusted.
    std::size_t macroCapacity = 0;
};

// 1 when the file was written. 0 when the active profile is unknown (not
// 0-3), when any read from the keyboard fails (a dump that silently lacked
// the macros would later wipe them from the keyboard), or when the file
// cannot be written (the old file is then intact). Macros without a name get
// the language text "MACRO_NEW_PREFIX" followed by their number.
FileResult dumpKeyboardToFile(const KeyboardDumpSource& source, int activeProfile,
                              const std::string& path);
// The same, handing back in `written` the bytes the file now holds (empty on
// failure), for a caller that loads them without reading the file back.
FileResult dumpKeyboardToFile(const KeyboardDumpSource& source, int activeProfile,
                              const std::string& path, std::vector<std::uint8_t>& written);

// The same two with the default macro name prefix given (tests, callers that
// have the text at hand).
FileResult dumpKeyboardToFile(const KeyboardDumpSource& source, int activeProfile,
                              const std::string& path, std::u16string_view defaultNamePrefix);
FileResult dumpKeyboardToFile(const KeyboardDumpSource& source, int activeProfile,
                              const std::string& path, std::u16string_view defaultNamePrefix,
                              std::vector<std::uint8_t>& written);

// The bytes such a file gets, without writing them (keyloomctl show); 1, or
// 0 when the active profile is unknown or a read from the keyboard fails.
FileResult dumpKeyboardToBytes(const KeyboardDumpSource& source, int activeProfile,
                               std::u16string_view defaultNamePrefix,
                               std::vector<std::uint8_t>& bytes);

}  // namespace keyloom
