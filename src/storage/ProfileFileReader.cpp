#include "storage/ProfileFileReader.h"

#include <filesystem>

namespace keyloom {

ProfileFileReader::OpenResult ProfileFileReader::open(const std::string& path,
                                                      std::uint64_t minimumSize,
                                                      std::uint64_t sizeLimit) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error || !std::filesystem::is_regular_file(status))
        return OpenResult::Unusable;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size < minimumSize || size >= sizeLimit)
        return OpenResult::Unusable;
    file_.open(path, std::ios::binary);
    if (!file_)
        return OpenResult::CannotOpen;
    size_ = size;
    return OpenResult::Ok;
}

std::optional<std::span<const std::uint8_t>> ProfileFileReader::read(std::uint64_t offset,
                                                                     std::size_t length) {
    if (!file_.is_open() || offset > size_ || length > size_ - offset)
        return std::nullopt;
    if (buffer_.size() < length)
        buffer_.resize(length);
    file_.clear();
    file_.seekg(static_cast<std::streamoff>(offset));
    file_.read(reinterpret_cast<char*>(buffer_.data()), static_cast<std::streamsize>(length));
    // A file cut short since it was opened reads as unreadable.
    if (static_cast<std::size_t>(file_.gcount()) != length)
        return std::nullopt;
    return std::span<const std::uint8_t>(buffer_).first(length);
}

}  // namespace keyloom
