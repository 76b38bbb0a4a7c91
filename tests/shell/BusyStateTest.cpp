#include <gtest/gtest.h>

#include "shell/BusyState.h"

namespace keyloom::shell {
namespace {

TEST(BusyState, ShowsOnlyWhileWantedAndNoMessageBoxIsOpen) {
    BusyState busy;
    EXPECT_FALSE(busy.reveal());  // nobody wants it
    busy.want();
    busy.want();
    busy.messageBoxOpened();
    EXPECT_FALSE(busy.reveal());  // a question before the work writes
    busy.messageBoxClosed();
    ASSERT_TRUE(busy.reveal());
    EXPECT_FALSE(busy.reveal());  // shown once

    busy.messageBoxOpened();
    EXPECT_TRUE(busy.conceal());  // goes behind a box that opens meanwhile
    busy.messageBoxClosed();
    ASSERT_TRUE(busy.reveal());

    busy.release();
    EXPECT_FALSE(busy.conceal());  // the other want still holds it
    busy.release();
    EXPECT_TRUE(busy.conceal());
    EXPECT_FALSE(busy.conceal());
}

TEST(BusyState, ExtraReleasesAndClosesDoNotHideLaterWork) {
    BusyState busy;
    busy.release();
    busy.messageBoxClosed();
    busy.want();
    EXPECT_TRUE(busy.wanted());
    EXPECT_TRUE(busy.reveal());
}

}  // namespace
}  // namespace keyloom::shell
