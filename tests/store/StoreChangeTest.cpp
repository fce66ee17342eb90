#include <gtest/gtest.h>

#include <cstring>
#include <future>
#include <random>
#include <thread>

#include "StoreFixture.h"

namespace {

struct RecordHead {
    uint32_t deleted, id, offset, length;
    bool operator==(const RecordHead&) const = default;
};

RecordHead HeadAt(const std::vector<uint8_t>& bytes, uint32_t offset) {
    const uint8_t* p = bytes.data() + offset;
    return {GetU32(p), GetU32(p + 4), GetU32(p + 8), GetU32(p + 12)};
}

class StoreChangeTest : public StoreFixture {
protected:
    // The item a record holds, as its byte form.
    SecureBytes Plain(const item_entry_struct* entry) {
        SecureBytes plain;
        EXPECT_GT(store->GetRecordData(entry, &plain), 0u);
        return plain;
    }

    static SecureBytes ByteForm(const CTesseraItem& item) {
        SecureBytes bytes;
        item.Serialize(bytes);
        return bytes;
    }

    // The header bytes a change must leave alone, and a valid checksum.
    void ExpectHeaderKeptAndChecksumValid(const std::vector<uint8_t>& before) {
        std::vector<uint8_t> after = Bytes();
        EXPECT_EQ(std::memcmp(before.data(), after.data(), kStoreTimeOffset), 0);
        EXPECT_EQ(StoreHeaderChecksum(after.data()),
                  FileCrc(after.data() + kStoreHeaderSize, after.size() - kStoreHeaderSize));
        EXPECT_EQ(std::memcmp(store->Header(), after.data(), kStoreHeaderSize), 0);
        EXPECT_EQ(Reopen(), 0);
    }
};

TEST_F(StoreChangeTest, AddRecordAppendsAtTheEndAndRefreshesTheHeader) {
    OpenStore();
    std::vector<uint8_t> before = Bytes();
    CTesseraItem card;
    card.fields.AddTail(TextField(0, u"Name", u"New Card"));
    ASSERT_TRUE(store->AddRecord(card, 7));

    std::vector<uint8_t> after = Bytes();
    ASSERT_EQ(after.size(), before.size() + 16 + 208);
    EXPECT_EQ(std::memcmp(before.data() + 72, after.data() + 72, before.size() - 72), 0);
    uint32_t end = static_cast<uint32_t>(before.size());
    EXPECT_EQ(HeadAt(after, end), (RecordHead{0, 7, end, 208}));
    ExpectHeaderKeptAndChecksumValid(before);

    item_entry_struct& entry = store->records.tail->element;
    EXPECT_EQ(entry.offset, end);
    EXPECT_EQ(store->lastId, 0u);  // the caller takes ids from lastId beforehand
    EXPECT_EQ(Plain(&entry), ByteForm(card));
    EXPECT_EQ(std::vector<uint8_t>(after.begin() + before.size() + 16, after.end()), entry.data);
}

TEST_F(StoreChangeTest, UpdateOfTheSameLengthRewritesInPlace) {
    OpenStore();
    CTesseraItem card;
    card.fields.AddTail(TextField(0, u"Name", u"Alpha"));
    ASSERT_TRUE(store->AddRecord(card, 1));
    ASSERT_TRUE(store->AddRecord(card, 2));
    std::vector<uint8_t> before = Bytes();
    item_entry_struct* first = store->FindRecord(1);
    uint32_t offset = first->offset;

    card.fields.head->element.value[0] = 'B';
    ASSERT_TRUE(store->UpdateRecord(card, first));
    std::vector<uint8_t> after = Bytes();
    EXPECT_EQ(after.size(), before.size());
    EXPECT_EQ(first->offset, offset);
    EXPECT_EQ(HeadAt(after, offset).deleted, 0u);
    EXPECT_EQ(Plain(first), ByteForm(card));
    EXPECT_EQ(std::memcmp(after.data() + offset + 16, first->data.data(), first->length()), 0);
    // Nothing but the record and the header changed.
    EXPECT_EQ(std::memcmp(before.data() + 72, after.data() + 72, offset - 72), 0);
    EXPECT_EQ(std::memcmp(before.data() + offset + 16 + first->length(),
                          after.data() + offset + 16 + first->length(),
                          before.size() - offset - 16 - first->length()),
              0);
    ExpectHeaderKeptAndChecksumValid(before);
}

TEST_F(StoreChangeTest, UpdateOfAnotherLengthDeletesTheOldRecordAndAppends) {
    OpenStore();
    CTesseraItem card;
    ASSERT_TRUE(store->AddRecord(card, 1));
    std::vector<uint8_t> before = Bytes();
    item_entry_struct* entry = store->FindRecord(1);
    uint32_t oldOffset = entry->offset;

    card.fields.AddTail(TextField(0, u"Notes", std::u16string(100, u'n')));
    ASSERT_TRUE(store->UpdateRecord(card, entry));
    std::vector<uint8_t> after = Bytes();
    EXPECT_EQ(after.size(), before.size() + 16 + entry->length());
    EXPECT_EQ(entry->offset, before.size());
    EXPECT_EQ(HeadAt(after, oldOffset).deleted, 1u);
    EXPECT_EQ(HeadAt(after, entry->offset).offset, entry->offset);
    EXPECT_EQ(Plain(entry), ByteForm(card));
    EXPECT_EQ(store->records.count, 1);
    ExpectHeaderKeptAndChecksumValid(before);
}

TEST_F(StoreChangeTest, AWrongStoredOffsetWordNeverRedirectsAWrite) {
    std::vector<uint8_t> bytes = Bytes();
    AppendRecord(bytes, 0, 1, std::vector<uint8_t>(48, 0), 76);  // claims to sit inside the password block
    FixChecksum(bytes);
    WriteBytes(File(), bytes);
    OpenStore();
    item_entry_struct* entry = store->FindRecord(1);
    uint32_t real = static_cast<uint32_t>(bytes.size() - 64);
    ASSERT_EQ(entry->offset, real);
    CTesseraItem empty;
    ASSERT_TRUE(store->UpdateRecord(empty, entry));  // 48 bytes of ciphertext: in place
    std::vector<uint8_t> after = Bytes();
    EXPECT_EQ(std::memcmp(after.data() + 72, bytes.data() + 72, real - 72), 0);
    EXPECT_EQ(HeadAt(after, real).offset, real);  // written with the correct word
    ASSERT_TRUE(store->DeleteRecord(entry));
    EXPECT_EQ(HeadAt(Bytes(), real).deleted, 1u);
    EXPECT_EQ(Reopen(), 0);
}

TEST_F(StoreChangeTest, DeleteRecordMarksTheRecordAndDropsTheEntry) {
    OpenStore();
    CTesseraItem card;
    ASSERT_TRUE(store->AddRecord(card, 1));
    ASSERT_TRUE(store->AddRecord(card, 2));
    std::vector<uint8_t> before = Bytes();
    item_entry_struct* first = store->FindRecord(1);
    uint32_t offset = first->offset;
    ASSERT_TRUE(store->DeleteRecord(first));
    std::vector<uint8_t> after = Bytes();
    EXPECT_EQ(after.size(), before.size());
    EXPECT_EQ(HeadAt(after, offset).deleted, 1u);
    EXPECT_EQ(store->records.count, 1);
    EXPECT_EQ(store->FindRecord(1), nullptr);
    ExpectHeaderKeptAndChecksumValid(before);

    item_entry_struct stranger;
    EXPECT_FALSE(store->DeleteRecord(&stranger));
    EXPECT_EQ(Bytes(), after);
    CTesseraEncryptedLinkList reopened(u"\\Tessera.dat", kWalletFileType);
    ASSERT_EQ(reopened.Open(), 0);
    EXPECT_EQ(reopened.records.count, 1);
    EXPECT_EQ(reopened.lastId, 2u);
}

TEST_F(StoreChangeTest, AChangeWaitsItsTurnAndFailsAsInUseOnlyWhenTheFileStaysHeld) {
    OpenStore();
    CTesseraItem card;
    ASSERT_TRUE(store->AddRecord(card, 1));
    std::promise<void> holding;
    std::thread holder([&] {
        RapiConnection session;
        HANDLE held = CeCreateFile(u"\\Tessera.dat", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        holding.set_value();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        CeCloseHandle(held);
    });
    holding.get_future().wait();
    EXPECT_TRUE(store->AddRecord(card, 2));
    holder.join();

    HANDLE held = CeCreateFile(u"\\Tessera.dat", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::vector<uint8_t> before = Bytes();
    size_t logged = CountLogLines("Critical Error: TesseraFileAccess");
    EXPECT_FALSE(store->AddRecord(card, 3));
    EXPECT_EQ(store->LastChange(), CTesseraEncryptedLinkList::kChangeInUse);
    EXPECT_EQ(CountLogLines("Critical Error: TesseraFileAccess"),
              logged + 2);  // the open, then the operation
    CeCloseHandle(held);
    EXPECT_EQ(Bytes(), before);
}

// The checksum carried from the bytes each change writes equals one read over the whole file.
TEST_F(StoreChangeTest, TheKeptChecksumEqualsAFullRereadOverRandomChanges) {
    OpenStore();
    std::mt19937 random(11);
    std::vector<uint32_t> ids;
    for (uint32_t step = 0, nextId = 1; step < 80; ++step) {
        CTesseraItem card;
        card.fields.AddTail(TextField(0, u"Name", std::u16string(1 + random() % 24, u'x')));
        uint32_t kind = ids.empty() ? 0 : random() % 3;
        size_t pick = ids.empty() ? 0 : random() % ids.size();
        if (kind == 0) {
            ASSERT_TRUE(store->AddRecord(card, nextId));
            ids.push_back(nextId++);
        } else if (kind == 1) {
            ASSERT_TRUE(store->UpdateRecord(card, store->FindRecord(ids[pick])));
        } else {
            ASSERT_TRUE(store->DeleteRecord(store->FindRecord(ids[pick])));
            ids.erase(ids.begin() + pick);
        }
        std::vector<uint8_t> bytes = Bytes();
        ASSERT_EQ(store->Checksum(),
                  FileCrc(bytes.data() + kStoreHeaderSize, bytes.size() - kStoreHeaderSize))
            << "step " << step << ", change " << kind;
    }
    EXPECT_EQ(Reopen(), 0);
}

}  // namespace
