// The new store files that make a phone.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "phone/NewStoreFile.h"
#include "platform/ByteOrder.h"
#include "platform/SystemTime.h"
#include "store/PasswordBytes.h"

namespace {

// The store's tests open these files and pin what the open checks; here is what it skips.
TEST(NewStoreFileTest, WritesZeroPaddingTheTimeAndAPasswordSectionOfItsOwn) {
    TempDir dir;
    SecureBytes password = PasswordBytes(u"hunter2");
    std::string error;
    ASSERT_TRUE(
        CreateStoreFile(dir / "T.dat", StoreKind::Templates, password.data(), password.size(), error));
    std::vector<uint8_t> b = ReadBytes(dir / "T.dat");
    ASSERT_EQ(b.size(), 72u + 4 + 64 + 32);
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + 17, b.begin() + 32), std::vector<uint8_t>(15, 0));
    EXPECT_EQ(GetU32(b.data() + 40) | GetU32(b.data() + 44) | GetU32(b.data() + 48), 0u);
    SYSTEMTIME written = LoadTime(b.data() + 52);
    EXPECT_EQ(written.wYear, GetSystemTimeUtc().wYear);
    EXPECT_EQ(written.wDayOfWeek, DayOfWeek(written.wYear, written.wMonth, written.wDay));

    // A second file under the same password has a password section of its own.
    ASSERT_TRUE(
        CreateStoreFile(dir / "U.dat", StoreKind::Templates, password.data(), password.size(), error));
    std::vector<uint8_t> other = ReadBytes(dir / "U.dat");
    EXPECT_NE(std::vector<uint8_t>(other.begin() + 76, other.end()),
              std::vector<uint8_t>(b.begin() + 76, b.end()));
}

TEST(NewStoreFileTest, RefusesToReplaceAFileOrToUseNoPassword) {
    TempDir dir;
    WriteBytes(dir / "Tessera.dat", {1, 2, 3});
    SecureBytes password = PasswordBytes(u"x");
    std::string error;
    EXPECT_FALSE(
        CreateStoreFile(dir / "Tessera.dat", StoreKind::Wallet, password.data(), password.size(), error));
    EXPECT_EQ(ReadBytes(dir / "Tessera.dat"), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(CreateStoreFile(dir / "New.dat", StoreKind::Wallet, password.data(), 0, error));
    EXPECT_FALSE(std::filesystem::exists(dir / "New.dat"));
}

}  // namespace
