#include "cli/StoreCommands.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <sstream>

#include "TestSupport.h"
#include "phone/NewStoreFile.h"
#include "platform/ByteOrder.h"
#include "platform/rapi/api/RapiTransport.h"
#include "store/BufferCipher.h"
#include "store/PasswordBytes.h"
#include "store/StoreFormat.h"

namespace {

struct Result {
    int status;
    std::string out, err;
    bool operator==(const Result&) const = default;
};

class StoreCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        SecureBytes password = PasswordBytes(u"p\u00e4ss");
        std::string error;
        ASSERT_TRUE(
            CreateStoreFile(dir / "Tessera.dat", StoreKind::Wallet, password.data(), password.size(), error));
        options.file = (dir / "Tessera.dat").string();
    }
    void TearDown() override { RapiSetTransport(nullptr); }

    using Command = int (*)(const StoreCommandOptions&, std::istream&, std::ostream&, std::ostream&);
    Result Run(Command command, const std::string& input = "p\u00e4ss\n") {
        std::istringstream in(input);
        std::ostringstream out, err;
        int status = command(options, in, out, err);
        return {status, out.str(), err.str()};
    }
    Result Info() {
        std::ostringstream out, err;
        int status = StoreInfo(options, out, err);
        return {status, out.str(), err.str()};
    }
    Result Put(uint32_t id, const nlohmann::json& record) {
        options.id = id;
        options.recordJsonFile = (dir / "record.json").string();
        std::ofstream(options.recordJsonFile) << record.dump();
        return Run(StorePut);
    }
    std::vector<nlohmann::json> Dump() {
        Result result = Run(StoreDump);
        EXPECT_EQ(result.status, 0) << result.err;
        std::vector<nlohmann::json> lines;
        std::istringstream text(result.out);
        for (std::string line; std::getline(text, line);) lines.push_back(nlohmann::json::parse(line));
        return lines;
    }

    TempDir dir;
    StoreCommandOptions options;
};

TEST_F(StoreCommandsTest, InfoPrintsTheHeaderInItsOrderOrTheCodeOfABrokenFile) {
    Result result = Info();
    ASSERT_EQ(result.status, 0);
    EXPECT_EQ(result.out.rfind(R"({"code":0,"type":0,"version":[1,0,0,0],"modified":")", 0), 0u)
        << result.out;
    auto json = nlohmann::json::parse(result.out);
    std::vector<uint8_t> bytes = ReadBytes(dir / "Tessera.dat");
    EXPECT_EQ(json["checksum"], StoreHeaderChecksum(bytes.data()));
    EXPECT_EQ(json["passwordBlockLength"], GetU32(bytes.data() + kStoreHeaderSize));
    EXPECT_EQ(json["records"], 0);

    bytes.back() ^= 1;
    WriteBytes(dir / "Tessera.dat", bytes);
    EXPECT_EQ(Info().status, 1);
    EXPECT_EQ(Info().out, "{\"code\":-6}\n");
    options.templates = true;
    bytes.back() ^= 1;
    WriteBytes(dir / "Tessera.dat", bytes);
    EXPECT_EQ(Info().out, "{\"code\":-4}\n");
}

TEST_F(StoreCommandsTest, PutThenDumpRoundTripsEveryKindOfValueAndPutUpdatesAndRmDeletes) {
    nlohmann::json record = {{"icon", 17},
                             {"categoryId", 3 * 65536 + 17},
                             {"draft", 1},
                             {"created", "2024-02-29 23:59:58.999"},
                             {"modified", "1899-12-31 00:00:00.000"},
                             {"fields",
                              {{{"type", 0}, {"name", "Name"}, {"value", "Caf\u00e9 \xF0\x9F\x94\x91"}},
                               {{"type", 3}, {"name", "Password"}, {"value", nullptr}},
                               {{"type", 6}, {"name", "Expires"}, {"value", "2028-09-30 00:00:00.000"}},
                               {{"type", 7}, {"name", "At"}, {"value", "not a time"}},
                               {{"type", 42}, {"name", "Blob"}, {"value", {{"hex", "00ff10"}}}}}}};
    Result put = Put(5, record);
    ASSERT_EQ(put.status, 0) << put.err;
    auto written = nlohmann::json::parse(put.out);
    EXPECT_EQ(written["id"], 5);

    auto lines = Dump();
    ASSERT_EQ(lines.size(), 1u);
    nlohmann::json expected = record;
    expected["id"] = 5;
    expected["offset"] = written["offset"];
    EXPECT_EQ(lines[0], expected);

    std::vector<uint8_t> bytes = ReadBytes(dir / "Tessera.dat");
    uint32_t offset = written["offset"];
    EXPECT_EQ(GetU32(bytes.data() + offset + 4), 5u);

    // Another put of that id updates the record; rm deletes it.
    ASSERT_EQ(Put(2, {{"fields", nlohmann::json::array()}}).status, 0);
    record["fields"][0]["value"] = "Caf\u00e9 \xF0\x9F\x94\x92";
    Result update = Put(5, record);
    ASSERT_EQ(update.status, 0);
    lines = Dump();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]["fields"][0]["value"], record["fields"][0]["value"]);
    EXPECT_EQ(lines[0]["offset"], nlohmann::json::parse(update.out)["offset"]);  // same length: in place
    options.id = 5;
    EXPECT_EQ(Run(StoreRemove).status, 0);
    lines = Dump();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]["id"], 2);
    Result missing = Run(StoreRemove);
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("no record with id 5"), std::string::npos);
    EXPECT_EQ(nlohmann::json::parse(Info().out)["lastId"], 2);  // the highest live id
}

TEST_F(StoreCommandsTest, AWrongPasswordExitsWith2AndChangesNothing) {
    ASSERT_EQ(Put(1, {{"fields", nlohmann::json::array()}}).status, 0);
    std::vector<uint8_t> before = ReadBytes(dir / "Tessera.dat");
    for (Command command : {StoreDump, StorePut, StoreRemove})
        EXPECT_EQ(Run(command, "pass\n"), (Result{2, "", "tessera: wrong password\n"}));
    EXPECT_EQ(Run(StoreDump, "p\u00e4ss\r\n").status, 0);  // a CR LF line ending is dropped too
    EXPECT_EQ(ReadBytes(dir / "Tessera.dat"), before);
}

TEST_F(StoreCommandsTest, DumpMarksRecordsThatDoNotDecryptOrParse) {
    ASSERT_EQ(Put(1, {{"fields", nlohmann::json::array()}}).status, 0);
    std::vector<uint8_t> bytes = ReadBytes(dir / "Tessera.dat");
    auto append = [&](uint32_t id, const std::vector<uint8_t>& data) {
        uint8_t head[kRecordHeadSize];
        EncodeRecordHead({kRecordLive, id, uint32_t(bytes.size()), uint32_t(data.size())}, head);
        bytes.insert(bytes.end(), head, head + kRecordHeadSize);
        bytes.insert(bytes.end(), data.begin(), data.end());
    };
    append(2, std::vector<uint8_t>(32, 0x5A));
    Key32 key;
    SecureBytes password = PasswordBytes(u"p\u00e4ss");
    PasswordKey(password.data(), password.size(), key);
    Bytes notAnItem;
    const uint8_t plain[10] = {};
    ASSERT_TRUE(EncryptBuffer(key, plain, sizeof plain, notAnItem));
    append(3, notAnItem);
    SealStoreFile(bytes.data(), bytes.size());
    WriteBytes(dir / "Tessera.dat", bytes);
    auto lines = Dump();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1],
              (nlohmann::json{{"id", 2}, {"offset", bytes.size() - 32 - 48}, {"error", "decrypt"}}));
    EXPECT_EQ(lines[2], (nlohmann::json{{"id", 3}, {"offset", bytes.size() - 32}, {"error", "parse"}}));
}

TEST_F(StoreCommandsTest, BadRecordFilesAreRefusedWithAReason) {
    struct Case {
        std::string text, reason;
    };
    for (const Case& c : std::vector<Case>{
             {"{", "not valid JSON"},
             {"[]", "must be a JSON object"},
             {R"({"icon":-1})", "\"icon\" must be a number"},
             {R"({"created":"2023-02-29 00:00:00.000"})", "\"created\" must be a time"},
             {R"({"fields":[{"type":0,"name":")" + std::string(64, 'n') + R"("}]})", "at most 63"},
             {R"({"fields":[{"type":0,"name":"A","value":{"hex":"abc"}}]})", "even number"},
             {R"({"fields":[{"type":0,"name":"A","value":3}]})", "must be null, a string"},
         }) {
        options.recordJsonFile = (dir / "bad.json").string();
        std::ofstream(options.recordJsonFile) << c.text;
        Result result = Run(StorePut);
        EXPECT_EQ(result.status, 1) << c.text;
        EXPECT_NE(result.err.find(c.reason), std::string::npos) << c.text << " -> " << result.err;
    }
    options.recordJsonFile = (dir / "missing.json").string();
    EXPECT_EQ(Run(StorePut).status, 1);
}

TEST_F(StoreCommandsTest, TemplatesFilesOpenWithTheBuiltInPassword) {
    SecureBytes builtIn = PasswordBytes(kTemplatesPassword);
    std::string error;
    ASSERT_TRUE(
        CreateStoreFile(dir / "Templates.dat", StoreKind::Templates, builtIn.data(), builtIn.size(), error));
    options.file = (dir / "Templates.dat").string();
    options.templates = true;
    ASSERT_EQ(Put(0xFFFFFFFFu, {{"fields", nlohmann::json::array()}}).status, 0);
    auto lines = Dump();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]["id"], 0xFFFFFFFFu);
    EXPECT_EQ(nlohmann::json::parse(Info().out)["lastId"], 0);
}

}  // namespace
