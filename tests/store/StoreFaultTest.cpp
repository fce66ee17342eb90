#include <gtest/gtest.h>

#include <functional>

#include "StoreFixture.h"

namespace {

// Each call of a change failing in turn, and each write coming up short, on a fresh copy of the file.
class StoreFaultTest : public StoreFixture {
protected:
    using Change = std::function<bool(CTesseraEncryptedLinkList&)>;

    void SetUp() override {
        StoreFixture::SetUp();
        CTesseraEncryptedLinkList& opened = OpenStore();
        CTesseraItem card;
        ASSERT_TRUE(opened.AddRecord(card, 1));
        ASSERT_TRUE(opened.AddRecord(card, 2));
        before = Bytes();
    }

    // Counts the calls of each kind that the change makes when nothing fails.
    std::map<RapiOp, uint64_t> CallsOf(const Change& change) {
        OpenStore();
        faults->ResetCounters();
        EXPECT_TRUE(change(*store));
        std::map<RapiOp, uint64_t> calls;
        for (RapiOp op : {RapiOp::CreateFile, RapiOp::ReadFile, RapiOp::WriteFile, RapiOp::SetFilePointer,
                          RapiOp::GetFileSize})
            calls[op] = faults->Calls(op);
        return calls;
    }

    // Arms a fault, runs the change on a fresh copy and checks the failure is clean.
    void ExpectCleanFailure(const Change& change, const std::function<void()>& arm, const std::string& what,
                            const std::function<void(CTesseraEncryptedLinkList&)>& checkStore) {
        WriteBytes(File(), before);
        OpenStore();
        size_t logged =
            CountLogLines("Critical Error: TesseraFileAccess\t(from TesseraEncryptedLinkList.cpp,");
        arm();
        EXPECT_FALSE(change(*store)) << what;
        faults->Disarm();
        EXPECT_GE(CountLogLines("Critical Error: TesseraFileAccess\t(from TesseraEncryptedLinkList.cpp,"),
                  logged + 2)
            << what;
        checkStore(*store);
        // Either nothing was written, or the stale checksum shows at the next open.
        int code = Reopen();
        EXPECT_TRUE(code == -6 || (code == 0 && Bytes() == before)) << what << ": code " << code;
    }

    void ExpectEveryFaultHandled(const Change& change,
                                 const std::function<void(CTesseraEncryptedLinkList&)>& checkStore) {
        auto calls = CallsOf(change);
        ASSERT_GT(calls[RapiOp::WriteFile], 0u);
        for (auto [op, count] : calls) {
            for (uint64_t nth = 1; nth <= count; ++nth) {
                std::string what = "call kind " + std::to_string(int(op)) + " #" + std::to_string(nth);
                ExpectCleanFailure(
                    change, [&] { faults->FailCall(op, nth, ERROR_GEN_FAILURE); }, what, checkStore);
            }
        }
        for (uint64_t nth = 1; nth <= calls[RapiOp::WriteFile]; ++nth) {
            std::string what = "short write #" + std::to_string(nth);
            ExpectCleanFailure(
                change, [&] { faults->ShortWrite(nth, 3); }, what, checkStore);
        }
        // A short read of the header; short reads in the checksum pass only cost more reads.
        ExpectCleanFailure(
            change, [&] { faults->ShortRead(1, 10); }, "short header read", checkStore);
    }

    std::vector<uint8_t> before;
};

TEST_F(StoreFaultTest, AFailedAddLeavesTheListAsItWas) {
    CTesseraItem card;
    ExpectEveryFaultHandled([&](auto& s) { return s.AddRecord(card, 3); },
                            [](auto& s) {
                                EXPECT_EQ(s.records.count, 2);
                                EXPECT_EQ(s.FindRecord(3), nullptr);
                            });
}

TEST_F(StoreFaultTest, AFailedBatchedAddLeavesTheListAsItWas) {
    CTesseraItem card;
    const NewRecord batch[] = {{&card, 3}, {&card, 4}, {&card, 5}};
    ExpectEveryFaultHandled([&](auto& s) { return s.AddRecords(batch); },
                            [](auto& s) {
                                EXPECT_EQ(s.records.count, 2);
                                EXPECT_EQ(s.FindRecord(3), nullptr);
                            });
}

TEST_F(StoreFaultTest, AFailedUpdateKeepsTheEntrysOffsetAndData) {
    CTesseraItem bigger;
    bigger.fields.AddTail(TextField(0, u"Notes", std::u16string(31, u'n')));
    std::vector<uint8_t> oldData;
    uint32_t oldOffset = 0;
    ExpectEveryFaultHandled(
        [&](auto& s) {
            item_entry_struct* entry = s.FindRecord(1);
            oldData = entry->data;
            oldOffset = entry->offset;
            return s.UpdateRecord(bigger, entry);
        },
        [&](auto& s) {
            EXPECT_EQ(s.FindRecord(1)->offset, oldOffset);
            EXPECT_EQ(s.FindRecord(1)->data, oldData);
        });
}

TEST_F(StoreFaultTest, AFailedDeleteStillDropsTheEntry) {
    ExpectEveryFaultHandled([](auto& s) { return s.DeleteRecord(s.FindRecord(2)); },
                            [](auto& s) {
                                EXPECT_EQ(s.records.count, 1);
                                EXPECT_EQ(s.FindRecord(2), nullptr);
                            });
}

TEST_F(StoreFaultTest, OpenReportsAFailedReadAsTheStepItBroke) {
    struct Case {
        uint64_t read;
        int code;
    };
    // Reads: header, the checksum pass (two chunks: data, then end of file), the password length,
    // block and hash, then the first record's head.
    for (Case c : std::initializer_list<Case>{{1, -2}, {2, -6}, {4, -7}, {5, -8}, {6, -9}}) {
        faults->FailCall(RapiOp::ReadFile, c.read, ERROR_GEN_FAILURE);
        CTesseraEncryptedLinkList opened(u"\\Tessera.dat", kWalletFileType);
        EXPECT_EQ(opened.Open(), c.code) << "read #" << c.read;
        faults->Disarm();
    }
    // A sharing violation is waited out; another failure of the open is not.
    faults->FailCall(RapiOp::CreateFile, 1, ERROR_SHARING_VIOLATION);
    EXPECT_EQ(Reopen(), 0);
    faults->FailCall(RapiOp::CreateFile, 1, ERROR_ACCESS_DENIED);
    EXPECT_EQ(Reopen(), -1);
    // A failed read in the record area is no end of the file: the list would come up short.
    CTesseraEncryptedLinkList opened(u"\\Tessera.dat", kWalletFileType);
    for (uint64_t read : {7, 8, 9}) {  // the first record's head and data, the second's head
        faults->FailCall(RapiOp::ReadFile, read, ERROR_GEN_FAILURE);
        EXPECT_EQ(opened.Open(), -10) << "read #" << read;
    }
    faults->Disarm();
    EXPECT_EQ(opened.Open(), 0);
    EXPECT_EQ(opened.records.count, 2);
}

}  // namespace
