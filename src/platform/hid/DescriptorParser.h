#pragma once
// Builds the field layout of every top-level application collection from the
// raw bytes of a report descriptor.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/hid/CollectionModel.h"

namespace keyloom::hid {

// Appends one model per top-level application collection, in descriptor
// order. False (and nothing appended) for a malformed descriptor: a truncated
// item, unbalanced collections or push/pop, a report id of 0, or sizes beyond
// the bounds of CollectionModel.h.
bool parseCollectionModels(std::span<const std::uint8_t> bytes,
                           std::vector<std::shared_ptr<const CollectionModel>>& models);

}  // namespace keyloom::hid
