#include "platform/text/SafeFormat.h"

#include <gtest/gtest.h>

#include <string>

namespace keyloom::text {
namespace {

TEST(SafeFormat, IntegerConversionsWithFlagsAndWidths) {
    EXPECT_EQ(formatInt("Unknown key (0x%03X)", 100), "Unknown key (0x064)");
    EXPECT_EQ(formatInt("[%d]", -42), "[-42]");
    EXPECT_EQ(formatInt("[%5d]", 42), "[   42]");
    EXPECT_EQ(formatInt("[%-3d]", 7), "[7  ]");
    EXPECT_EQ(formatInt("[%04X]", 0x1AB), "[01AB]");
    EXPECT_EQ(formatInt("[%x]", 255), "[ff]");
    EXPECT_EQ(formatInt("[%+i]", 5), "[+5]");
    EXPECT_EQ(formatInt("[%#o]", 8), "[010]");
    EXPECT_EQ(formatInt("[%.4d]", 12), "[0012]");
    EXPECT_EQ(formatInt("at most %u macros", 100), "at most 100 macros");
    EXPECT_EQ(formatInt("%ld / %lld / %hd / %hhu", 40000), "40000 / %lld / %hd / %hhu");
}

TEST(SafeFormat, IntegersAreReadAtTheLengthTheFormatNames) {
    EXPECT_EQ(formatInt("%hd", 70000), "4464");  // as a 16-bit short
    EXPECT_EQ(formatInt("%hhu", 258), "2");
    EXPECT_EQ(formatInt("%x", -1), "ffffffff");  // an int, as printf reads it
    EXPECT_EQ(formatInt("%llx", -1), "ffffffffffffffff");
    EXPECT_EQ(formatInt("%d", 0x100000001LL), "1");
}

TEST(SafeFormat, StringConversionsCountCharacters) {
    EXPECT_EQ(formatString("Not a profile file: %s", "/tmp/a.klm"),
              "Not a profile file: /tmp/a.klm");
    EXPECT_EQ(formatString("[%-10s]", "abc"), "[abc       ]");
    EXPECT_EQ(formatString("[%6s]", "caf\xC3\xA9"), "[  caf\xC3\xA9]");
    EXPECT_EQ(formatString("[%.3s]", "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"),
              "[\xC3\xA9\xC3\xA9\xC3\xA9]");
    EXPECT_EQ(formatString("[%ls|%hs]", "wide"), "[wide|%hs]");
}

TEST(SafeFormat, StringThenIntegerForm) {
    EXPECT_EQ(formatStringInt("%s%d", "Macro ", 3), "Macro 3");
    EXPECT_EQ(formatStringInt("%s %02d", "G", 7), "G 07");
    // The values are taken in their order only.
    EXPECT_EQ(formatStringInt("%d%s", "Macro ", 3), "%dMacro ");
    EXPECT_EQ(formatStringInt("%s", "only", 3), "only");
    EXPECT_EQ(formatStringInt("%d", "text", 3), "%d");
}

TEST(SafeFormat, PercentPercentGivesOnePercent) {
    EXPECT_EQ(formatInt("100%% done, %d%%", 5), "100% done, 5%");
    EXPECT_EQ(formatInt("%%d", 5), "%d");
    EXPECT_EQ(formatInt("trailing %", 5), "trailing %");
}

TEST(SafeFormat, HostileFormatsArePrintedAsWritten) {
    const char* literal[] = {"%n",   "%hn", "%p", "%f", "%e", "%c",  "%*d", "%.*d", "%1$d",
                             "%lls", "%q",  "%",  "%-", "%5", "%Lf", "%zs", "%S"};
    for (const char* format : literal) {
        EXPECT_EQ(safeFormat(format, {}), format);
        EXPECT_EQ(formatInt(format, 12345), format);
        EXPECT_EQ(formatString(format, "xyz"), format);
    }
    EXPECT_EQ(formatInt("%s", 5), "%s");
    EXPECT_EQ(formatString("%d", "x"), "%d");
    EXPECT_EQ(formatInt("%d and %d and %n", 5), "5 and %d and %n");
    EXPECT_EQ(formatString("%s%s%s%s%s%s%s%s", "x"), "x%s%s%s%s%s%s%s");
    EXPECT_EQ(formatInt("%n%d", 9), "%n9");
}

TEST(SafeFormat, HugeWidthsAreCapped) {
    EXPECT_EQ(formatInt("%999999999999d", 1).size(), static_cast<std::size_t>(kMaxFieldWidth));
    EXPECT_EQ(formatInt("%.99999d", 1).size(), static_cast<std::size_t>(kMaxFieldWidth));
    EXPECT_EQ(formatInt("%300.300d", -1).size(), static_cast<std::size_t>(kMaxFieldWidth) + 1);
    EXPECT_EQ(formatString("%-99999s|", "a").size(), static_cast<std::size_t>(kMaxFieldWidth) + 1);
}

}  // namespace
}  // namespace keyloom::text
