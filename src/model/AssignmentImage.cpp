#include "model/AssignmentImage.h"

#include "model/LittleEndian.h"

namespace keyloom {

AssignmentImage::AssignmentImage() {
    header_.rebuild(0, 0);
}

AssignmentImage AssignmentImage::fresh() {
    AssignmentImage image;
    for (std::size_t i = 0; i < kExtraKeyEntryCount; ++i) {
        image.entries_[kFirstExtraKeyEntry + i].parameter = extraKeyDefaultCode(i);
    }
    return image;
}

bool AssignmentImage::parse(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kSize) {
        return false;
    }
    header_ = ImageHeader::parse(bytes);
    for (std::size_t slot = 0; slot < kEntryCount; ++slot) {
        entries_[slot] = KeyAssignment::fromBytes(
            bytes.subspan(kEntriesOffset + slot * KeyAssignment::kSize, KeyAssignment::kSize));
    }
    return true;
}

bool AssignmentImage::serialize(std::span<std::uint8_t> out) const {
    if (out.size() < kSize) {
        return false;
    }
    header_.write(out);
    for (std::size_t i = 0; i < kDescriptor.size(); ++i) {
        le::writeU32(out, kDescriptorOffset + 4 * i, kDescriptor[i]);
    }
    for (std::size_t slot = 0; slot < kEntryCount; ++slot) {
        entries_[slot].toBytes(
            out.subspan(kEntriesOffset + slot * KeyAssignment::kSize, KeyAssignment::kSize));
    }
    return true;
}

std::vector<std::uint8_t> AssignmentImage::toBytes() const {
    std::vector<std::uint8_t> bytes(kSize);
    serialize(bytes);
    return bytes;
}

AssignmentImage::Block AssignmentImage::block(std::size_t block) {
    return Block(entries_.data() + (block % kBlockCount) * kEntriesPerBlock, kEntriesPerBlock);
}

AssignmentImage::ConstBlock AssignmentImage::block(std::size_t block) const {
    return ConstBlock(entries_.data() + (block % kBlockCount) * kEntriesPerBlock, kEntriesPerBlock);
}

}  // namespace keyloom
