#pragma once
// One frame of the lighting preview: a colour for every preview key, in key
// view order with the Fn key last, and the keys whose colour changed between
// two frames (the window repaints only those).

#include <array>
#include <cstddef>
#include <span>

#include "lighting/PreviewGrid.h"
#include "model/KeyColourMap.h"

namespace keyloom::lighting {

struct PreviewFrame {
    std::array<Rgb, kPreviewKeyCount> colours{};

    // The colour of a key by its control id; black for a control that is no
    // preview key.
    Rgb colourOf(int controlId) const;

    void clear() { colours.fill(Rgb{}); }

    friend bool operator==(const PreviewFrame&, const PreviewFrame&) = default;
};

// Control ids of the keys that differ between two frames, in key order.
class ChangedKeys {
public:
    std::span<const int> controlIds() const { return std::span(ids_).first(count_); }
    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }

    friend ChangedKeys changedKeys(const PreviewFrame& before, const PreviewFrame& after);

private:
    std::array<int, kPreviewKeyCount> ids_{};
    std::size_t count_ = 0;
};

ChangedKeys changedKeys(const PreviewFrame& before, const PreviewFrame& after);

}  // namespace keyloom::lighting
