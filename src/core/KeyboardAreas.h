#pragma once
// The keyboard's configuration areas as the model's types: the operations the
// sequences of connection, full read and write are made of, each returning a
// protocol result code (1 = success). Transfers go through the DeviceLink,
// whose device lock serialises them; any thread may call these.
//
// The active profile is cached in the connection values: read from the
// parameter block on first demand, updated by setActiveProfile, forgotten when
// the keyboard goes.

#include <array>
#include <cstdint>
#include <span>

#include "device/ConfigReport.h"
#include "device/DeviceLink.h"
#include "model/ConnectionValues.h"
#include "model/KeyMatrix.h"
#include "model/ParameterBlock.h"
#include "model/ProfileRecord.h"

namespace keyloom {

class KeyboardAreas {
public:
    KeyboardAreas(DeviceLink& link, ConnectionValues& values);
    KeyboardAreas(const KeyboardAreas&) = delete;
    KeyboardAreas& operator=(const KeyboardAreas&) = delete;

    DeviceLink& link() { return link_; }
    ConnectionValues& values() { return values_; }
    KeyMatrixModel matrixModel() const;

    DeviceResult begin();
    DeviceResult end();

    DeviceResult readParameterBlock(ParameterBlock& block);

    // The cached active profile; when unknown, read from the parameter block
    // and cached. -1 when it cannot be read.
    int activeProfile();
    // Writes `profile` into the keyboard's parameter block (read, change byte
    // 10, write back). Nothing is sent for a negative number; a number above
    // 2 is refused without sending. On success the cache holds `profile`, on
    // a failed transfer it is forgotten.
    DeviceResult setActiveProfile(int profile);

    DeviceResult readDefaultKeyMatrix(KeyMatrix& matrix);
    // Profile above 2 (or negative): result::BadProfile, nothing sent.
    DeviceResult readKeyMatrix(KeyMatrix& matrix, int profile);
    DeviceResult writeKeyMatrix(const KeyMatrix& matrix, int profile);

    DeviceResult readMacroArea(std::span<std::uint8_t> area);
    DeviceResult writeMacroArea(std::span<const std::uint8_t> area);

    // The three records in three transfers at 0, 42 and 84, each taking the
    // first 42 bytes of the 56 that come back. Stops at the first failure;
    // the records read before it are kept in `records`.
    DeviceResult readProfileRecords(ProfileRecords& records);
    // The 56 bytes at `offset` of the profile-settings area.
    DeviceResult readProfileSettings(std::span<std::uint8_t, kMaxReportData> bytes,
                                     std::uint16_t offset);
    // `data` (at most 56 bytes) at `offset` of the profile-settings area.
    DeviceResult writeProfileSettings(std::span<const std::uint8_t> data, std::uint16_t offset);
    // Key colours at `keyIndex` of the lighting profile's block.
    DeviceResult writeKeyColours(std::span<const std::uint8_t> data, std::uint16_t keyIndex,
                                 int lightingProfile);

private:
    DeviceLink& link_;
    ConnectionValues& values_;
};

}  // namespace keyloom
