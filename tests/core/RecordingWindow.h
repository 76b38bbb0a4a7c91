#pragma once
// The headless window with a record of everything the core asked of it:
// message boxes, view and lighting hooks, the modified state it was told and
// the profile button shown; editor dialogs can be made to look open.

#include <string>
#include <vector>

#include "core/window/HeadlessWindow.h"
#include "support/RecordingDispatch.h"

namespace keyloom::testing {

class RecordingWindow : public RecordingDispatch<window::HeadlessWindow> {
public:
    window::MessageAnswer showMessage(const window::MessageRequest& request) override {
        {
            std::lock_guard lock(recordMutex_);
            messages_.push_back(request);
        }
        return HeadlessWindow::showMessage(request);
    }
    std::vector<window::MessageRequest> messagesShown() const { return copy(messages_); }
    std::vector<std::string> messageKeysShown() const {
        std::vector<std::string> keys;
        for (const window::MessageRequest& request : messagesShown())
            keys.push_back(request.key);
        return keys;
    }

    void modifiedChanged(bool modified) override {
        {
            std::lock_guard lock(recordMutex_);
            modified_ = modified;
        }
        record(modified ? "setModified 1" : "setModified 0");
    }
    // What the window's Apply button would show.
    bool isModified() const {
        std::lock_guard lock(recordMutex_);
        return modified_;
    }
    void redrawKeyView() override { record("redrawKeyView"); }
    void setProfileButtons(int activeProfile) override {
        {
            std::lock_guard lock(recordMutex_);
            if (activeProfile >= 0 && activeProfile <= 2)
                selectedProfileButton_ = activeProfile;
        }
        record("setProfileButtons " + std::to_string(activeProfile));
    }
    // Which profile button shows selected (-1 before the first set).
    int selectedProfileButton() const {
        std::lock_guard lock(recordMutex_);
        return selectedProfileButton_;
    }
    // Kept apart from calls(): the report-rate buttons follow every read.
    void setReportRateButtons(int step) override {
        std::lock_guard lock(recordMutex_);
        reportRateButton_ = step;
    }
    // Which report-rate button shows selected (-1 before the first set).
    int selectedReportRateButton() const {
        std::lock_guard lock(recordMutex_);
        return reportRateButton_;
    }
    void keyToggleModeOff() override { record("keyToggleModeOff"); }
    void profileMenuChanged() override { record("profileMenuChanged"); }
    void busyIndicatorOn() override { record("busyIndicatorOn"); }
    void busyIndicatorOff() override { record("busyIndicatorOff"); }

    void profileManagerSelectRow(int profile) override {
        record("profileManagerSelectRow " + std::to_string(profile));
    }

    void lightingChanged() override { record("lightingChanged"); }

    void clearRecords() override {
        RecordingDispatch::clearRecords();
        std::lock_guard lock(recordMutex_);
        messages_.clear();
    }

private:
    std::vector<window::MessageRequest> messages_;
    bool modified_ = false;
    int selectedProfileButton_ = -1;
    int reportRateButton_ = -1;
};

}  // namespace keyloom::testing
