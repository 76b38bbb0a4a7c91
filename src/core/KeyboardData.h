#pragma once
// What the keyboard told the program about itself: its default key matrix
// and parameter block, read at connection and at every full read. (Its
// lighting is held by the LightingService.) Every member copies under one
// lock, which is held only to copy and is taken after the store locks.

#include <mutex>

#include "model/KeyMatrix.h"
#include "model/ParameterBlock.h"

namespace keyloom {

class KeyboardData {
public:
    KeyMatrix defaultMatrix() const;
    void setDefaultMatrix(const KeyMatrix& matrix);
    ParameterBlock parameterBlock() const;
    void setParameterBlock(const ParameterBlock& block);
    bool supportsPerKeyColours() const;

private:
    mutable std::mutex mutex_;
    KeyMatrix defaultMatrix_;
    ParameterBlock parameters_;
};

}  // namespace keyloom
