#pragma once
// Reading the keyboard into the program: the connection change (discovery
// thread), the full read after a connection, and the lighting records.

#include "core/CoreParts.h"
#include "core/SlotFileSync.h"

namespace keyloom {

class ConnectionSequence {
public:
    ConnectionSequence(CoreParts parts, SlotFileSync& slot) : parts_(parts), slot_(slot) {}

    // Discovery thread: the keyboard came (1) or went (0).
    void connectionChanged(int connected);
    // Working store from the keyboard, profile buttons, lighting state.
    void fullRead();
    // Parameter block and the three lighting records (begun and ended), the
    // lighting profile's record decoded. False when the block could not be read.
    bool readLightingRecords();
    // Timer 1051: the keyboard changed its lighting.
    void lightingRefresh();
    // The report-rate buttons follow the lighting profile's stored step.
    void showReportRate();

private:
    // The three records after a begin (ended here), decoded when complete.
    void readRecords(const ParameterBlock& block);

    CoreParts parts_;
    SlotFileSync& slot_;
};

}  // namespace keyloom
