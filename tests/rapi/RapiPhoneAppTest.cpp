// The wallet application's state and closing it: PHONE/state.json and the registry's version text.
#include "RapiContract.h"

namespace {

class RapiPhoneAppTest : public RapiContractTest {
protected:
    void SetState(const std::string& json) { WriteBytes(phone / "state.json", {json.begin(), json.end()}); }
    void SetVersion(const std::string& text) {
        const std::string registry = R"({"HKEY_LOCAL_MACHINE\\Software\\Quillmark Tessera": {"Version": )"
                                     R"({"type": "sz", "value": ")" +
                                     text + "\"}}}";
        WriteBytes(phone / "registry.json", {registry.begin(), registry.end()});
    }
    PhoneAppStatus Status() {
        PhoneAppStatus status{7, 7, {u'?'}};
        EXPECT_TRUE(CePhoneGetAppState(&status)) << CeGetLastError();
        return status;
    }
};
INSTANTIATE_TEST_SUITE_P(Transports, RapiPhoneAppTest, ::testing::ValuesIn(ContractTransports()),
                         ContractTransportName);

TEST_P(RapiPhoneAppTest, PhoneWithoutStateHasNoApplicationAndCloseWritesNothing) {
    PhoneAppStatus status = Status();
    EXPECT_EQ(status.installed, FALSE);
    EXPECT_EQ(status.running, FALSE);
    EXPECT_EQ(std::u16string(status.version), u"");  // the contract's registry holds a number there
    EXPECT_TRUE(CePhoneCloseApp());
    EXPECT_FALSE(std::filesystem::exists(phone / "state.json"));
    EXPECT_TRUE(Refused(!CePhoneGetAppState(nullptr), ERROR_INVALID_PARAMETER));
}

TEST_P(RapiPhoneAppTest, CloseStopsTheApplicationAndKeepsItInstalled) {
    SetState(R"({"installed": true, "running": true})");
    SetVersion("1.0.1.519");
    PhoneAppStatus status = Status();
    EXPECT_EQ(status.installed, TRUE);
    EXPECT_EQ(status.running, TRUE);
    EXPECT_EQ(std::u16string(status.version), u"1.0.1.519");
    ASSERT_TRUE(CePhoneCloseApp());
    status = Status();
    EXPECT_EQ(status.installed, TRUE);
    EXPECT_EQ(status.running, FALSE);
    EXPECT_TRUE(CePhoneCloseApp());  // closing a closed application does nothing
    EXPECT_EQ(Status().running, FALSE);
    SetVersion(std::string(32, '9'));  // too long for the record: none
    EXPECT_EQ(std::u16string(Status().version), u"");
    SetVersion(std::string(31, '9'));
    EXPECT_EQ(std::u16string(Status().version), std::u16string(31, u'9'));
}

TEST_P(RapiPhoneAppTest, MalformedStateFails) {
    SetState(R"({"installed": "yes"})");
    PhoneAppStatus status{};
    EXPECT_TRUE(Refused(!CePhoneGetAppState(&status), ERROR_GEN_FAILURE));
    EXPECT_FALSE(CePhoneCloseApp());
    EXPECT_EQ(ReadText(phone / "state.json"), R"({"installed": "yes"})");
}

}  // namespace
