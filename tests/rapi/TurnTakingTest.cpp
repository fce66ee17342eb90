// Opens without sharing from a folder transport here and another program's file system over the same
// folder (as `--phone folder:` beside a served phone): the advisory lock keeps them apart.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "TestSupport.h"
#include "platform/rapi/FolderFileSystem.h"
#include "platform/rapi/FolderTransport.h"
#include "platform/rapi/RapiTransport.h"
#include "platform/rapi/TurnTaking.h"

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

TEST_F(TurnTakingTest, NoSharingHoldsAcrossProgramsButReadersOnlyRead) {
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
}

// A copy, a move and a delete of a file that another program holds are refused, and wait their turn.
TEST_F(TurnTakingTest, CopiesMovesAndDeletesWaitForTheProgramThatHoldsTheFile) {
    struct Case {
        const char* what;
        std::function<BOOL()> once, inTurn;
        const char* left;  // the file the call leaves at the end
        DWORD heldAccess;  // a move or a delete waits even for a reader
    };
    const Case cases[] = {
        {"copy", [] { return CeCopyFile(u"\\w.dat", u"\\copy.dat", TRUE); },
         [] { return CopyInTurn(u"\\w.dat", u"\\copy.dat", TRUE); }, "copy.dat", GENERIC_READ | GENERIC_WRITE},
        {"move", [] { return CeMoveFile(u"\\w.dat", u"\\moved.dat"); },
         [] { return MoveInTurn(u"\\w.dat", u"\\moved.dat"); }, "moved.dat", GENERIC_READ},
        {"delete", [] { return CeDeleteFile(u"\\w.dat"); }, [] { return DeleteInTurn(u"\\w.dat"); }, nullptr,
         GENERIC_READ},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes(dir / "w.dat", {1, 2, 3});
        ASSERT_EQ(HoldElsewhere(c.heldAccess), ERROR_SUCCESS);
        EXPECT_FALSE(c.once());
        EXPECT_EQ(CeGetLastError(), ERROR_SHARING_VIOLATION);
        std::thread release([this] {
            std::this_thread::sleep_for(100ms);
            held = {};
        });
        EXPECT_TRUE(c.inTurn());
        release.join();
        if (c.left) {
            EXPECT_EQ(ReadBytes(dir / c.left), (std::vector<uint8_t>{1, 2, 3}));
        }
        EXPECT_EQ(std::filesystem::exists(dir / "w.dat"), std::string(c.what) == "copy");
    }
}

// Another program moves the file away and back all the while: an open that succeeds holds the file under
// its name, never one moved away between the open and its lock.
TEST_F(TurnTakingTest, AnOpenNeverHoldsAFileMovedAwayBeforeItsLock) {
    std::atomic<bool> done = false;
    std::thread mover([&] {
        while (!done) {
            if (elsewhere.Move(u"\\w.dat", u"\\x.dat") != ERROR_SUCCESS) continue;
            while (elsewhere.Move(u"\\x.dat", u"\\w.dat") != ERROR_SUCCESS && !done) {
            }
        }
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
