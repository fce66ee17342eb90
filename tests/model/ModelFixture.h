#pragma once
// Model helpers, and a model opened as the session opens it on a fresh wallet and templates file.

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "model/Data.h"
#include "model/FieldType.h"
#include "model/ItemChanges.h"
#include "store/BufferCipher.h"
#include "store/StoreFixture.h"

inline SYSTEMTIME Time(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    auto u = [](int v) { return uint16_t(v); };
    return SYSTEMTIME{u(year), u(month), 0, u(day), u(hour), u(minute), u(second), 0};
}

// Milliseconds since 1970 of a UTC time record, for comparing times.
inline int64_t Millis(const SYSTEMTIME& t) {
    using namespace std::chrono;
    sys_days day{year{t.wYear} / int(t.wMonth) / int(t.wDay)};
    return (day.time_since_epoch() + hours{t.wHour} + minutes{t.wMinute} + seconds{t.wSecond} +
            milliseconds{t.wMilliseconds}) /
           milliseconds{1};
}

inline void AddField(CTesseraItem& item, std::u16string_view name, std::u16string_view text,
                     uint32_t type = kFieldText) {
    item.fields.AddTail(TextField(type, name, text));
}

// A field whose value has length 0.
inline void AddEmptyField(CTesseraItem& item, std::u16string_view name, uint32_t type = kFieldText) {
    AddField(item, name, u"", type);
    item.fields.tail->element.value.clear();
}

inline void AddTimeField(CTesseraItem& item, std::u16string_view name, const SYSTEMTIME& time,
                         uint32_t type = kFieldDate) {
    ItemField field;
    field.type = type;
    field.SetName(name);
    field.value.resize(16);
    StoreTime(time, field.value.data());
    item.fields.AddTail(std::move(field));
}

inline std::unique_ptr<CTesseraItem> Card(std::u16string_view name, uint32_t category = 0,
                                          uint32_t icon = 0) {
    auto card = std::make_unique<CTesseraItem>();
    AddField(*card, u"Name", name);
    card->categoryId = category;
    card->icon = icon;
    return card;
}

// Remembers what the model asked of the screens, one line per request.
class RecordingListener : public ModelListener {
public:
    void RowChanged(ListKind kind, int32_t id) override { Add("row " + std::to_string(int(kind)), id); }
    void CategoryAdded(int32_t id, const std::u16string& name) override { Add("added", id, name); }
    void CategoryRenamed(int32_t id, const std::u16string& name) override { Add("renamed", id, name); }
    void CategoryRemoved(int32_t id) override { Add("removed", id); }
    void CategoriesReloaded() override { events.push_back("reloaded"); }

    std::vector<std::string> events;

private:
    void Add(const std::string& what, int32_t id, const std::u16string& name = u"") {
        events.push_back(what + " " + std::to_string(id) + (name.empty() ? "" : " " + Utf8(name)));
    }
    static std::string Utf8(const std::u16string& text) { return std::string(text.begin(), text.end()); }
};

// The wallet of StoreFixture beside a fresh templates file, and a model opened on them.
class ModelFixture : public StoreFixture {
protected:
    void SetUp() override {
        StoreFixture::SetUp();
        std::string error;
        ASSERT_TRUE(CreateStoreFile(TemplatesFile(), StoreKind::Templates, templatesPassword.data(),
                                    templatesPassword.size(), error))
            << error;
        Open(data);
        data.AddListener(&listener);
    }

    void TearDown() override {
        data.Reset();
        StoreFixture::TearDown();
    }

    // Opens and unlocks both stores and loads the model, as the session does after the login.
    void Open(CData& model) {
        model.SetStores(std::make_unique<CTesseraEncryptedLinkList>(u"\\Tessera.dat", kWalletFileType),
                        std::make_unique<CTesseraEncryptedLinkList>(u"\\Templates.dat", kTemplatesFileType));
        ASSERT_EQ(model.WalletStore()->Open(), 0);
        ASSERT_EQ(model.TemplateStore()->Open(), 0);
        ASSERT_TRUE(model.WalletStore()->CheckPassword(password.data(), password.size()));
        ASSERT_TRUE(model.TemplateStore()->CheckPassword(templatesPassword.data(), templatesPassword.size()));
        ASSERT_TRUE(model.LoadCards());
        ASSERT_TRUE(model.LoadTemplatesAndCategories());
    }

    // A second model over the files as they now are on the phone.
    std::unique_ptr<CData> Reloaded() {
        auto model = std::make_unique<CData>();
        Open(*model);
        return model;
    }

    // Adds a card under the next id; the id.
    uint32_t AddCard(std::u16string_view name, uint32_t category = 0, uint32_t icon = 0) {
        uint32_t id = data.TakeCardId();
        EXPECT_TRUE(data.AddCard(*Card(name, category, icon), id));
        return id;
    }

    // The plaintext encrypted under the wallet password, as a record holds it.
    ::Bytes WalletCipher(const SecureBytes& plain) {
        Key32 key;
        PasswordKey(password.data(), password.size(), key);
        ::Bytes cipher;
        EXPECT_TRUE(EncryptBuffer(key, plain.data(), plain.size(), cipher));
        return cipher;
    }

    // Appends a live record to the wallet file, behind the store's back.
    void AppendWalletRecord(uint32_t id, const ::Bytes& cipher) {
        std::vector<uint8_t> bytes = Bytes();
        AppendRecord(bytes, kRecordLive, id, cipher);
        FixChecksum(bytes);
        WriteBytes(File(), bytes);
    }

    std::filesystem::path TemplatesFile() const { return dir / "Templates.dat"; }

    SecureBytes templatesPassword = PasswordBytes(kTemplatesPassword);
    RecordingListener listener;
    CData data;
};
