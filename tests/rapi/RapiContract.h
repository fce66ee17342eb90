#pragma once
// The contract of the Ce* calls, run on every transport on a fresh phone folder with a registry. Helpers
// use only the Ce* calls, so that a test means the same for every transport.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "platform/rapi/api/Rapi.h"
#include "platform/rapi/api/RapiTransport.h"

// The call failed, and left that last error.
inline ::testing::AssertionResult Refused(bool failed, DWORD error) {
    DWORD last = CeGetLastError();
    if (failed && last == error) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << (failed ? "failed" : "succeeded") << " with last error " << last;
}

struct ContractTransport {
    std::string name;
    std::function<std::shared_ptr<RapiTransport>(const std::filesystem::path& phoneDir)> make;
};

// Every transport the contract runs against; a new transport is one more entry.
std::vector<ContractTransport> ContractTransports();
std::string ContractTransportName(const ::testing::TestParamInfo<ContractTransport>& info);
void PrintTo(const ContractTransport& transport, std::ostream* out);

// Ends this thread's session and forgets the transport after each test.
template <typename Base = ::testing::Test>
class SessionTest : public Base {
protected:
    void TearDown() override {
        CeRapiUninit();
        RapiSetTransport(nullptr);
    }
    // Ends this thread's session, if any, and starts one over the transport.
    static void Connect(std::shared_ptr<RapiTransport> transport) {
        CeRapiUninit();
        RapiSetTransport(std::move(transport));
        ASSERT_EQ(CeRapiInit(), S_OK);
    }
};

class RapiContractTest : public SessionTest<::testing::TestWithParam<ContractTransport>> {
protected:
    void SetUp() override;

    std::filesystem::path Host(const std::string& relative) const { return phone / "fs" / relative; }
    std::filesystem::path Outside() const { return phone / "outside"; }

    TempDir phone;
};

HANDLE Open(const char16_t* name, DWORD access, DWORD share, DWORD disposition);
// ERROR_SUCCESS when the open succeeds (the handle is closed again), else the last error.
DWORD OpenError(const char16_t* name, DWORD access, DWORD share, DWORD disposition);
bool Write(HANDLE file, std::string_view data);
// Reads up to n bytes from the current position.
std::string Read(HANDLE file, DWORD n);
// Creates or replaces a file with the given contents.
void Put(const char16_t* name, std::string_view contents);
// The contents of a file, or "<error N>" when it cannot be opened.
std::string Contents(const char16_t* name);
// The names that a find gives, in its order; empty when the find fails.
std::vector<std::u16string> FindNames(const char16_t* pattern);

// Runs f on a new thread and gives back its result.
template <typename F>
auto OnNewThread(F f) {
    decltype(f()) result{};
    std::thread([&] { result = f(); }).join();
    return result;
}

// Runs f on a new thread that holds a session of its own.
template <typename F>
auto InOtherSession(F f) {
    return OnNewThread([&] {
        RapiConnection connection;
        EXPECT_TRUE(connection.Ok());
        return f();
    });
}
