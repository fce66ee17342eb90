// Generated passwords and their statistics, the clipboard guard, and which row values replace a field's.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>

#include "FakeClipboard.h"
#include "model/FieldType.h"
#include "ui/controls/FieldChanges.h"
#include "ui/rules/InputLimit.h"
#include "ui/rules/PasswordGenerator.h"

namespace {

// The value of chi-square with df degrees of freedom that chance exceeds once in a million
// (Wilson-Hilferty).
double Critical(int df) {
    const double z = 4.753, k = 2.0 / (9.0 * df);
    return df * std::pow(1 - k + z * std::sqrt(k), 3);
}

struct Statistic {
    double chars = 0, classes = 0;
};

// Of 10,000 passwords of the phone's generator (6 characters, every class), every character from the set;
// chi-square of the 74 characters and of the classes against one class in four, then one of the class.
Statistic Measure(const RandomBytes& random) {
    std::map<char16_t, int> seen;
    int total = 0;
    for (int i = 0; i < 10000; ++i) {
        const std::u16string password = GeneratePassword({6, GeneratorChoice::kAllClasses}, random);
        EXPECT_EQ(password.size(), 6u);
        for (char16_t c : password) ++seen[c], ++total;
    }
    Statistic s;
    for (std::u16string_view chars : kPasswordClasses) {
        double inClass = 0;
        for (char16_t c : chars) {
            const double expected = total / 4.0 / chars.size();
            s.chars += std::pow(seen[c] - expected, 2) / expected;
            inClass += seen[c];
            seen.erase(c);
        }
        s.classes += std::pow(inClass - total / 4.0, 2) / (total / 4.0);
    }
    EXPECT_TRUE(seen.empty()) << "characters outside the set";
    return s;
}

TEST(GeneratePassword, DrawsEveryClassAndCharacterEvenly) {
    const Statistic fair = Measure(SystemRandomBytes);
    EXPECT_TRUE(fair.chars < Critical(73) && fair.classes < Critical(3)) << fair.chars << " " << fair.classes;

    // A source that gives 0 one time in fifty more than chance: the statistics must see it.
    std::mt19937 engine(7);
    const Statistic biased = Measure([&](void* out, size_t n) {
        uint32_t v = engine() % 50 == 0 ? 0 : static_cast<uint32_t>(engine());
        std::memcpy(out, &v, std::min(n, sizeof v));
        return true;
    });
    EXPECT_TRUE(biased.chars > Critical(73) && biased.classes > Critical(3));
    EXPECT_TRUE(GeneratePassword({}, [](void*, size_t) { return false; }).empty());
}

// The chosen length, only the chosen classes, and a kept choice read back only when valid.
TEST(GeneratePassword, FollowsTheChoiceAndReadsBackOnlyValidOnes) {
    for (const GeneratorChoice& choice :
         {GeneratorChoice{}, GeneratorChoice{64, 0b0010}, GeneratorChoice{8, 0b1001}}) {
        const std::u16string password = GeneratePassword(choice);
        EXPECT_EQ(password.size(), size_t(choice.length));
        for (unsigned k = 0; k < 4; ++k) {
            const bool drawn = password.find_first_of(kPasswordClasses[k]) != std::u16string::npos;
            EXPECT_TRUE(!drawn || (choice.classes & (1u << k))) << choice.Text();
        }
        EXPECT_EQ(GeneratorChoice::Parse(choice.Text()), choice);
    }
    for (const char* text : {"5 15\n", "65 15\n", "20 0\n", "20 16\n", "20 15", "20 15\nx", "20,15\n", ""})
        EXPECT_FALSE(GeneratorChoice::Parse(text)) << text;
    EXPECT_TRUE(GeneratePassword({5, 15}).empty() && GeneratePassword({20, 0}).empty());
}

TEST(ClipboardGuard, ClearsItsOwnTextAfterTheDelayButNotWhatTheUserCopiedSince) {
    FakeClipboard clipboard;
    auto now = std::chrono::steady_clock::time_point{};
    ClipboardGuard guard(clipboard, [&] { return now; });
    ASSERT_TRUE(guard.Copy("s3cret"));
    now += ClipboardGuard::kDelay - std::chrono::seconds(1);
    EXPECT_TRUE(guard.Tick());
    EXPECT_EQ(clipboard.held, wxString("s3cret"));
    now += std::chrono::seconds(1);
    EXPECT_FALSE(guard.Tick());
    EXPECT_TRUE(!clipboard.held && guard.Cleared());

    guard.Copy("s3cret");
    clipboard.held = "mine";
    now += ClipboardGuard::kDelay;
    EXPECT_FALSE(guard.Tick());
    EXPECT_TRUE(clipboard.held == wxString("mine") && !guard.Cleared());
    guard.Copy("again");
    guard.ClearNow();  // the lock
    EXPECT_FALSE(clipboard.held);
}

SecureBytes Bytes16(const SYSTEMTIME& t) {
    SecureBytes bytes(16);
    StoreTime(t, bytes.data());
    return bytes;
}

TEST(CollectChanges, TextReplacedOnlyWhenItDiffersAndTimesToTheWholeSecond) {
    struct TextCase {
        std::initializer_list<uint8_t> stored;
        std::u16string text;
        bool replaced;
    } texts[] = {{{}, u"", false},
                 {{}, u"a", true},
                 {{'A', 0, 0, 0}, u"a", true},
                 {{'a', 0, 0, 0}, u"a", false},
                 {{0, 0}, u"", false},
                 {{'a', 0, 'b'}, u"a", false}};
    for (const TextCase& c : texts) {
        ItemField field;
        field.value.assign(c.stored.begin(), c.stored.end());
        EXPECT_EQ(CollectText(field, c.text), c.replaced) << std::string(c.text.begin(), c.text.end());
        if (c.replaced) {
            EXPECT_EQ(FieldText(field), c.text);
        }
    }

    const SYSTEMTIME picked{2011, 3, 0, 14, 9, 30, 15, 250};
    const SYSTEMTIME otherMillis{2011, 3, 5, 14, 9, 30, 15, 999}, otherSecond{2011, 3, 0, 14, 9, 30, 16, 250},
        badMonth{2011, 13, 0, 14, 9, 30, 15, 250};
    auto withTail = [](SecureBytes bytes) {
        bytes.insert(bytes.end(), {7, 7, 7, 7});
        return bytes;
    };
    struct TimeCase {
        SecureBytes stored;
        bool replaced;
    } times[] = {{{}, true},
                 {Bytes16(otherMillis), false},
                 {Bytes16(otherSecond), true},
                 {withTail(Bytes16(otherMillis)), false},
                 {withTail(Bytes16(otherSecond)), true},
                 {SecureBytes(10, 1), true},
                 {Bytes16(badMonth), true}};
    for (TimeCase& c : times) {
        ItemField field;
        field.value = c.stored;
        EXPECT_EQ(CollectTime(field, picked), c.replaced) << c.stored.size();
        // A longer value keeps the bytes after its time record, replaced or not.
        EXPECT_EQ(field.value.size(), std::max<size_t>(16, c.stored.size()));
        if (c.stored.size() > 16) {
            EXPECT_EQ(field.value.back(), 7);
        }
    }
    EXPECT_EQ(WholeSeconds({1899, 12, 0, 31, 0, 0, 0, 0}), WholeSeconds({1, 1, 0, 1, 0, 0, 0, 0}));
}

// Typed and pasted text is cut to the room left and to the characters a box takes; what the box already
// holds, however long, is never cut.
TEST(InputLimit, TakesOnlyWhatFitsOfTheNewText) {
    const InputLimit any(5), digits(5, InputLimit::Chars::Digits), dialable(9, InputLimit::Chars::Dialable);
    struct Case {
        const InputLimit& limit;
        std::wstring_view text;
        size_t length, selected;
        std::wstring_view admitted;
    } cases[] = {{any, L"abc", 0, 0, L"abc"},
                 {any, L"abcdef", 0, 0, L"abcde"},
                 {any, L"abc", 4, 0, L"a"},
                 {any, L"abc", 5, 0, L""},
                 {any, L"abc", 9, 0, L""},
                 {any, L"abc", 9, 4, L""},
                 {any, L"abc", 9, 6, L"ab"},
                 {any, L"a\tb\nc", 0, 0, L"abc"},
                 {digits, L"+44 (20)", 0, 0, L"4420"},
                 {digits, L"12345678", 2, 2, L"12345"},
                 {dialable, L"+44 (20)-x.", 0, 0, L"+44 (20)-"}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.limit.Admit(c.text, c.length, c.selected), c.admitted)
            << c.text.size() << " characters into " << c.length << " with " << c.selected << " selected";
    }
}

}  // namespace
