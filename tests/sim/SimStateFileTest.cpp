#include "sim/SimStateFile.h"

#include <gtest/gtest.h>

#include "platform/fs/FileIo.h"
#include "sim/SimFirmware.h"
#include "support/TempDir.h"

namespace keyloom::sim {
namespace {

TEST(SimStateFile, MemoryChangedByCommandsSurvivesARestart) {
    testing::TempDir dir;
    const std::string path = dir.file("keyboard.state");
    std::uint8_t colour[3] = {9, 8, 7};
    {
        SimFirmware firmware(kModel5064);
        EXPECT_EQ(firmware.attachStateFile(path), "");
        EXPECT_FALSE(fs::fileExists(path));  // nothing changed yet
        firmware.handleRequest(makeRequest(command::kWriteKeyColours, 3, 600, colour));
        EXPECT_TRUE(fs::fileExists(path));
        EXPECT_TRUE(firmware.selectProfile(1));
    }
    SimFirmware restarted(kModel5064);
    EXPECT_EQ(restarted.attachStateFile(path), "");
    EXPECT_EQ(restarted.memory().keyColours[600], 9);
    EXPECT_EQ(restarted.memory().keyColours[602], 7);
    EXPECT_EQ(restarted.memory().parameters[kParameterActiveProfile], 1);
    EXPECT_EQ(restarted.memory().defaultMatrix, factoryKeyMatrix(kModel5064));
}

TEST(SimStateFile, SerialisedMemoryParsesBackIdentically) {
    SimMemory memory = factoryMemory(kModel652F, 3);
    memory.macroArea[20] = 0x77;
    memory.keyMatrices[1000] = 0x12;
    SimMemory parsed = factoryMemory(kModel652F, 32);
    std::string reason;
    ASSERT_TRUE(parseState(serializeState(kModel652F, memory), kModel652F, parsed, reason))
        << reason;
    EXPECT_EQ(parsed, memory);
}

TEST(SimStateFile, DamagedOrForeignTextIsRefusedWithAReason) {
    const std::string good = serializeState(kModel652F, factoryMemory(kModel652F));
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    struct Case {
        std::string text;
        std::string reasonPart;
    };
    const Case cases[] = {
        {"", "not a simulated keyboard state file"},
        {"garbage\n", "not a simulated keyboard state file"},
        {replaced("keyloom-sim-state 1", "keyloom-sim-state 2"), "version 2"},
        {replaced("model 0c45:652f", "model 320f:5064"), "320f:5064"},
        {replaced("parameters 01", "parameters 0"), "parameters line is not valid hex"},
        {replaced("parameters 01", "parameters zz"), "parameters line is not valid hex"},
        {replaced("parameters 01", "parameters "), "parameters line has the wrong length"},
        {replaced("macro-area aa55", "macro-area aa"), "macro-area line has the wrong length"},
        {good.substr(0, good.find("key-colours")), "key-colours line is missing"},
        {good + "parameters 00\n", "unexpected"},
    };
    for (const auto& c : cases) {
        SimMemory memory = factoryMemory(kModel652F);
        const SimMemory before = memory;
        std::string reason;
        EXPECT_FALSE(parseState(c.text, kModel652F, memory, reason)) << c.reasonPart;
        EXPECT_NE(reason.find(c.reasonPart), std::string::npos) << reason;
        EXPECT_EQ(memory, before);
    }
    // An active profile above 2 cannot come from a keyboard.
    std::string text = good;
    text[text.find("parameters ") + 11 + 2 * 10 + 1] = '3';
    SimMemory memory = factoryMemory(kModel652F);
    std::string reason;
    EXPECT_FALSE(parseState(text, kModel652F, memory, reason));
}

TEST(SimStateFile, DamagedFileGivesFactoryContentsAndIsKeptAside) {
    testing::TempDir dir;
    const std::string path = dir.write("keyboard.state", "keyloom-sim-state 1\nmodel 0c45:652f\n");
    SimFirmware firmware(kModel652F);
    firmware.memory().keyColours[0] = 1;
    std::string message = firmware.attachStateFile(path);
    EXPECT_NE(message.find("factory contents"), std::string::npos) << message;
    EXPECT_NE(message.find(path + ".bad-1"), std::string::npos) << message;
    EXPECT_EQ(firmware.memory(), factoryMemory(kModel652F));
    EXPECT_EQ(dir.read("keyboard.state.bad-1"), "keyloom-sim-state 1\nmodel 0c45:652f\n");

    // From now on the memory is kept in the named file again.
    std::uint8_t colour[3] = {1, 2, 3};
    firmware.handleRequest(makeRequest(command::kWriteKeyColours, 3, 0, colour));
    SimFirmware restarted(kModel652F);
    EXPECT_EQ(restarted.attachStateFile(path), "");
    EXPECT_EQ(restarted.memory().keyColours[0], 1);
}

TEST(SimStateFile, StateOfTheOtherModelIsNotTaken) {
    testing::TempDir dir;
    const std::string path = dir.file("keyboard.state");
    ASSERT_TRUE(
        fs::writeFileAtomically(path, serializeState(kModel5064, factoryMemory(kModel5064))));
    SimFirmware firmware(kModel652F);
    std::string message = firmware.attachStateFile(path);
    EXPECT_NE(message.find("belongs to model 320f:5064"), std::string::npos) << message;
    EXPECT_EQ(firmware.memory(), factoryMemory(kModel652F));
}

TEST(SimStateFile, FailedSaveIsReported) {
    testing::TempDir dir;
    SimFirmware firmware(kModel652F);
    EXPECT_EQ(firmware.attachStateFile(dir.file("missing-folder/keyboard.state")), "");
    std::uint8_t colour[3] = {1, 2, 3};
    firmware.handleRequest(makeRequest(command::kWriteKeyColours, 3, 0, colour));
    EXPECT_FALSE(firmware.saveError().empty());
    EXPECT_FALSE(firmware.saveState());
}

}  // namespace
}  // namespace keyloom::sim
