// The working and device stores: contents, the snapshot taken before a
// write, the lock order, and the macro lookups.

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "model/ConfigurationStore.h"
#include "model/StoreMacros.h"

namespace keyloom {
namespace {

MacroRecord macroNumbered(std::uint16_t number, std::u16string name = u"m") {
    MacroRecord m;
    m.number = number;
    m.name = std::move(name);
    return m;
}

TEST(ConfigurationStore, StartsWithAFreshEmptyImage) {
    WorkingStore store;
    auto access = store.lock();
    EXPECT_EQ(*access->image, AssignmentImage::fresh());
    EXPECT_TRUE(access->macros.empty());
    EXPECT_EQ(access->texts.totalSize(), 0u);

    access->macros.push_back(macroNumbered(1));
    access->image->block(0)[30].kind = AssignmentKind::Disabled;
    access->texts.setText(1, u"x");
    access->reset();
    EXPECT_EQ(*access->image, AssignmentImage::fresh());
    EXPECT_TRUE(access->macros.empty());
    EXPECT_EQ(access->texts.totalSize(), 0u);
}

TEST(ConfigurationStore, HeaderRebuiltForSaveCountsMacrosAndTexts) {
    StoreContents contents;
    contents.macros = {macroNumbered(1), macroNumbered(2)};
    contents.texts.setText(4, u"abc");
    ASSERT_TRUE(contents.rebuildHeaderForSave());
    const ImageHeader& header = contents.image->header();
    EXPECT_EQ(header.macroCount, 2);
    EXPECT_EQ(header.poolSize, 8u);
    EXPECT_EQ(header.totalSize, 32832u + 2 * 32512u + 8u);
    EXPECT_TRUE(header.checksumMatches());

    contents.macros.resize(101);
    EXPECT_FALSE(contents.rebuildHeaderForSave());
    EXPECT_EQ(contents.image->header().macroCount, 2);
}

TEST(ConfigurationStore, CopiesAreDeep) {
    StoreContents a;
    StoreContents b = a;
    b.image->block(1)[5].kind = AssignmentKind::Disabled;
    EXPECT_EQ(a.image->block(1)[5].kind, AssignmentKind::Default);
    a = b;
    EXPECT_NE(a.image.get(), b.image.get());
    EXPECT_EQ(*a.image, *b.image);
}

TEST(ConfigurationStore, SnapshotPacksTextsWithinTheRecordedPoolSize) {
    WorkingStore working;
    DeviceStore device;
    {
        auto w = working.lock();
        auto entries = w->image->entries();
        entries[600] = {AssignmentKind::LaunchProgram, 0, 999};
        w->texts.setText(600, u"/usr/bin/app");  // 26 bytes
        entries[20] = {AssignmentKind::TextBlock, 0, 999};
        w->texts.setText(20, u"hi");  // 6 bytes
        w->macros = {macroNumbered(3, u"first"), macroNumbered(1, u"second")};
        ASSERT_TRUE(w->rebuildHeaderForSave());  // pool size 32

        // Added after the last save: no room left in the recorded pool.
        entries[1500] = {AssignmentKind::TextBlock, 0, 999};
        w->texts.setText(1500, u"late");

        ASSERT_TRUE(copyToDeviceStore(w, device));
        EXPECT_FALSE(DeviceStore::heldByThisThread());
        EXPECT_EQ(w->image->entries()[600].value, 999u);  // the working copy is untouched
    }
    auto d = device.lock();
    EXPECT_EQ(d->image->entries()[20].value, 0u);
    EXPECT_EQ(d->image->entries()[600].value, 6u);
    EXPECT_EQ(d->image->entries()[1500].value, 999u);
    EXPECT_EQ(d->texts.text(600), u"/usr/bin/app");
    EXPECT_FALSE(d->texts.text(1500).has_value());
    EXPECT_EQ(d->texts.totalSize(), 32u);
    ASSERT_EQ(d->macros.size(), 2u);
    EXPECT_EQ(d->macros[1].name, u"second");
}

TEST(ConfigurationStore, LocksAreTrackedPerThread) {
    WorkingStore working;
    DeviceStore device;
    EXPECT_FALSE(WorkingStore::heldByThisThread());
    {
        auto both = lockBoth(working, device);
        EXPECT_TRUE(WorkingStore::heldByThisThread());
        EXPECT_TRUE(DeviceStore::heldByThisThread());
        bool seenElsewhere = true;
        std::thread([&] { seenElsewhere = DeviceStore::heldByThisThread(); }).join();
        EXPECT_FALSE(seenElsewhere);
    }
    EXPECT_FALSE(WorkingStore::heldByThisThread());
    EXPECT_FALSE(DeviceStore::heldByThisThread());
}

TEST(ConfigurationStore, EditingWhileAnotherThreadSnapshotsStaysConsistent) {
    WorkingStore working;
    DeviceStore device;
    std::thread writer([&] {
        for (int i = 0; i < 200; ++i) {
            auto w = working.lock();
            // Both changes land together or not at all as far as a snapshot sees.
            w->image->block(0)[1].value = static_cast<std::uint32_t>(i);
            w->image->block(0)[2].value = static_cast<std::uint32_t>(i);
        }
    });
    for (int i = 0; i < 200; ++i) {
        {
            auto w = working.lock();
            ASSERT_TRUE(copyToDeviceStore(w, device));
        }
        auto both = lockBoth(working, device);
        EXPECT_EQ(both.device->image->block(0)[1].value, both.device->image->block(0)[2].value);
    }
    writer.join();
}

TEST(StoreMacros, LookupsByPositionAndNumber) {
    WorkingStore store;
    store.lock()->macros = {macroNumbered(5), macroNumbered(2), macroNumbered(9)};
    EXPECT_EQ(macroNumberAt(store, 1), 2);
    EXPECT_EQ(macroNumberAt(store, -1), 0);
    EXPECT_EQ(macroNumberAt(store, 3), 0);
    EXPECT_EQ(macroPositionOf(store, 9), 2u);
    EXPECT_EQ(macroPositionOf(store, 4), 0u);
}

TEST(StoreMacros, DeviceStoreEncodings) {
    DeviceStore store;
    {
        auto d = store.lock();
        d->macros = {macroNumbered(1, u"ab"), macroNumbered(2, u"c")};
        d->image->block(2)[30] = {AssignmentKind::Macro, 0, 2};
    }
    EXPECT_EQ(macroAreaSizes(store), (MacroAreaSizes{16 + 4 + 8, 16 + 4 + 8 + 6}));
    EXPECT_EQ(encodeMacroArea(store, true).size(), 34u);

    KeyMatrix defaults;
    defaults.setEntry(0, {2, 2, 0x04});  // A
    EXPECT_EQ(encodeKeyMatrix(store, defaults, 2).entry(0), (MatrixEntry{5, 1, 1}));
    EXPECT_EQ(encodeKeyMatrix(store, defaults, 1).entry(0), (MatrixEntry{2, 2, 0x04}));
    EXPECT_EQ(encodeKeyMatrix(store, defaults, 3), defaults);
}

}  // namespace
}  // namespace keyloom
