// Phone names: wildcard matching, case folding beyond ASCII and the conversions to host names.
#include <gtest/gtest.h>

#include "platform/Utf16.h"
#include "platform/rapi/PhonePath.h"

namespace {

TEST(PhonePathTest, WildcardsMatchLikeThePhone) {
    EXPECT_TRUE(MatchesPattern(u"*", u"anything"));
    EXPECT_TRUE(MatchesPattern(u"a*b*c", u"aXbYbZc"));
    EXPECT_FALSE(MatchesPattern(u"a*b*c", u"aXbYbZ"));
    EXPECT_TRUE(MatchesPattern(u"??.dat", u"AB.DAT"));
    EXPECT_FALSE(MatchesPattern(u"??.dat", u"ABC.dat"));
    EXPECT_TRUE(MatchesPattern(u"*.*", u"no extension"));
    EXPECT_TRUE(MatchesPattern(u"Backup*.*", u"Backup"));
    EXPECT_FALSE(MatchesPattern(u"Backup*.*", u"Backu"));
    EXPECT_FALSE(MatchesPattern(u"*.txt", u"a.txt.bak"));
}

TEST(PhonePathTest, CaseFoldsBeyondAscii) {
    EXPECT_TRUE(SameName(u"\u00C9T\u00C9", u"\u00E9t\u00E9"));
    EXPECT_TRUE(SameName(u"\u0416\u0401", u"\u0436\u0451"));
    EXPECT_TRUE(SameName(u"\u03A3", u"\u03C3"));
    EXPECT_FALSE(SameName(u"\u00D7", u"\u00F7"));  // multiplication and division signs are not letters
    EXPECT_FALSE(SameName(u"ab", u"abc"));
    EXPECT_TRUE(NameLess(u"B", u"b"));
    EXPECT_TRUE(NameLess(u"a", u"B"));
}

TEST(PhonePathTest, Utf16AndUtf8RoundTripAndRefuseMalformedText) {
    const std::u16string text = u"K\u00E4se \u20AC \U0001F511";
    std::optional<std::string> utf8 = Utf16ToUtf8(text);
    ASSERT_TRUE(utf8);
    EXPECT_EQ(*utf8, "K\xC3\xA4se \xE2\x82\xAC \xF0\x9F\x94\x91");
    EXPECT_EQ(Utf8ToUtf16(*utf8), text);
    EXPECT_FALSE(Utf16ToUtf8(u"\xDC00"));
    EXPECT_FALSE(Utf16ToUtf8(u"a\xD800"));
    EXPECT_FALSE(Utf8ToUtf16("\xC0\xAF"));          // overlong
    EXPECT_FALSE(Utf8ToUtf16("\xED\xA0\x80"));      // an encoded surrogate
    EXPECT_FALSE(Utf8ToUtf16("\xE2\x82"));          // cut short
    EXPECT_FALSE(Utf8ToUtf16("\xF4\x90\x80\x80"));  // past U+10FFFF
}

}  // namespace
