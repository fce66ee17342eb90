// Phone names: wildcard matching and case folding beyond ASCII.
#include <gtest/gtest.h>

#include "platform/rapi/phone/PhonePath.h"

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

}  // namespace
