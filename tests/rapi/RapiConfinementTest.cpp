// Only the phone's own folder is served: names that climb out, symbolic links, characters the phone
// does not allow and over-long paths are refused, and nothing outside is touched.
#include <atomic>
#include <chrono>

#include "RapiContract.h"
#include "platform/Utf16.h"

namespace {

class RapiConfinementTest : public RapiContractTest {
protected:
    void SetUp() override {
        RapiContractTest::SetUp();
        WriteBytes(Outside() / "secret.txt", {'s'});
        std::filesystem::create_directory_symlink(Outside(), Host("out"));
        std::filesystem::create_symlink(Outside() / "secret.txt", Host("secret"));
    }

    // The folder outside the phone still holds exactly its one untouched file.
    void ExpectOutsideUntouched() {
        EXPECT_EQ(ReadText(Outside() / "secret.txt"), "s");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Outside()), {}), 1);
    }
};
INSTANTIATE_TEST_SUITE_P(Transports, RapiConfinementTest, ::testing::ValuesIn(ContractTransports()),
                         ContractTransportName);

TEST_P(RapiConfinementTest, DotPartsAndCharactersThePhoneForbidsAreRefused) {
    std::vector<std::u16string> bad{u"\\..\\outside\\escape", u"\\.\\x", u"relative.txt", u"\\a\\\\b",
                                    u"\\a\xD800"};  // the last a lone surrogate
    for (std::u16string c : {u"<", u">", u":", u"\"", u"/", u"|", u"?", u"*", u"\x01", u"\x1f"})
        bad.push_back(u"\\a" + c + u"b");
    for (const std::u16string& name : bad) {
        EXPECT_EQ(OpenError(name.c_str(), GENERIC_WRITE, 0, CREATE_ALWAYS), ERROR_INVALID_NAME)
            << Utf16ToUtf8Lossy(name);
    }
    std::vector<char16_t> unterminated(MAX_PATH, u'a');  // read no further than MAX_PATH
    unterminated[0] = u'\\';
    EXPECT_EQ(OpenError(unterminated.data(), GENERIC_WRITE, 0, CREATE_ALWAYS), ERROR_INVALID_NAME);
    EXPECT_EQ(OpenError(u"\\..\\outside\\secret.txt", GENERIC_READ, 0, OPEN_EXISTING), ERROR_INVALID_NAME);
    EXPECT_FALSE(CeCreateDirectory(u"\\..\\outside\\made", nullptr));
    EXPECT_FALSE(CeCopyFile(u"\\..\\outside\\secret.txt", u"\\stolen", FALSE));
    EXPECT_TRUE(Refused(!CeDeleteFile(u"\\..\\outside\\secret.txt"), ERROR_INVALID_NAME));
    EXPECT_EQ(FindNames(u"\\..\\outside\\*"), std::vector<std::u16string>{});
    CE_FIND_DATA data;
    EXPECT_EQ(CeFindFirstFile(u"\\*\\x", &data), INVALID_HANDLE_VALUE);  // wildcards only in the last part
    EXPECT_EQ(CeGetLastError(), ERROR_INVALID_NAME);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Host("")), {}), 2);  // the two links only
    ExpectOutsideUntouched();
}

TEST_P(RapiConfinementTest, SymbolicLinksAreNeitherFollowedNorShown) {
    Put(u"\\mine", "m");
    EXPECT_EQ(OpenError(u"\\out\\secret.txt", GENERIC_READ, 0, OPEN_EXISTING), ERROR_ACCESS_DENIED);
    EXPECT_EQ(OpenError(u"\\out\\new", GENERIC_WRITE, 0, CREATE_ALWAYS), ERROR_ACCESS_DENIED);
    EXPECT_EQ(OpenError(u"\\secret", GENERIC_READ, 0, OPEN_EXISTING), ERROR_ACCESS_DENIED);
    EXPECT_EQ(OpenError(u"\\secret", GENERIC_WRITE, 0, CREATE_ALWAYS), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(CeCopyFile(u"\\secret", u"\\stolen", FALSE));
    EXPECT_FALSE(CeCopyFile(u"\\mine", u"\\secret", FALSE));
    EXPECT_FALSE(CeCreateDirectory(u"\\out\\made", nullptr));
    EXPECT_FALSE(CeMoveFile(u"\\out\\secret.txt", u"\\stolen"));
    EXPECT_TRUE(Refused(!CeDeleteFile(u"\\secret"), ERROR_ACCESS_DENIED));
    EXPECT_EQ(FindNames(u"\\*"), std::vector<std::u16string>{u"mine"});
    EXPECT_EQ(FindNames(u"\\out\\*"), std::vector<std::u16string>{});
    EXPECT_TRUE(std::filesystem::is_symlink(Host("secret")));
    EXPECT_FALSE(std::filesystem::exists(Host("stolen")));
    ExpectOutsideUntouched();
}

TEST_P(RapiConfinementTest, PathsOfMaxPathUnitsAreRefused) {
    // Nested folders keep every part short enough for the host.
    std::u16string path;
    while (path.size() + 51 < MAX_PATH - 1) {
        path += u"\\" + std::u16string(50, u'd');
        ASSERT_TRUE(CeCreateDirectory(path.c_str(), nullptr));
    }
    std::u16string longest = path + u"\\" + std::u16string(MAX_PATH - 2 - path.size(), u'f');
    ASSERT_EQ(longest.size(), MAX_PATH - 1);
    EXPECT_EQ(OpenError(longest.c_str(), GENERIC_WRITE, 0, CREATE_NEW), ERROR_SUCCESS);
    std::u16string tooLong = longest + u"g";
    EXPECT_EQ(OpenError(tooLong.c_str(), GENERIC_WRITE, 0, CREATE_NEW), ERROR_INVALID_NAME);
    EXPECT_EQ(FindNames((path + u"\\*").c_str()).size(), 1u);
}

TEST_P(RapiConfinementTest, HardLinksToOutsideFilesAreNotWritten) {
    std::filesystem::create_hard_link(Outside() / "secret.txt", Host("linked"));
    Put(u"\\mine", "m");
    EXPECT_EQ(OpenError(u"\\linked", GENERIC_WRITE, 0, OPEN_EXISTING), ERROR_ACCESS_DENIED);
    EXPECT_EQ(OpenError(u"\\linked", GENERIC_WRITE, 0, CREATE_ALWAYS), ERROR_ACCESS_DENIED);  // not truncated
    EXPECT_TRUE(Refused(!CeCopyFile(u"\\mine", u"\\linked", FALSE), ERROR_ACCESS_DENIED));
    ExpectOutsideUntouched();
}

// Another thread swaps a folder for a link to the outside and back while the client works through it.
TEST_P(RapiConfinementTest, AFolderSwappedForALinkNeverLeadsOutside) {
    std::filesystem::create_directory(Host("swapped"));
    WriteBytes(Host("swapped") / "secret.txt", {'i'});
    WriteBytes(Host("swapped") / "inner.txt", {});
    std::atomic<bool> stop{false};
    std::thread swapper([&] {
        while (!stop) {
            std::filesystem::rename(Host("swapped"), Host("parked"));
            std::filesystem::create_directory_symlink(Outside(), Host("swapped"));
            std::filesystem::remove(Host("swapped"));
            std::filesystem::rename(Host("parked"), Host("swapped"));
        }
    });
    int inside = 0;
    for (auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
         std::chrono::steady_clock::now() < end;) {
        std::string read = Contents(u"\\swapped\\secret.txt");
        EXPECT_NE(read, "s");
        inside += read == "i";
        if (CeCopyFile(u"\\swapped\\secret.txt", u"\\copy", FALSE)) {
            EXPECT_EQ(Contents(u"\\copy"), "i");
        }
        HANDLE made = Open(u"\\swapped\\new.txt", GENERIC_WRITE, 0, CREATE_ALWAYS);
        if (made != INVALID_HANDLE_VALUE) CeCloseHandle(made);
        EXPECT_FALSE(std::filesystem::exists(Outside() / "new.txt"));
        CeDeleteFile(u"\\swapped\\new.txt");
        std::vector<std::u16string> listed = FindNames(u"\\swapped\\*");
        EXPECT_TRUE(listed.empty() || listed.front() == u"inner.txt");
    }
    stop = true;
    swapper.join();
    EXPECT_GT(inside, 0);  // the race was run, not always lost
    ExpectOutsideUntouched();
}

}  // namespace
