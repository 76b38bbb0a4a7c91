#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/ini/Ini.h"
#include "platform/ini/IniCache.h"
#include "support/TempDir.h"

namespace keyloom::ini {
namespace {

using keyloom::testing::TempDir;

// Rewrites the file in place (same inode) and gives it the modification time
// `seconds` since the epoch, so the change hides behind an old timestamp
// unless the cache checks more than the time.
void overwriteInPlace(const std::string& path, const std::string& content, long seconds) {
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << content;
    }
    timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST(IniCache, ChangeOnDiskIsSeenByTheNextRead) {
    TempDir dir;
    auto path = dir.write("a.ini", "[T]\nk=one\n");
    EXPECT_EQ(readString(path, "T", "k", ""), "one");
    dir.write("a.ini", "[T]\nk=two\n");  // same size, same inode, within the same tick
    EXPECT_EQ(readString(path, "T", "k", ""), "two");
    dir.write("a.ini", "[T]\nk=three\n");
    EXPECT_EQ(readString(path, "T", "k", ""), "three");
    ::unlink(path.c_str());
    EXPECT_EQ(readString(path, "T", "k", "gone"), "gone");
}

TEST(IniCache, OldFileChangedWithSameSizeAndNewTimeIsSeen) {
    TempDir dir;
    auto path = dir.write("a.ini", "");
    overwriteInPlace(path, "[T]\nk=one\n", 1000000000);
    EXPECT_EQ(readString(path, "T", "k", ""), "one");
    overwriteInPlace(path, "[T]\nk=two\n", 1000000001);
    EXPECT_EQ(readString(path, "T", "k", ""), "two");
}

TEST(IniCache, UnchangedFileSharesOneParsedDocument) {
    TempDir dir;
    auto path = dir.write("a.ini", "");
    overwriteInPlace(path, "[T]\nk=one\n", 1000000000);
    LoadedFile first = loadFile(path);
    LoadedFile second = loadFile(path);
    EXPECT_EQ(first.state, FileState::Loaded);
    EXPECT_EQ(first.document.get(), second.document.get());
    EXPECT_EQ(loadFile(dir.file("missing.ini")).state, FileState::Missing);
}

TEST(IniCache, ConcurrentReadersAndWritersSeeWholeValues) {
    TempDir dir;
    auto path = dir.write("a.ini", "[T]\nk=0\n");
    std::atomic<bool> bad{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 300; ++i) {
                std::string v = readString(path, "T", "k", "missing");
                if (v.empty() || v == "missing")
                    bad = true;
            }
        });
    }
    threads.emplace_back([&] {
        for (int i = 0; i < 40; ++i) {
            if (!writeString(path, "T", "k", std::to_string(i * 1000)))
                bad = true;
            if (!writeString(path, "T", "n" + std::to_string(i % 7), "x"))
                bad = true;
        }
    });
    for (auto& thread : threads)
        thread.join();
    EXPECT_FALSE(bad);
    EXPECT_EQ(readString(path, "T", "k", ""), "39000");
}

}  // namespace
}  // namespace keyloom::ini
