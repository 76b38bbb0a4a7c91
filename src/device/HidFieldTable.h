#pragma once
// Building and decoding the field table of one report type of a collection.

#include <cstdint>
#include <span>
#include <vector>

#include "device/HidField.h"
#include "platform/hid/ReportDescriptor.h"

namespace keyloom {

// Hostile descriptors can declare value ranges of 65536 usages per
// capability; the table never grows past this many fields.
inline constexpr std::size_t kMaxHidFields = 65536;

// One button field per button capability (in the descriptor's order), then
// one value field per usage of each value capability.
std::vector<HidField> buildFieldTable(const hid::CollectionDescriptor& descriptor,
                                      hid::ReportType type);

// Decodes `report` (report id in byte 0) into every field of `fields` with
// that report id; other fields keep their contents. False when the report is
// empty or a value field could not be read.
bool decodeReport(std::span<const std::uint8_t> report, hid::ReportType type,
                  std::span<HidField> fields, const hid::CollectionDescriptor& descriptor);

}  // namespace keyloom
