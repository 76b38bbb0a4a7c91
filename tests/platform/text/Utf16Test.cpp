// The UTF-8 / UTF-16 codec: well-formed text round-trips, and every kind of
// ill-formed input turns into U+FFFD without swallowing the bytes after it.

#include <gtest/gtest.h>

#include <string>

#include "platform/text/Hex.h"
#include "platform/text/Utf16.h"

namespace keyloom::testing {
namespace {

using text::utf16ToUtf8;
using text::utf8ToUtf16;

TEST(Utf16, WellFormedTextRoundTrips) {
    const std::string samples[] = {"",
                                   "Hello",
                                   "\xC3\xBC"
                                   "bung",
                                   "\xE2\x82\xAC 5",
                                   "\xF0\x9F\x98\x80!",
                                   "\xEF\xBF\xBF"};
    for (const std::string& sample : samples) {
        const std::u16string units = utf8ToUtf16(sample);
        EXPECT_EQ(utf16ToUtf8(units), sample);
        EXPECT_EQ(text::utf16Length(sample), units.size()) << sample;
        EXPECT_TRUE(text::isValidUtf8(sample)) << sample;
    }
    EXPECT_EQ(utf8ToUtf16("\xF0\x9F\x98\x80"), (std::u16string{0xD83D, 0xDE00}));
}

TEST(Utf16, IllFormedUtf8BecomesReplacementCharacters) {
    struct Case {
        const char* what;
        std::string bytes;
        std::u16string units;
    };
    const Case cases[] = {
        {"stray continuation", "a\x80z", u"a\uFFFDz"},
        {"lead without continuation", "\xC3z", u"\uFFFDz"},
        {"cut off at the end", "z\xE2\x82", u"z\uFFFD\uFFFD"},
        {"overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"above U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"five-byte lead", "\xF8\x88", u"\uFFFD\uFFFD"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utf8ToUtf16(c.bytes), c.units) << c.what;
        EXPECT_EQ(text::utf16Length(c.bytes), c.units.size()) << c.what;
        EXPECT_FALSE(text::isValidUtf8(c.bytes)) << c.what;
    }
}

TEST(Utf16, LoneSurrogatesBecomeReplacementCharacters) {
    EXPECT_EQ(utf16ToUtf8(std::u16string{u'a', 0xD800, u'b'}),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(utf16ToUtf8(std::u16string{0xDC00, 0xD800}), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(Utf16, TruncationNeverSplitsACharacter) {
    struct Case {
        std::string text;
        std::size_t maxUnits;
        std::string kept;
    };
    const Case cases[] = {
        {"abc", 5, "abc"},
        {"ab\xF0\x9F\x98\x80", 3, "ab"},  // the pair would not fit
        {"ab\xF0\x9F\x98\x80", 4, "ab\xF0\x9F\x98\x80"},
        {"\xC3\xBC\xC3\xBC\xC3\xBC", 2, "\xC3\xBC\xC3\xBC"},
    };
    for (Case c : cases) {
        text::truncateToUtf16Units(c.text, c.maxUnits);
        EXPECT_EQ(c.text, c.kept);
    }
}

TEST(Hex, DigitValues) {
    EXPECT_EQ(text::hexDigitValue('0'), 0);
    EXPECT_EQ(text::hexDigitValue('9'), 9);
    EXPECT_EQ(text::hexDigitValue('a'), 10);
    EXPECT_EQ(text::hexDigitValue('F'), 15);
    for (char c : {'g', 'G', ' ', 'x', '\0', '/', ':', '@', '`'})
        EXPECT_EQ(text::hexDigitValue(c), -1) << c;
}

}  // namespace
}  // namespace keyloom::testing
