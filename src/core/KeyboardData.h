#pragma once
// What the keyboard told the program: its default key matrix and parameter
// block (read at connection by the discovery thread), the three profiles'
// lighting records and the lighting profile's decoded state (read by the
// window thread and the keyboard work). Every member copies under one lock,
// which is held only to copy and is taken after the store locks.

#include <array>
#include <mutex>

#include "model/KeyMatrix.h"
#include "model/ParameterBlock.h"
#include "model/ProfileRecord.h"

namespace keyloom {

class KeyboardData {
public:
    KeyMatrix defaultMatrix() const;
    void setDefaultMatrix(const KeyMatrix& matrix);
    ParameterBlock parameterBlock() const;
    void setParameterBlock(const ParameterBlock& block);
    bool supportsPerKeyColours() const;

    ProfileRecords profileRecords() const;
    void setProfileRecords(const ProfileRecords& records);
    LightingState lightingState() const;
    int lightingProfile() const;
    // 0-2; other values are ignored.
    void setLightingProfile(int profile);
    // Decodes the lighting profile's record into the lighting state.
    void decodeLightingProfile();
    // Sets the lighting profile's report-rate step in its record and state;
    // returns that profile.
    int setReportRate(std::uint8_t step);

private:
    mutable std::mutex mutex_;
    KeyMatrix defaultMatrix_;
    ParameterBlock parameters_;
    ProfileRecords records_{};
    LightingState lighting_;
    int lightingProfile_ = 0;
};

}  // namespace keyloom
