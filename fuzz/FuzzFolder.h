#pragma once
// A private folder for fuzz targets that must read their input from a file,
// made once per process and emptied for every input.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace keyloom::fuzzing {

class FuzzFolder {
public:
    FuzzFolder() {
        // Memory-backed when there is such a folder: every input is a file.
        std::error_code error;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::string pattern = (base / "keyloom-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            path_ = pattern;
    }
    ~FuzzFolder() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    FuzzFolder(const FuzzFolder&) = delete;
    FuzzFolder& operator=(const FuzzFolder&) = delete;

    bool usable() const { return !path_.empty(); }
    // The folder's path with a trailing '/'.
    std::string folder() const { return path_ + "/"; }

    // Removes whatever the last input left and writes `bytes` as `name`.
    std::string write(const std::string& name, const std::uint8_t* bytes, std::size_t size) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(path_, error))
            std::filesystem::remove_all(entry.path(), error);
        const std::string file = folder() + name;
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));
        return file;
    }

private:
    std::string path_;
};

}  // namespace keyloom::fuzzing
