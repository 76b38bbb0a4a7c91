#pragma once
// Points XDG_RUNTIME_DIR (the cross-process device lock files) at a private
// folder for as long as the object lives, then restores it.

#include <cstdlib>
#include <optional>
#include <string>

#include "support/TempDir.h"

namespace keyloom::testing {

class RuntimeFolder {
public:
    RuntimeFolder() {
        if (const char* old = std::getenv("XDG_RUNTIME_DIR"))
            old_ = old;
        ::setenv("XDG_RUNTIME_DIR", dir_.path().c_str(), 1);
    }
    ~RuntimeFolder() {
        if (old_)
            ::setenv("XDG_RUNTIME_DIR", old_->c_str(), 1);
        else
            ::unsetenv("XDG_RUNTIME_DIR");
    }
    RuntimeFolder(const RuntimeFolder&) = delete;
    RuntimeFolder& operator=(const RuntimeFolder&) = delete;

    const TempDir& dir() const { return dir_; }

private:
    TempDir dir_;
    std::optional<std::string> old_;
};

}  // namespace keyloom::testing
