#pragma once
// The per-user registry, kept in one ini-style file (see RegistryFormat.h).
// Key paths are relative to HKEY_CURRENT_USER ("Software\ORVK_Keyboard");
// key paths and value names match without regard to case. Values keep their
// type, so "missing" and "present but not a DWORD" stay apart.
//
// A file that cannot be parsed reads as empty. It is not lost: the first
// write keeps it beside the file as "<file>.damaged-<n>" and then starts a
// fresh file. Every write replaces the file atomically. Thread-safe.

#include <cstdint>
#include <string>
#include <string_view>

namespace keyloom::registry {

enum class ValueState { Present, Missing, WrongType };

class Registry {
public:
    explicit Registry(std::string filePath);

    const std::string& filePath() const { return filePath_; }

    ValueState readDword(std::string_view keyPath, std::string_view name,
                         std::uint32_t& value) const;
    ValueState readString(std::string_view keyPath, std::string_view name,
                          std::string& value) const;

    // The folder of the file is created when missing. False when the value
    // could not be stored.
    bool writeDword(std::string_view keyPath, std::string_view name, std::uint32_t value);
    bool writeString(std::string_view keyPath, std::string_view name, std::string_view value);
    bool removeValue(std::string_view keyPath, std::string_view name);

    // True when the file exists but cannot be parsed or read.
    bool isDamaged() const;

private:
    bool store(std::string_view keyPath, std::string_view name, const std::string& encoded);

    std::string filePath_;
};

}  // namespace keyloom::registry
