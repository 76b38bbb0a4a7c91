#include "core/KeyboardData.h"

#include "device/DeviceLink.h"

namespace keyloom {

KeyMatrix KeyboardData::defaultMatrix() const {
    std::lock_guard lock(mutex_);
    return defaultMatrix_;
}

void KeyboardData::setDefaultMatrix(const KeyMatrix& matrix) {
    std::lock_guard lock(mutex_);
    defaultMatrix_ = matrix;
}

ParameterBlock KeyboardData::parameterBlock() const {
    std::lock_guard lock(mutex_);
    return parameters_;
}

void KeyboardData::setParameterBlock(const ParameterBlock& block) {
    std::lock_guard lock(mutex_);
    parameters_ = block;
}

bool KeyboardData::supportsPerKeyColours() const {
    std::lock_guard lock(mutex_);
    return parameters_.supportsPerKeyColours();
}

ProfileRecords KeyboardData::profileRecords() const {
    std::lock_guard lock(mutex_);
    return records_;
}

void KeyboardData::setProfileRecords(const ProfileRecords& records) {
    std::lock_guard lock(mutex_);
    records_ = records;
}

LightingState KeyboardData::lightingState() const {
    std::lock_guard lock(mutex_);
    return lighting_;
}

int KeyboardData::lightingProfile() const {
    std::lock_guard lock(mutex_);
    return lightingProfile_;
}

void KeyboardData::setLightingProfile(int profile) {
    if (profile < 0 || profile >= kProfileCount)
        return;
    std::lock_guard lock(mutex_);
    lightingProfile_ = profile;
}

void KeyboardData::decodeLightingProfile() {
    std::lock_guard lock(mutex_);
    decodeLightingState(records_[static_cast<std::size_t>(lightingProfile_)], lighting_);
}

int KeyboardData::setReportRate(std::uint8_t step) {
    std::lock_guard lock(mutex_);
    lighting_.reportRate = step;
    records_[static_cast<std::size_t>(lightingProfile_)].bytes[ProfileRecord::kReportRate] = step;
    return lightingProfile_;
}

}  // namespace keyloom
