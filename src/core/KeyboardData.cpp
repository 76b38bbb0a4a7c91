#include "core/KeyboardData.h"

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

}  // namespace keyloom
