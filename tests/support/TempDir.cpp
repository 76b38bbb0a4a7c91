#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace keyloom::testing {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "keyloom-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        ADD_FAILURE() << "cannot create a temporary folder";
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string TempDir::file(const std::string& name) const {
    return path_ + "/" + name;
}

std::string TempDir::write(const std::string& name, const std::string& content) const {
    std::string target = file(name);
    std::filesystem::create_directories(std::filesystem::path(target).parent_path());
    std::ofstream out(target, std::ios::binary);
    out << content;
    return target;
}

std::string TempDir::read(const std::string& name) const {
    std::ifstream in(file(name), std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

}  // namespace keyloom::testing
