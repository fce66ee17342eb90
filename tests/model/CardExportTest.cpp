#include <gtest/gtest.h>
#include <sys/stat.h>

#include "ModelFixture.h"
#include "model/CardExport.h"

namespace {

std::vector<uint8_t> Utf16Le(std::u16string_view text) {
    std::vector<uint8_t> bytes;
    for (char16_t unit : text) bytes.insert(bytes.end(), {uint8_t(unit), uint8_t(unit >> 8)});
    return bytes;
}

class CardExportTest : public ModelFixture {
protected:
    std::filesystem::path Out() const { return dir / "cards.txt"; }

    std::vector<uint8_t> Export(CTesseraEncryptedLinkList& store) {
        std::string error;
        EXPECT_TRUE(ExportCards(store, Out(), error)) << error;
        return ReadBytes(Out());
    }
    std::vector<uint8_t> Export() { return Export(*data.WalletStore()); }

    void Add(const CTesseraItem& card) { ASSERT_TRUE(data.AddCard(card, data.TakeCardId())); }

    // A card whose one field after the name holds the time.
    void AddDated(const SYSTEMTIME& time, uint32_t type = kFieldDate) {
        auto card = Card(u"D");
        AddTimeField(*card, u"When", time, type);
        Add(*card);
    }
};

TEST_F(CardExportTest, AnEmptyWalletGivesAnEmptyFileInPlaceOfAnOldOne) {
    WriteBytes(Out(), {'o', 'l', 'd'});
    EXPECT_TRUE(Export().empty());
    EXPECT_TRUE(std::filesystem::exists(Out()));
}

// A names line then a values line per live card; quotes, commas and line breaks are not escaped; an
// empty value leaves only its comma, one holding just its NUL gives "".
TEST_F(CardExportTest, NamesLineThenValuesLinePerCard) {
    auto mail = Card(u"Mail");
    AddField(*mail, u"User", u"user01");
    AddEmptyField(*mail, u"Password", kFieldPassword);
    AddTimeField(*mail, u"Since", Time(2009, 1, 31, 10, 15, 0));
    auto odd = Card(u"say \"hi\", bye");
    AddField(*odd, u"User, login", u"one\r\ntwo", 9);  // an unknown type is written as text
    auto last = Card(u"L");
    AddField(*last, u"OnlyNul", u"");
    AddEmptyField(*last, u"Empty");
    Add(*mail);
    uint32_t deleted = data.TakeCardId();  // only live cards, in store order
    ASSERT_TRUE(data.AddCard(*Card(u"Gone"), deleted));
    Add(*odd);
    Add(*last);
    ASSERT_TRUE(data.DeleteCard(deleted));
    EXPECT_EQ(Export(), Utf16Le(u"\"Name\",\"User\",\"Password\",\"Since\"\r\n"
                                u"\"Mail\",\"user01\",,\"01_31_2009 10:15:00\"\r\n"
                                u"\"Name\",\"User, login\"\r\n\"say \"hi\", bye\",\"one\r\ntwo\"\r\n"
                                u"\"Name\",\"OnlyNul\",\"Empty\"\r\n\"L\",\"\",\r\n"));
}

// Dates and times are written as stored in any zone; ones before 1900, out of range or too short to hold
// a time are the start of 1970 in local time.
TEST_F(CardExportTest, DatesAndTimesAreWrittenAsStoredOrAsTheStartOf1970) {
    AddDated(Time(2009, 1, 31, 23, 30));
    AddDated(Time(1999, 12, 5, 7, 8, 9), kFieldTime);
    AddDated(Time(2012, 2, 31));
    AddDated(Time(1899, 12, 31, 23, 59, 59));
    AddDated(Time(2009, 13, 1));
    auto shortValue = Card(u"D");
    AddTimeField(*shortValue, u"When", Time(2009, 1, 31));
    shortValue->fields.tail->element.value.resize(4);  // year and month only
    Add(*shortValue);
    const std::pair<const char*, std::u16string_view> zones[] = {{"UTC0", u"01_01_1970 00:00:00"},
                                                                 {"EST5", u"12_31_1969 19:00:00"},
                                                                 {"JST-9", u"01_01_1970 09:00:00"}};
    for (auto [zone, start] : zones) {
        ScopedEnv scoped("TZ", zone);
        std::u16string expected;
        const std::u16string_view times[] = {
            u"01_31_2009 23:30:00", u"12_05_1999 07:08:09", u"02_31_2012 00:00:00", start, start, start};
        for (std::u16string_view time : times)
            expected += u"\"Name\",\"When\"\r\n\"D\",\"" + std::u16string(time) + u"\"\r\n";
        EXPECT_EQ(Export(), Utf16Le(expected)) << zone;
    }
}

TEST_F(CardExportTest, RecordsWithoutFieldsOrThatCannotBeReadGiveEmptyLines) {
    Add(CTesseraItem());
    AppendWalletRecord(50, ::Bytes(15, 0xAB));
    SecureBytes truncated;
    ASSERT_TRUE(Card(u"Cut")->Serialize(truncated));
    truncated.resize(truncated.size() - 1);
    AppendWalletRecord(51, WalletCipher(truncated));
    AppendWalletRecord(52, WalletCipher([] {
                           SecureBytes plain;
                           Card(u"Z")->Serialize(plain);
                           return plain;
                       }()));
    auto model = Reloaded();
    EXPECT_EQ(Export(*model->WalletStore()), Utf16Le(u"\r\n\r\n\r\n\r\n\r\n\r\n\"Name\"\r\n\"Z\"\r\n"));
}

TEST_F(CardExportTest, TheFileIsForItsOwnerOnly) {
    Add(*Card(u"Secret"));
    Export();
    struct stat info {};
    ASSERT_EQ(stat(Out().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    std::filesystem::remove(Out());
    WriteBytes(Out(), {});
    std::filesystem::permissions(Out(), std::filesystem::perms(0644));
    Export();
    ASSERT_EQ(stat(Out().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(CardExportTest, FailuresAreReported) {
    Add(*Card(u"Secret"));
    std::string error;
    std::filesystem::path missing = dir / "no such folder" / "cards.txt";
    EXPECT_FALSE(ExportCards(*data.WalletStore(), missing, error));
    EXPECT_EQ(error, "No such file or directory");
    EXPECT_FALSE(std::filesystem::exists(missing));

    error.clear();
    EXPECT_FALSE(ExportCards(*data.WalletStore(), "/dev/full", error));
    EXPECT_EQ(error, "it exists and is not a regular file");
}

}  // namespace
