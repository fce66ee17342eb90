// The phone application's version text as four words.
#include <gtest/gtest.h>

#include "host/AppVersion.h"

namespace {

TEST(AppVersionTest, ParsesFourNumbers) {
    EXPECT_EQ(ParseVersionWords(u"1.0.1.519"), (VersionWords{1, 0, 1, 519}));
    EXPECT_EQ(ParseVersionWords(u"4294967295.0.12.007"), (VersionWords{4294967295u, 0, 12, 7}));
}

TEST(AppVersionTest, GarbledTextGivesZeros) {
    for (const char16_t* text : {u"", u"1.0.1", u"1.0.1.519.2", u"1..1.519", u"1.0.1.", u".1.0.1", u"a.b.c.d",
                                 u"1.0.1.5x", u" 1.0.1.519", u"1.0.1.-5", u"4294967296.0.0.1"}) {
        EXPECT_EQ(ParseVersionWords(text), VersionWords{}) << std::u16string(text).size() << " units";
    }
}

}  // namespace
