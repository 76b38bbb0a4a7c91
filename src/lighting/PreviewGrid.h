#pragma once
// Where the preview's keys sit: the key grid of 6 rows x 23 columns, the
// back-and-forth snake path over the keys and the rings around the I key, all
// given as key slots of the preview's key set (the key view's 105 keys in
// key view order, then the Fn key).

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace keyloom::lighting {

inline constexpr std::size_t kPreviewKeyCount = 106;  // key view keys + Fn
inline constexpr std::size_t kFnSlot = 105;
inline constexpr int kFnControlId = 1174;

inline constexpr std::size_t kGridRows = 6;
inline constexpr std::size_t kGridColumns = 23;
inline constexpr std::size_t kGridCells = kGridRows * kGridColumns;
inline constexpr std::uint8_t kNoSlot = 255;  // an empty grid cell

inline constexpr std::size_t kSnakeLength = 105;
inline constexpr std::size_t kRingCount = 12;  // the last ring holds no key

// The control id of the key at `slot`; 0 for a slot out of range.
int controlIdOfSlot(std::size_t slot);
// The slot of a key's control id; nothing for a control that is no key of
// the preview (the G buttons, for instance).
std::optional<std::size_t> slotOfControlId(int controlId);

// The slot at a grid cell, or kNoSlot for an empty cell (or a cell outside
// the grid).
std::uint8_t gridSlot(std::size_t row, std::size_t column);
// The grid's cells row by row.
std::span<const std::uint8_t, kGridCells> gridSlots();

// The keys of the snake path, first to last.
std::span<const std::uint8_t, kSnakeLength> snakeSlots();

// The keys of ring g (0 is the I key itself, growing outwards); empty for the
// twelfth ring and for g out of range.
std::span<const std::uint8_t> ringSlots(std::size_t ring);

}  // namespace keyloom::lighting
