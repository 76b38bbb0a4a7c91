#include "core/KeyboardAreas.h"

#include "device/ConfigReport.h"
#include "device/ProtocolResult.h"

namespace keyloom {

KeyboardAreas::KeyboardAreas(DeviceLink& link, ConnectionValues& values)
    : link_(link), values_(values) {}

KeyMatrixModel KeyboardAreas::matrixModel() const {
    const ModelValues& model = link_.modelValues();
    return {model.keyMatrixLength.load(), model.keyMatrixStride.load()};
}

DeviceResult KeyboardAreas::begin() {
    return link_.BeginTransfer();
}

DeviceResult KeyboardAreas::end() {
    return link_.EndTransfer();
}

DeviceResult KeyboardAreas::readParameterBlock(ParameterBlock& block) {
    std::array<std::uint8_t, kParameterBlockSize> bytes{};
    const DeviceResult code = link_.ReadParameterBlock(bytes);
    if (code == result::Success)
        block.assign(bytes);
    return code;
}

int KeyboardAreas::activeProfile() {
    const int cached = values_.activeProfile.load();
    if (cached != ConnectionValues::kUnknownProfile)
        return cached;
    ParameterBlock block;
    if (readParameterBlock(block) != result::Success)
        return ConnectionValues::kUnknownProfile;
    const int active = block.activeProfile();
    values_.activeProfile = active;
    return active;
}

DeviceResult KeyboardAreas::setActiveProfile(int profile) {
    if (profile < 0)
        return result::NotWritten;
    // A number the keyboard does not have would end up in its parameter block.
    if (profile >= kProfileCount)
        return result::BadProfile;
    ParameterBlock block;
    DeviceResult code = readParameterBlock(block);
    if (code == result::Success) {
        block.setActiveProfile(static_cast<std::uint8_t>(profile));
        code = link_.WriteParameterBlock(block.bytes);
    }
    values_.activeProfile = code == result::Success ? profile : ConnectionValues::kUnknownProfile;
    return code;
}

DeviceResult KeyboardAreas::readDefaultKeyMatrix(KeyMatrix& matrix) {
    return link_.ReadDefaultKeyMatrix(matrix.bytes);
}

DeviceResult KeyboardAreas::readKeyMatrix(KeyMatrix& matrix, int profile) {
    return link_.ReadKeyMatrix(matrix.bytes, profile);
}

DeviceResult KeyboardAreas::writeKeyMatrix(const KeyMatrix& matrix, int profile) {
    return link_.WriteKeyMatrix(matrix.bytes, profile);
}

DeviceResult KeyboardAreas::readMacroArea(std::span<std::uint8_t> area) {
    return link_.ReadMacroArea(area);
}

DeviceResult KeyboardAreas::writeMacroArea(std::span<const std::uint8_t> area) {
    return link_.WriteMacroArea(area);
}

DeviceResult KeyboardAreas::readProfileRecords(ProfileRecords& records) {
    for (std::size_t p = 0; p < records.size(); ++p) {
        std::array<std::uint8_t, kMaxReportData> reply{};
        const DeviceResult code =
            readProfileSettings(reply, static_cast<std::uint16_t>(p * ProfileRecord::kSize));
        if (code != result::Success)
            return code;
        records[p].assign(reply);
    }
    return result::Success;
}

DeviceResult KeyboardAreas::readProfileSettings(std::span<std::uint8_t, kMaxReportData> bytes,
                                                std::uint16_t offset) {
    return link_.ReadProfileSettings(bytes, kMaxReportData, offset);
}

DeviceResult KeyboardAreas::writeProfileSettings(std::span<const std::uint8_t> data,
                                                 std::uint16_t offset) {
    if (data.size() > kMaxReportData)
        return result::NotWritten;
    return link_.WriteProfileSettings(data, offset);
}

DeviceResult KeyboardAreas::writeKeyColours(std::span<const std::uint8_t> data,
                                            std::uint16_t keyIndex, int lightingProfile) {
    if (data.size() > kMaxReportData || lightingProfile >= kProfileCount)
        return result::NotWritten;
    return link_.WriteKeyColours(data, keyIndex, lightingProfile);
}

}  // namespace keyloom
