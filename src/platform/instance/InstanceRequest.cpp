#include "platform/instance/InstanceRequest.h"

namespace keyloom::instance {

namespace {

void putLe32(std::uint8_t* out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t getLe32(const std::uint8_t* in) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | in[i];
    return value;
}

}  // namespace

RequestWords wordsOf(InstanceRequest request) {
    if (request == InstanceRequest::Open)
        return {kOpenMessage, kOpenWord};
    return {kKillMessage, kKillWord};
}

std::optional<InstanceRequest> requestOf(const RequestWords& words) {
    if (words.message == kOpenMessage && words.word == kOpenWord)
        return InstanceRequest::Open;
    if (words.message == kKillMessage && words.word == kKillWord)
        return InstanceRequest::Kill;
    return std::nullopt;
}

std::array<std::uint8_t, kRequestBytes> encodeRequest(const RequestWords& words) {
    std::array<std::uint8_t, kRequestBytes> bytes{};
    putLe32(bytes.data(), words.message);
    putLe32(bytes.data() + 4, words.word);
    return bytes;
}

std::optional<RequestWords> decodeRequest(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != kRequestBytes)
        return std::nullopt;
    return RequestWords{getLe32(bytes.data()), getLe32(bytes.data() + 4)};
}

std::array<std::uint8_t, kAnswerBytes> encodeAnswer(std::uint32_t result) {
    std::array<std::uint8_t, kAnswerBytes> bytes{};
    putLe32(bytes.data(), result);
    return bytes;
}

std::uint32_t decodeAnswer(const std::array<std::uint8_t, kAnswerBytes>& bytes) {
    return getLe32(bytes.data());
}

const char* requestName(InstanceRequest request) {
    return request == InstanceRequest::Open ? "OPEN" : "KILL";
}

}  // namespace keyloom::instance
