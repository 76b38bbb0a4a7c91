#pragma once
// The two requests one Keyloom process sends the running instance, and how
// they travel over the instance socket: the main window's message number and
// the four-character word of its first parameter, each a 32-bit little-endian
// number, 8 bytes in all. The answer is the window's 32-bit result (0).

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace keyloom::instance {

enum class InstanceRequest { Open, Kill };

inline constexpr std::uint32_t kOpenMessage = 0x5350;
inline constexpr std::uint32_t kOpenWord = 0x4F50454E;  // "OPEN"
inline constexpr std::uint32_t kKillMessage = 0x4D4B;
inline constexpr std::uint32_t kKillWord = 0x4C4C494B;  // "KILL"

inline constexpr std::size_t kRequestBytes = 8;
inline constexpr std::size_t kAnswerBytes = 4;

struct RequestWords {
    std::uint32_t message = 0;
    std::uint32_t word = 0;
};

RequestWords wordsOf(InstanceRequest request);
// Only the exact pairs above are requests; anything else is none.
std::optional<InstanceRequest> requestOf(const RequestWords& words);

std::array<std::uint8_t, kRequestBytes> encodeRequest(const RequestWords& words);
// `bytes` must hold exactly kRequestBytes.
std::optional<RequestWords> decodeRequest(std::span<const std::uint8_t> bytes);

std::array<std::uint8_t, kAnswerBytes> encodeAnswer(std::uint32_t result);
std::uint32_t decodeAnswer(const std::array<std::uint8_t, kAnswerBytes>& bytes);

const char* requestName(InstanceRequest request);

}  // namespace keyloom::instance
