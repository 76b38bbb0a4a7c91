#pragma once
// Misbehaviour the simulated keyboard can be told to show. Counts say how many
// of the coming requests a fault applies to; kAlways keeps it until clear().

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace keyloom::sim {

class SimFaults {
public:
    static constexpr int kAlways = -1;

    // The next `count` requests are lost: not carried out, not answered.
    void dropRequests(int count = 1) { drops_ = count; }
    // The next `count` replies leave `delayMs` after their request (and never
    // before the previous reply: the keyboard answers in order).
    void delayReplies(std::uint32_t delayMs, int count = kAlways);
    // The next `count` requests, whatever their command, are refused with
    // `status` (0xFF or 0xFE) without being carried out.
    void refuseNext(std::uint8_t status, int count = 1);
    // Requests with this command are refused with `status`, `count` times.
    void refuseCommand(std::uint8_t command, std::uint8_t status, int count = kAlways);
    // The next `count` requests with this (write) command are answered as
    // carried out, but the first data byte is stored inverted.
    void corruptStores(std::uint8_t command, int count = 1);
    void clear();

    // Used by the firmware once per request, in this order.
    bool takeDrop();
    std::optional<std::uint8_t> takeRefusal(std::uint8_t command);
    std::uint32_t takeDelay();
    // Alters the request data a write stores when a corruption is due.
    void takeCorruption(std::uint8_t command, std::span<std::uint8_t> data);

private:
    static bool take(int& count);

    int drops_ = 0;
    std::uint32_t delayMs_ = 0;
    int delays_ = 0;
    std::uint8_t nextStatus_ = 0;
    int nextRefusals_ = 0;
    std::array<std::uint8_t, 256> commandStatus_{};
    std::array<int, 256> commandRefusals_{};
    std::array<int, 256> commandCorruptions_{};
};

}  // namespace keyloom::sim
