// Opens without sharing from a folder transport here and another program's file system over the same
// folder (as `--phone folder:` beside a served phone): the advisory lock keeps them apart.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "TestSupport.h"
#include "platform/rapi/phone/FolderFileSystem.h"
#include "platform/rapi/phone/FolderTransport.h"
#include "platform/rapi/api/RapiTransport.h"
#include "platform/rapi/client/TurnTaking.h"

namespace {

using namespace std::chrono_literals;

class TurnTakingTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteBytes(dir / "w.dat", {1, 2, 3});
        RapiSetTransport(FolderTransport::ForFsRoot(dir.Path()));
        connection = std::make_unique<RapiConnection>();
        ASSERT_TRUE(connection->Ok());
    }

    void TearDown() override {
        connection.reset();
        RapiSetTransport(nullptr);
    }

    DWORD HoldElsewhere(DWORD access, DWORD disposition = OPEN_EXISTING) {
        return elsewhere.Open(u"\\w.dat", access, 0, disposition, &held);
    }

    TempDir dir;
    FolderFileSystem elsewhere{dir.Path()};
    OpenedFile held;
    std::unique_ptr<RapiConnection> connection;
};

TEST_F(TurnTakingTest, NoSharingHoldsAcrossProgramsButReadersOnlyReadAndCopiesMovesAndDeletesWait) {
    struct Case {
        DWORD heldAccess, access;
        bool refused;
    };
    for (Case c :
         {Case{GENERIC_READ | GENERIC_WRITE, GENERIC_READ, true},
          Case{GENERIC_READ, GENERIC_READ | GENERIC_WRITE, true}, Case{GENERIC_READ, GENERIC_READ, false}}) {
        ASSERT_EQ(HoldElsewhere(c.heldAccess), ERROR_SUCCESS);
        HANDLE file = OpenWithoutSharing(u"\\w.dat", c.access, OPEN_EXISTING, 0ms);
        EXPECT_EQ(file == INVALID_HANDLE_VALUE, c.refused) << c.heldAccess << " " << c.access;
        if (file == INVALID_HANDLE_VALUE) {
            EXPECT_EQ(CeGetLastError(), ERROR_SHARING_VIOLATION);
        }
        CeCloseHandle(file);
        held = {};
    }
    // A truncating open that the other program's lock refuses leaves the file as it was.
    HANDLE mine = OpenWithoutSharing(u"\\w.dat", GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(mine, INVALID_HANDLE_VALUE);
    EXPECT_EQ(HoldElsewhere(GENERIC_WRITE, CREATE_ALWAYS), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(ReadBytes(dir / "w.dat"), (std::vector<uint8_t>{1, 2, 3}));
    CeCloseHandle(mine);
    // A copy waits for a writer, a move or a delete even for a reader; then it takes its turn.
    ASSERT_EQ(HoldElsewhere(GENERIC_WRITE), ERROR_SUCCESS);
    EXPECT_FALSE(CeCopyFile(u"\\w.dat", u"\\copy.dat", TRUE));
    EXPECT_EQ(CeGetLastError(), ERROR_SHARING_VIOLATION);
    held = {};
    ASSERT_EQ(HoldElsewhere(GENERIC_READ), ERROR_SUCCESS);
    EXPECT_FALSE(CeMoveFile(u"\\w.dat", u"\\moved.dat") || CeDeleteFile(u"\\w.dat"));
    EXPECT_EQ(CeGetLastError(), ERROR_SHARING_VIOLATION);
    std::thread release([this] {
        std::this_thread::sleep_for(100ms);
        held = {};
    });
    EXPECT_TRUE(CopyInTurn(u"\\w.dat", u"\\copy.dat", TRUE) && MoveInTurn(u"\\w.dat", u"\\moved.dat"));
    release.join();
    EXPECT_EQ(ReadBytes(dir / "moved.dat"), ReadBytes(dir / "copy.dat"));
}

// Another program moves the file away and back all the while: an open that succeeds holds the file under
// its name, never one moved away between the open and its lock.
TEST_F(TurnTakingTest, AnOpenNeverHoldsAFileMovedAwayBeforeItsLock) {
    std::atomic<bool> done = false;
    std::thread mover([&] {
        for (bool away = false; !done;)
            away ^= elsewhere.Move(away ? u"\\x.dat" : u"\\w.dat", away ? u"\\w.dat" : u"\\x.dat") ==
                    ERROR_SUCCESS;
    });
    int strays = 0;
    for (int i = 0; i < 20000; ++i) {
        HANDLE file = CeCreateFile(u"\\w.dat", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) continue;
        strays += !std::filesystem::exists(dir / "w.dat");
        CeCloseHandle(file);
    }
    done = true;
    mover.join();
    EXPECT_EQ(strays, 0);
}

}  // namespace
