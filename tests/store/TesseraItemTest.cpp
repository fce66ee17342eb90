#include "store/TesseraItem.h"

#include <gtest/gtest.h>

#include <cstring>

#include "StoreFixture.h"
#include "platform/ByteOrder.h"
#include "store/BufferCipher.h"

namespace {

bool SameTime(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(TesseraItemTest, SerializeLaysOutTheHeadAndFieldsLittleEndian) {
    CTesseraItem item;
    item.icon = 0x01020304;
    item.categoryId = 3 * 65536 + 17;
    item.draft = 1;
    item.created = SYSTEMTIME{2024, 2, 4, 29, 23, 59, 58, 999};
    ItemField field = TextField(3, u"PIN", u"12");
    field.name[10] = u'Z';  // units after the NUL are kept as held
    item.fields.AddTail(field);
    SecureBytes bytes;
    ASSERT_TRUE(item.Serialize(bytes));
    ASSERT_EQ(bytes.size(), 44u + 136u + 6u);
    EXPECT_EQ(GetU32(bytes.data()), 0x01020304u);
    EXPECT_EQ(GetU32(bytes.data() + 4), 3u * 65536u + 17u);
    EXPECT_EQ(GetU32(bytes.data() + 8), 1u);
    EXPECT_EQ(GetU16(bytes.data() + 12), 2024);
    EXPECT_EQ(GetU16(bytes.data() + 12 + 14), 999);
    EXPECT_EQ(GetU32(bytes.data() + 44), 3u);
    EXPECT_EQ(GetU16(bytes.data() + 48), u'P');
    EXPECT_EQ(GetU16(bytes.data() + 48 + 20), u'Z');
    EXPECT_EQ(GetU32(bytes.data() + 44 + 132), 6u);
    EXPECT_EQ(GetU16(bytes.data() + 44 + 136), u'1');
}

TEST(TesseraItemTest, DeserializeRoundTripsEveryMemberAndField) {
    CTesseraItem item;
    item.icon = 42;
    item.categoryId = 7;
    item.created = SYSTEMTIME{1999, 12, 5, 31, 1, 2, 3, 4};
    item.fields.AddTail(TextField(0, u"Name", u"Bank"));
    ItemField empty;
    empty.type = 9;
    empty.SetName(u"Empty");
    empty.name[40] = u'q';
    item.fields.AddTail(empty);
    item.fields.AddTail(TextField(4, u"URL", u"https://example.org/\u00e9"));
    SecureBytes bytes;
    ASSERT_TRUE(item.Serialize(bytes));

    CTesseraItem copy;
    ASSERT_TRUE(copy.Deserialize(bytes.data(), bytes.size()));
    SecureBytes again;
    ASSERT_TRUE(copy.Serialize(again));
    EXPECT_EQ(again, bytes);
    ASSERT_EQ(copy.fields.count, 3);
    EXPECT_EQ(copy.fields.head->next->element.length(), 0u);
    EXPECT_EQ(copy.fields.head->next->element.name[40], u'q');
    EXPECT_EQ(copy.fields.tail->element.Name(), u"URL");
}

TEST(TesseraItemTest, DeserializeRejectsTruncatedAndOverlongInput) {
    SecureBytes bytes(44 + 136 + 4, 0);
    CTesseraItem item;
    item.fields.AddTail(TextField(0, u"Old", u"x"));
    EXPECT_FALSE(item.Deserialize(bytes.data(), 43));
    EXPECT_EQ(item.fields.count, 0);
    EXPECT_FALSE(item.Deserialize(nullptr, 100));
    EXPECT_TRUE(item.Deserialize(bytes.data(), 44));
    EXPECT_EQ(item.fields.count, 0);
    EXPECT_FALSE(item.Deserialize(bytes.data(), 44 + 135));
    EXPECT_TRUE(item.Deserialize(bytes.data(), 44 + 136));
    EXPECT_EQ(item.fields.count, 1);

    // A value length that runs past the end, including lengths near 2^32 that would wrap a sum.
    for (uint32_t length : {5u, 0xFFFFFFFFu, 0xFFFFFFFFu - 135u, 0x80000000u}) {
        PutU32(bytes.data() + 44 + 132, length);
        EXPECT_FALSE(item.Deserialize(bytes.data(), bytes.size())) << length;
        EXPECT_EQ(item.fields.count, 0);
    }
    PutU32(bytes.data() + 44 + 132, 4);
    EXPECT_TRUE(item.Deserialize(bytes.data(), bytes.size()));
}

// CopyFrom copies deeply and exactly; CopyAsNew keeps the copy's own creation time and touches modified.
TEST(TesseraItemTest, CopyFromAndCopyAsNew) {
    CTesseraItem source;
    source.icon = 5;
    source.draft = 1;
    source.categoryId = 9;
    source.modified = source.created = SYSTEMTIME{2001, 1, 1, 1, 0, 0, 0, 0};
    source.fields.AddTail(TextField(3, u"Password", u"secret"));
    CTesseraItem copy, card;
    ASSERT_TRUE(copy.CopyFrom(source));
    EXPECT_TRUE(SameTime(copy.created, source.created));
    EXPECT_TRUE(SameTime(copy.modified, source.modified));
    card.created = SYSTEMTIME{2020, 6, 1, 1, 0, 0, 0, 0};
    ASSERT_TRUE(card.CopyAsNew(source));
    source.fields.head->element.value[0] = 'X';
    for (CTesseraItem* item : {&copy, &card}) {
        EXPECT_EQ(item->fields.head->element.value[0], 's');
        EXPECT_EQ(item->icon, 5u);
        EXPECT_EQ(item->categoryId, 9u);
    }
    EXPECT_EQ(copy.draft, 1u);
    EXPECT_EQ(card.created.wYear, 2020);
    EXPECT_GT(card.modified.wYear, 2020);
}

TEST(TesseraItemTest, FieldsAreAddedAsCopiesAndRemovedOnlyByIdentity) {
    CTesseraItem item;
    item.modified = SYSTEMTIME{2001, 1, 1, 1, 0, 0, 0, 0};
    ItemField field = TextField(0, u"Name", u"A");
    ASSERT_TRUE(item.AddField(field));
    EXPECT_GT(item.GetModified().wYear, 2001);
    field.value[0] = 'B';
    EXPECT_EQ(item.fields.head->element.value[0], 'A');

    item.modified = SYSTEMTIME{2001, 1, 1, 1, 0, 0, 0, 0};
    ItemField equal = item.fields.head->element;
    EXPECT_FALSE(item.RemoveField(&equal));
    EXPECT_EQ(item.fields.count, 1);
    EXPECT_EQ(item.modified.wYear, 2001);
    EXPECT_TRUE(item.RemoveField(&item.fields.head->element));
    EXPECT_EQ(item.fields.count, 0);
    EXPECT_GT(item.modified.wYear, 2001);
}

TEST(TesseraItemTest, NamesAreCutTo63UnitsAndReadUpToTheirNul) {
    ItemField field;
    field.SetName(std::u16string(80, u'n'));
    EXPECT_EQ(field.Name().size(), 63u);
    EXPECT_EQ(field.name[63], 0);
}

}  // namespace
