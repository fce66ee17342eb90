#include "phone/SampleCards.h"

#include "phone/PhoneWallet.h"

namespace {

// The id of the category with that name, or 0 (no category) when there is none.
uint32_t CategoryId(const std::vector<Category>& categories, std::u16string_view name) {
    for (const Category& category : categories) {
        if (category.name == name) return category.id;
    }
    return 0;
}

}  // namespace

std::vector<std::unique_ptr<CardBuilder>> SampleCards(const std::vector<Category>& categories) {
    using enum CardFieldType;
    std::vector<std::unique_ptr<CardBuilder>> cards;
    auto add = [&](std::u16string_view name, uint32_t icon, std::u16string_view category) -> CardBuilder& {
        uint32_t id = CategoryId(categories, category);
        return *cards.emplace_back(std::make_unique<CardBuilder>(name, icon, id));
    };
    add(u"Mail Box", 9, u"Personal")
        .Text(Email, u"E-mail", u"jane.doe@example.org")
        .Text(Password, u"Password", u"correct-horse-7")
        .Text(Url, u"Web mail", u"https://mail.example.org");
    add(u"Visa Card", 0, u"Finance")
        .Text(Number, u"Card number", u"4111111111111111")
        .Text(Text, u"Cardholder", u"Jane Doe")
        .Time(Date, u"Expiry date", UtcTime(2028, 9, 30))
        .Text(Password, u"PIN", u"4071")
        .Text(PhoneNumber, u"Bank phone", u"+44 20 7946 0018");
    add(u"Office Network", 12, u"Work")
        .Text(Text, u"User name", u"jdoe")
        .Text(Password, u"Password", u"Tr0mb0ne!Blue")
        .Text(Url, u"Portal", u"https://intranet.example.com");
    add(u"Book Shop", 50, u"Shopping")
        .Text(Number, u"Customer number", u"55120987")
        .Text(Email, u"E-mail", u"jane.doe@example.org")
        .Text(Password, u"Password", u"paperback-42");
    add(u"Dentist", 25, u"Personal")
        .Time(Date, u"Date", UtcTime(2026, 3, 12))
        .Time(Time, u"Time", UtcTime(2026, 3, 12, 9, 30))
        .Text(PhoneNumber, u"Phone", u"+44 161 496 0732")
        .Text(Text, u"Address", u"12 High Street");
    add(u"Frequent Flyer", 30, u"Travel")
        .Text(Number, u"Member number", u"884412307")
        .Time(Date, u"Member since", UtcTime(2019, 5, 2))
        .Text(Password, u"Password", u"contrail-88");
    add(u"Team Meeting", 42, u"Work")
        .Time(Time, u"Starts", UtcTime(2026, 1, 5, 14, 0))
        .Text(Text, u"Room", u"Harbour 2")
        .Blank(Text, u"Dial-in code");
    add(u"Home Wi-Fi", 15, u"")
        .Text(Text, u"Network", u"Doe Family")
        .Text(Password, u"Key", u"sunny-kettle-19");
    return cards;
}

int AddSampleCards(const std::filesystem::path& phoneDir, const SecureBytes& password, std::string& error) {
    PhoneWallet wallet;
    if (int code = wallet.Open(phoneDir, password, error)) return code;
    for (const auto& card : SampleCards(wallet.Categories())) {
        if (!AddNewRecord(wallet.Store(), card->Item())) {
            error = "cannot write to the wallet";
            return kFailed;
        }
    }
    return kDone;
}
