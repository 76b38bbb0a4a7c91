#pragma once
// A fresh folder under the system's temporary folder, removed with everything
// in it when the test ends.

#include <string>

namespace keyloom::testing {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // path() + "/" + name
    std::string file(const std::string& name) const;
    // Writes `content` to file(name), creating parent folders; returns the path.
    std::string write(const std::string& name, const std::string& content) const;
    std::string read(const std::string& name) const;

private:
    std::string path_;
};

}  // namespace keyloom::testing
