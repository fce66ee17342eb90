#include "phone/StarterTemplates.h"

#include "phone/PhoneSession.h"

namespace {

enum StarterCategoryId : uint16_t { kNoCategory, kPersonal, kWork, kFinance, kShopping, kTravel };

}  // namespace

std::vector<Category> StarterCategories() {
    return {{kPersonal, 57, u"Personal"},
            {kWork, 58, u"Work"},
            {kFinance, 59, u"Finance"},
            {kShopping, 60, u"Shopping"},
            {kTravel, 61, u"Travel"}};
}

std::vector<std::unique_ptr<CardBuilder>> StarterTemplates() {
    using enum CardFieldType;
    std::vector<std::unique_ptr<CardBuilder>> templates;
    auto add = [&templates](std::u16string_view name, uint32_t icon, uint32_t categoryId) -> CardBuilder& {
        return *templates.emplace_back(std::make_unique<CardBuilder>(name, icon, categoryId));
    };
    add(u"Web Login", 66, kNoCategory)
        .Blank(Text, u"User name")
        .Blank(Password, u"Password")
        .Blank(Url, u"Web site")
        .Blank(Email, u"E-mail");
    add(u"Bank Card", 67, kFinance)
        .Blank(Number, u"Card number")
        .Blank(Text, u"Cardholder")
        .Blank(Date, u"Expiry date")
        .Blank(Password, u"PIN")
        .Blank(Password, u"Security code")
        .Blank(PhoneNumber, u"Bank phone");
    add(u"E-mail Account", 68, kPersonal)
        .Blank(Email, u"E-mail")
        .Blank(Password, u"Password")
        .Blank(Text, u"Incoming server")
        .Blank(Text, u"Outgoing server")
        .Blank(Url, u"Web mail");
    add(u"Membership", 69, kShopping)
        .Blank(Number, u"Member number")
        .Blank(Date, u"Member since")
        .Blank(Password, u"Password")
        .Blank(PhoneNumber, u"Phone")
        .Blank(Url, u"Web site");
    add(u"Appointment", 70, kWork)
        .Blank(Date, u"Date")
        .Blank(Time, u"Time")
        .Blank(Text, u"Place")
        .Blank(PhoneNumber, u"Phone");
    add(u"Note", 71, kNoCategory).Blank(Text, u"Note");
    return templates;
}

bool AddStarterTemplates(CTesseraEncryptedLinkList& templates) {
    for (const auto& starter : StarterTemplates()) {
        if (!AddNewRecord(templates, starter->Item())) return false;
    }
    CTesseraItem record;
    CategoryRecord::Write(StarterCategories(), record);
    return templates.AddRecord(record, CTesseraEncryptedLinkList::kCategoryRecordId);
}
