#include "phone/CardGenerator.h"

#include <iterator>

#include "phone/PhoneWallet.h"
#include "phone/RecordAppender.h"
#include "platform/Utf16.h"

namespace {

constexpr uint32_t kCardIcons = 57;  // the groups before the category and template icons
constexpr std::time_t kSpacingSeconds = 600;
constexpr uint32_t kProgressSteps = 20;
constexpr uint32_t kQuietCount = 10000;

std::u16string PaddedNumber(uint32_t n) {
    std::string digits = std::to_string(n);
    return Utf8ToUtf16Lossy(std::string(digits.size() < 7 ? 7 - digits.size() : 0, '0') + digits);
}

// A password of 12 letters, digits and signs that depends only on the id.
std::u16string MadeUpPassword(uint32_t id) {
    static constexpr char16_t kAlphabet[] =
        u"abcdefghijkmnpqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ23456789!$%&*+-=?";
    uint64_t state = id * 0x9E3779B97F4A7C15ull + 1;
    std::u16string password;
    for (int i = 0; i < 12; ++i) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        password += kAlphabet[(state >> 33) % (std::size(kAlphabet) - 1)];
    }
    return password;
}

SYSTEMTIME TimeAt(std::time_t when) {
    std::tm t{};
    gmtime_r(&when, &t);
    return UtcTime(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min);
}

void ReportProgress(std::ostream* progress, uint32_t done, uint32_t count) {
    if (!progress || count < kQuietCount || (done % (count / kProgressSteps) != 0 && done != count)) return;
    *progress << "tessera-phone: " << done << " of " << count << " cards" << std::endl;
}

}  // namespace

std::unique_ptr<CardBuilder> GeneratedCard(uint32_t id, uint32_t index, uint32_t count,
                                           const std::vector<Category>& categories, std::time_t now) {
    using enum CardFieldType;
    // Every category in turn, and no category between the rounds.
    size_t slot = index % (categories.size() + 1);
    uint32_t categoryId = slot < categories.size() ? categories[slot].id : 0;
    std::u16string number = PaddedNumber(id);
    auto card = std::make_unique<CardBuilder>(u"Login " + number, id % kCardIcons, categoryId);
    card->Text(Text, u"User name", u"user" + number)
        .Text(Password, u"Password", MadeUpPassword(id))
        .Text(Url, u"Web site", u"https://www.site" + number + u".example.com")
        .Created(TimeAt(now - std::time_t(count - 1 - index) * kSpacingSeconds));
    return card;
}

int GenerateCards(const std::filesystem::path& phoneDir, const SecureBytes& password, uint32_t count,
                  std::ostream* progress, std::string& error) {
    PhoneWallet wallet;
    if (int code = wallet.Open(phoneDir, password, error)) return code;
    RecordAppender appender(wallet.Store(), password);
    if (!appender.Begin(error)) return kFailed;
    std::time_t now = std::time(nullptr);
    for (uint32_t i = 0; i < count; ++i) {
        auto card = GeneratedCard(wallet.Store().lastId + 1, i, count, wallet.Categories(), now);
        if (!appender.Add(card->Item(), error)) return kFailed;
        ReportProgress(progress, i + 1, count);
    }
    return appender.Flush(error) ? kDone : kFailed;
}
