#pragma once
// Reading a phone's stores back as the desktop does.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "phone/PhoneSession.h"
#include "store/PasswordBytes.h"
#include "store/TesseraEncryptedLinkList.h"

struct StoredRecord {
    uint32_t id;
    std::unique_ptr<CTesseraItem> item;
};

struct StoreContent {
    int openCode = 0;
    bool unlocked = false;
    uint32_t lastId = 0;
    std::vector<StoredRecord> records;  // every live record, in file order
};

// Opens the store and, with the right password, reads every record (one that does not parse fails the test).
inline StoreContent ReadStore(const std::filesystem::path& phoneDir, const std::u16string& path,
                              uint32_t type, std::u16string_view password) {
    StoreContent content;
    PhoneSession session(phoneDir);
    CTesseraEncryptedLinkList store(path, type);
    content.openCode = store.Open();
    SecureBytes bytes = PasswordBytes(password);
    content.unlocked = content.openCode == 0 && store.CheckPassword(bytes.data(), bytes.size());
    content.lastId = store.lastId;
    if (!content.unlocked) return content;
    for (auto* node = store.records.head; node; node = node->next) {
        SecureBytes plain;
        auto item = std::make_unique<CTesseraItem>();
        EXPECT_GT(store.GetRecordData(&node->element, &plain), 0u) << "record " << node->element.id;
        EXPECT_TRUE(item->Deserialize(plain.data(), plain.size())) << "record " << node->element.id;
        content.records.push_back({node->element.id, std::move(item)});
    }
    return content;
}

inline const std::u16string kWalletPath = u"\\Program Files\\Tessera\\Tessera.dat";
inline const std::u16string kTemplatesPath = u"\\Program Files\\Tessera\\Templates.dat";

// A text field's value without its NUL, which must be there.
inline std::u16string TextValue(const ItemField& field) {
    const SecureBytes& v = field.value;
    EXPECT_TRUE(v.size() >= 2 && v.size() % 2 == 0 && v[v.size() - 1] == 0 && v[v.size() - 2] == 0)
        << "not a NUL-terminated text";
    std::u16string text;
    for (size_t i = 0; i + 2 < v.size(); i += 2) text += static_cast<char16_t>(v[i] | (v[i + 1] << 8));
    return text;
}
// The record's fields in order.
inline std::vector<const ItemField*> Fields(const CTesseraItem& item) {
    std::vector<const ItemField*> fields;
    for (auto* node = item.fields.head; node; node = node->next) fields.push_back(&node->element);
    return fields;
}
