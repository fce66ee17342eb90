// Sessions: one per thread, their handles, their "no sharing" opens, and how they begin and end.
#include <atomic>
#include <chrono>

#include "RapiContract.h"

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE;

class RapiSessionTest : public RapiContractTest {};
INSTANTIATE_TEST_SUITE_P(Transports, RapiSessionTest, ::testing::ValuesIn(ContractTransports()),
                         ContractTransportName);

DWORD OtherSessionOpens(DWORD access, DWORD share, DWORD disposition = OPEN_EXISTING) {
    return InOtherSession([=] { return OpenError(u"\\W.DAT", access, share, disposition); });
}

TEST_P(RapiSessionTest, NoSharingOpenShutsOutAndIsShutOutByEveryOtherOpen) {
    Put(u"\\w.dat", "precious");
    HANDLE held = Open(u"\\w.dat", GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(OtherSessionOpens(GENERIC_READ, kShareAll), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(OpenError(u"\\w.dat", GENERIC_READ, kShareAll, OPEN_EXISTING), ERROR_SHARING_VIOLATION);
    EXPECT_TRUE(CeCloseHandle(held));

    HANDLE shared = Open(u"\\w.dat", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    EXPECT_EQ(OtherSessionOpens(GENERIC_READ, 0), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(OtherSessionOpens(GENERIC_WRITE, 0, CREATE_ALWAYS), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(OtherSessionOpens(GENERIC_READ, FILE_SHARE_READ), ERROR_SUCCESS);
    EXPECT_EQ(OtherSessionOpens(GENERIC_WRITE, kShareAll),
              ERROR_SHARING_VIOLATION);  // it shares reading only
    EXPECT_TRUE(CeCloseHandle(shared));
    EXPECT_EQ(Contents(u"\\w.dat"), "precious");
    EXPECT_EQ(OtherSessionOpens(GENERIC_READ, 0), ERROR_SUCCESS);
}

TEST_P(RapiSessionTest, EndingASessionReleasesItsFiles) {
    Put(u"\\w.dat", "x");
    OnNewThread([] {
        RapiConnection connection;
        return Open(u"\\w.dat", GENERIC_READ, 0, OPEN_EXISTING);  // left open when the session ends
    });
    EXPECT_EQ(OpenError(u"\\w.dat", GENERIC_READ, 0, OPEN_EXISTING), ERROR_SUCCESS);
    OnNewThread([] {
        CeRapiInit();
        return Open(u"\\w.dat", GENERIC_READ, 0, OPEN_EXISTING);  // the thread ends without CeRapiUninit
    });
    EXPECT_EQ(OpenError(u"\\w.dat", GENERIC_READ, 0, OPEN_EXISTING), ERROR_SUCCESS);
}

TEST_P(RapiSessionTest, ThreadsWithoutASessionAreNotConnected) {
    EXPECT_EQ(OnNewThread([] { return OpenError(u"\\f", GENERIC_WRITE, 0, CREATE_ALWAYS); }),
              ERROR_NOT_CONNECTED);
    EXPECT_EQ(OnNewThread([] { return FindNames(u"\\*").size(); }), 0u);
    EXPECT_EQ(OnNewThread([] {
                  HKEY key;
                  return CeRegOpenKeyEx(HKEY_LOCAL_MACHINE, u"Software", 0, KEY_READ, &key);
              }),
              static_cast<LONG>(ERROR_NOT_CONNECTED));
    EXPECT_FALSE(std::filesystem::exists(Host("f")));
}

TEST_P(RapiSessionTest, HandlesBelongToTheirSessionAndEndWithIt) {
    HANDLE file = Open(u"\\f", GENERIC_READ, kShareAll, CREATE_NEW);
    EXPECT_EQ(InOtherSession([file] {
                  CeGetFileSize(file, nullptr);
                  return CeGetLastError();
              }),
              ERROR_INVALID_HANDLE);
    // A second init keeps the first session and its handles.
    EXPECT_EQ(CeRapiInit(), CERAPI_E_ALREADYINITIALIZED);
    EXPECT_FALSE(RapiConnection().Ok());
    EXPECT_EQ(CeGetFileSize(file, nullptr), 0u);
    EXPECT_EQ(CeGetLastError(), ERROR_SUCCESS);

    EXPECT_EQ(CeRapiUninit(), S_OK);
    EXPECT_TRUE(Refused(!CeCloseHandle(file), ERROR_NOT_CONNECTED));
    EXPECT_EQ(CeRapiUninit(), E_FAIL);
    ASSERT_EQ(CeRapiInit(), S_OK);
    EXPECT_TRUE(Refused(!CeCloseHandle(file), ERROR_INVALID_HANDLE));
    EXPECT_EQ(OpenError(u"\\f", GENERIC_READ, 0, OPEN_EXISTING), ERROR_SUCCESS);
}

TEST_P(RapiSessionTest, InitExSignalsItsEventUntilTheSessionEnds) {
    struct Outcome {
        HRESULT result;
        RAPIINIT init;
        DWORD wait;
    };
    Outcome outcome = OnNewThread([] {
        RAPIINIT init{sizeof(RAPIINIT), 0, E_FAIL};
        Outcome outcome{CeRapiInitEx(&init), init, CeWaitForRapiInit(init.heRapiInit, 1000)};
        CeRapiUninit();
        return outcome;
    });
    EXPECT_EQ(outcome.result, S_OK);
    EXPECT_EQ(outcome.init.hrRapiInit, S_OK);
    EXPECT_EQ(outcome.wait, WAIT_OBJECT_0);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(CeWaitForRapiInit(outcome.init.heRapiInit, 30), WAIT_TIMEOUT);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
    // A record of the wrong size makes no session.
    EXPECT_TRUE(OnNewThread([] {
        RAPIINIT init{8, 0, 0};
        return CeRapiInitEx(&init) == E_INVALIDARG && CeRapiUninit() == E_FAIL;
    }));
    EXPECT_EQ(CeRapiInitEx(nullptr), E_INVALIDARG);
}

// Four sessions at once each write a file of their own and take turns at one that none shares.
TEST_P(RapiSessionTest, ConcurrentSessionsKeepTheirOwnFilesAndNeverHoldANoSharingFileTogether) {
    Put(u"\\w.dat", "");
    std::atomic<int> holders = 0, opens = 0, intact = 0;
    std::atomic<bool> heldTogether = false;
    std::vector<std::thread> threads;
    for (char16_t t = u'0'; t < u'4'; ++t) {
        threads.emplace_back([&, t] {
            RapiConnection connection;
            const std::u16string name = u"\\file" + std::u16string(1, t);
            HANDLE own = Open(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW);
            for (int i = 0; i < 200 && connection.Ok(); ++i) {
                Write(own, std::string(5, static_cast<char>(t)));
                HANDLE file = Open(u"\\w.dat", GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING);
                if (file == INVALID_HANDLE_VALUE) continue;
                if (++holders > 1) heldTogether = true;
                Write(file, "x");
                --holders;
                CeCloseHandle(file);
                ++opens;
            }
            CeSetFilePointer(own, 0, nullptr, FILE_BEGIN);
            intact += Read(own, 2000) == std::string(1000, static_cast<char>(t));
            CeCloseHandle(own);
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_FALSE(heldTogether);
    EXPECT_GT(opens, 0);
    EXPECT_EQ(intact, 4);
}

}  // namespace
