// Profile files as JSON: export then import gives the same bytes for every
// valid file (ordinary, doctored and from a corpus), the fields mean what
// they say, and a broken JSON form is refused with its place named.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "ProfileTestSupport.h"
#include "model/AssignmentImage.h"
#include "model/LittleEndian.h"
#include "storage/ProfileFile.h"
#include "storage/ProfileJson.h"

namespace keyloom {
namespace {

using testing::Bytes;
using testing::sampleMacro;

constexpr std::size_t kImage = AssignmentImage::kSize;
constexpr std::size_t kRecord = MacroRecord::kSize;

Bytes bytesOf(StoreContents store) {
    Bytes bytes;
    EXPECT_TRUE(buildProfileBytes(store, bytes));
    return bytes;
}

// A store using every kind of action, texts and macros.
StoreContents sampleStore() {
    StoreContents store;
    auto entries = store.image->entries();
    entries[0x1E] = {AssignmentKind::Key, 0, 0x1D};
    entries[0x1F] = {AssignmentKind::Key, 0, 0x14B};
    entries[0x10] = {AssignmentKind::Disabled, 0, 0};
    entries[256] = {AssignmentKind::Macro, 3, 2};
    entries[512 + 2] = {AssignmentKind::Media, 0, 17};
    entries[512 + 3] = {AssignmentKind::Function, 0, 10};
    entries[512 + 4] = {AssignmentKind::StopMacro, 0, 0};
    entries[1024 + 5] = {AssignmentKind::LaunchProgram, 0, 0};
    entries[1024 + 6] = {AssignmentKind::TextBlock, 0, 0};
    entries[1536 + 7] = {AssignmentKind::Key, 0, 0x02, 1, 0};
    store.texts.setText(1024 + 5, u"/usr/bin/gimp --new");
    store.texts.setText(1024 + 6, u"Grüße, 你好");
    store.macros.push_back(sampleMacro(2, u"Greeting", 6));
    store.macros.push_back(sampleMacro(7, u"Ünïcode 宏", 0));
    return store;
}

using Doctor = std::function<void(Bytes&)>;

struct DoctoredFile {
    const char* name;
    Doctor doctor;
};

// Valid files the fields alone cannot express: they come back through the
// size and the patches.
const DoctoredFile kDoctoredFiles[] = {
    {"plain", [](Bytes&) {}},
    {"trailing bytes",
     [](Bytes& b) {
         b.insert(b.end(), {1, 2, 3});
     }},
    {"descriptor block", [](Bytes& b) { b[40] = 0x77; }},
    {"header flag and reserved fields",
     [](Bytes& b) {
         b[30] = 1;
         testing::setU32(b, 20, 0xDEADBEEF);
     }},
    {"unknown kind", [](Bytes& b) { le::writeU16(b, 64 + 16 * 50, 42); }},
    {"lone surrogate in a name", [](Bytes& b) { le::writeU16(b, kImage, 0xD800); }},
    {"bytes after a name's terminator", [](Bytes& b) { b[kImage + 300] = 9; }},
    {"odd event state", [](Bytes& b) { le::writeU16(b, kImage + 512 + 6, 7); }},
    {"duplicate macro numbers", [](Bytes& b) { le::writeU16(b, kImage + kRecord + 506, 2); }},
    {"macro number zero", [](Bytes& b) { le::writeU16(b, kImage + 506, 0); }},
    {"stale text offset",
     [](Bytes& b) {
         // A Launch entry without text whose offset points at the start of the pool.
         le::writeU16(b, 64 + 16 * 60, 3);
         le::writeU32(b, 64 + 16 * 60 + 4, 0);
     }},
    {"a pool text without its terminator",
     [](Bytes& b) {
         b.back() = 0;
         b[b.size() - 2] = 0x41;
     }},
};

TEST(ProfileJson, ExportThenImportGivesTheSameBytes) {
    for (const auto& file : kDoctoredFiles) {
        SCOPED_TRACE(file.name);
        Bytes original = bytesOf(sampleStore());
        file.doctor(original);
        ASSERT_EQ(checkProfileBytes(original), ProfileFileFault::None);
        std::string json;
        std::string error;
        ASSERT_TRUE(profileBytesToJson(original, json, error)) << error;
        Bytes back;
        ASSERT_TRUE(profileJsonToBytes(json, back, error)) << error;
        EXPECT_EQ(back, original);
        if (std::string(file.name) == "plain") {
            EXPECT_EQ(json.find("patches"), std::string::npos) << json;
        }
    }
}

// Profile files of a corpus, one file each: every one that validates must
// come back unchanged. The fuzz target's seeds, or the folder named by
// KEYLOOM_PROFILE_CORPUS (the inputs a fuzz run found).
TEST(ProfileJson, EveryValidCorpusFileRoundTrips) {
    const char* named = std::getenv("KEYLOOM_PROFILE_CORPUS");
    const std::string corpus =
        named ? named : std::string(KEYLOOM_SOURCE_DIR) + "/fuzz/corpus/profile_file";
    ASSERT_TRUE(std::filesystem::is_directory(corpus)) << corpus;
    int checked = 0;
    for (const auto& item : std::filesystem::directory_iterator(corpus)) {
        const Bytes original = testing::readBytes(item.path().string());
        if (checkProfileBytes(original) != ProfileFileFault::None)
            continue;
        SCOPED_TRACE(item.path().string());
        std::string json;
        std::string error;
        Bytes back;
        ASSERT_TRUE(profileBytesToJson(original, json, error)) << error;
        ASSERT_TRUE(profileJsonToBytes(json, back, error)) << error;
        EXPECT_EQ(back, original);
        ++checked;
    }
    std::printf("[ corpus   ] %d valid profile files of %s round-tripped\n", checked,
                corpus.c_str());
    EXPECT_GT(checked, 0);
}

constexpr const char* kHandWritten = R"({
  "format": "keyloom-profile", "version": 1,
  "header": {"flag": 0, "reserved20": 0, "reserved24": 0, "reserved28": 0},
  "profiles": [
    {"profile": 1, "keys": [{"key": "A", "action": "key:Esc"},
                            {"key": "G2 bank 2", "action": "macro:5:3"},
                            {"key": "Num +", "action": "text", "text": "hi"}]},
    {"profile": 2, "keys": [{"key": "#300", "action": "media:2"}]},
    {"profile": 3, "keys": []},
    {"profile": 4, "keys": []}],
  "macros": [{"number": 5, "name": "M", "playCount": 1,
              "events": ["Num -+10", "Num --20", "0x0FF+0"]}]
})";

TEST(ProfileJson, AHandWrittenFormMeansWhatItSays) {
    Bytes bytes;
    std::string error;
    ASSERT_TRUE(profileJsonToBytes(kHandWritten, bytes, error)) << error;
    StoreContents store;
    ASSERT_EQ(loadProfileBytes(bytes, store), FileResult::Ok);
    const auto entries = store.image->entries();
    EXPECT_EQ(entries[0x1E], (KeyAssignment{AssignmentKind::Key, 0, 0x01}));
    EXPECT_EQ(entries[256 + 9 + 1], (KeyAssignment{AssignmentKind::Macro, 3, 5}));
    EXPECT_EQ(entries[0x4E].kind, AssignmentKind::TextBlock);
    EXPECT_EQ(store.texts.text(0x4E), std::u16string_view(u"hi"));
    EXPECT_EQ(entries[512 + 300], (KeyAssignment{AssignmentKind::Media, 0, 1}));
    // Block 0's other extra keys keep their fixed codes.
    EXPECT_EQ(entries[256].parameter, 0x0301);
    ASSERT_EQ(store.macros.size(), 1u);
    const std::vector<MacroAction> events{{10, 0x4A, 0}, {20, 0x4A, 1}, {0, 0xFF, 0}};
    EXPECT_EQ(store.macros[0].actions, events);
}

// The words exports write, and the forms earlier exports wrote, which must
// keep reading as the same entry.
TEST(ProfileJson, KeysAndActionsUseOneSetOfNamesAndEarlierFormsStillImport) {
    StoreContents store;
    store.image->entries()[0x1E] = {AssignmentKind::Key, 0, 0x1D};
    store.image->entries()[0x30] = {AssignmentKind::Media, 0, 6};
    std::string json;
    std::string error;
    ASSERT_TRUE(profileBytesToJson(bytesOf(store), json, error)) << error;
    EXPECT_NE(json.find("\"key:Left Ctrl\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"media:Volume Up\""), std::string::npos) << json;

    const std::pair<const char*, const char*> same[] = {
        {"key:Esc", "key:0x001"},
        {"media:2", "media:Play/Pause"},
        {"macro:5", "macro:5:0"},
    };
    for (const auto& [now, before] : same) {
        SCOPED_TRACE(before);
        Bytes a;
        Bytes b;
        std::string form = kHandWritten;
        form.replace(form.find("key:Esc"), 7, now);
        ASSERT_TRUE(profileJsonToBytes(form, a, error)) << error;
        form = kHandWritten;
        form.replace(form.find("key:Esc"), 7, before);
        ASSERT_TRUE(profileJsonToBytes(form, b, error)) << error;
        EXPECT_EQ(a, b);
    }
    // A G key's fixed code, which earlier exports wrote as its macro count.
    std::string gKey = kHandWritten;
    gKey.replace(gKey.find("macro:5:3"), 9, "macro:5:4866");
    Bytes bytes;
    EXPECT_TRUE(profileJsonToBytes(gKey, bytes, error)) << error;
}

struct BrokenForm {
    const char* find;
    const char* replace;
    const char* message;
};

const BrokenForm kBrokenForms[] = {
    {R"("version": 1,)", R"("version": 1,,)", "line 2, column 45"},
    {R"("flag": 0)", R"("flag": "0")", "/header/flag: expected a whole number"},
    {R"("flag": 0)", R"("flag": 2)", "/header/flag: expected a whole number 0-1"},
    {R"("key": "A")", R"("key": "Hyper")", "/profiles/0/keys/0/key: unknown key name 'Hyper'"},
    {R"("key:Esc")", R"("key:Nope")", "/profiles/0/keys/0/action: unknown key name 'Nope'"},
    {R"("Num -+10")", R"("Nope+10")", "/macros/0/events/0: unknown key name 'Nope'"},
    {R"("Num -+10")", R"("Num -*10")", "/macros/0/events/0: an event is"},
    {R"("playCount": 1,)", "", "/macros/0: missing field 'playCount'"},
    {R"("playCount": 1)", R"("playCount": 256)", "/macros/0/playCount"},
    {R"("playCount": 1)", R"("playCount": 0)",
     "/macros/0/playCount: expected a whole number 1-255"},
    {R"("macro:5:3")", R"("macro:5:300")",
     "/profiles/0/keys/1/action: the play count must be 1-255"},
    {R"("number": 5)", R"("number": 101)", "/macros/0/number"},
    {R"("name": "M")", R"("name": 5)", "/macros/0/name: expected a string, found number"},
    {R"(,
    {"profile": 4, "keys": []}])",
     "]", "/profiles: expected 4 profiles"},
    {R"({"key": "#300", "action": "media:2"})",
     R"({"key": "#300", "action": "media:2", "colour": 1})", "/profiles/1/keys/0/colour: unknown"},
    {R"({"key": "#300", "action": "media:2"})",
     R"({"key": "#300", "action": "media:2"}, {"key": "#300", "action": "disabled"})",
     "/profiles/1/keys/1/key: key '#300' is listed twice"},
    {R"("version": 1,)", R"("version": 1, "patches": [{"offset": 99999999, "bytes": "00"}],)",
     "/patches/0: the patch reaches past the end"},
};

TEST(ProfileJson, ABrokenFormNamesItsPlaceAndGivesNothing) {
    for (const auto& broken : kBrokenForms) {
        SCOPED_TRACE(broken.message);
        std::string json = kHandWritten;
        const auto at = json.find(broken.find);
        ASSERT_NE(at, std::string::npos);
        json.replace(at, std::string_view(broken.find).size(), broken.replace);
        Bytes bytes{1, 2, 3};
        std::string error;
        EXPECT_FALSE(profileJsonToBytes(json, bytes, error));
        EXPECT_NE(error.find(broken.message), std::string::npos) << error;
        EXPECT_EQ(bytes, (Bytes{1, 2, 3}));
    }
}

TEST(ProfileJson, MacrosOverTheFileLimitsAreRefused) {
    std::string events = "[";
    for (std::size_t i = 0; i <= MacroRecord::kMaxActions; ++i)
        events += std::string(i ? "," : "") + "\"A+1\"";
    events += "]";
    const std::string longName(MacroRecord::kMaxNameLength + 1, 'x');
    const std::pair<std::string, std::string> cases[] = {
        {R"(["Num -+10", "Num --20", "0x0FF+0"])", events},
        {R"("name": "M")", "\"name\": \"" + longName + "\""},
    };
    for (const auto& [find, replace] : cases) {
        std::string json = kHandWritten;
        json.replace(json.find(find), find.size(), replace);
        Bytes bytes;
        std::string error;
        EXPECT_FALSE(profileJsonToBytes(json, bytes, error));
        EXPECT_NE(error.find("at most"), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace keyloom
