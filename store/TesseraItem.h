#pragma once
// The plaintext of one record: a card, a template or the category record.
//
// Byte form (little-endian): icon u32, categoryId u32, draft u32, created and modified as 16-byte
// time records, then the fields back to back with no count: type u32, name as 64 UTF-16 units
// (128 bytes, all of them as held), length u32, then the value bytes.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/SystemTime.h"
#include "store/DynamicList.h"
#include "store/SecureBytes.h"

struct ItemField {
    static constexpr size_t kNameUnits = 64;

    uint32_t type = 0;
    char16_t name[kNameUnits] = {};
    SecureBytes value;  // owned; empty when the length is 0

    uint32_t length() const { return static_cast<uint32_t>(value.size()); }
    // The name up to its NUL.
    std::u16string Name() const;
    // Sets the name, cut to 63 units, NUL-padded.
    void SetName(std::u16string_view text);
};

class CTesseraItem {
public:
    static constexpr size_t kHeadSize = 44;
    static constexpr size_t kFieldFixedSize = 136;

    uint32_t icon = 0;
    uint32_t categoryId = 0;
    uint32_t draft = 0;
    SYSTEMTIME created;
    SYSTEMTIME modified;
    DynamicList<ItemField> fields;

    // A new item: no fields, both times now.
    CTesseraItem();
    virtual ~CTesseraItem() = default;
    CTesseraItem(const CTesseraItem&) = delete;
    CTesseraItem& operator=(const CTesseraItem&) = delete;

    // The byte form; false when out of memory.
    bool Serialize(SecureBytes& out) const;
    // Rebuilds the item from a byte form; on false the item has no fields.
    bool Deserialize(const uint8_t* buffer, size_t length);
    // An exact copy of the source: head members and a deep copy of every field.
    bool CopyFrom(const CTesseraItem& source);
    // Copies icon, category, draft and the fields; keeps its own creation time, modified = now.
    bool CopyAsNew(const CTesseraItem& source);
    // Appends a deep copy of the field; modified = now.
    bool AddField(const ItemField& field);
    // Removes that very field (by identity); modified = now. False when it is not in the list.
    bool RemoveField(const ItemField* field);
    SYSTEMTIME GetModified() const { return modified; }

    size_t SerializedSize() const;

private:
    bool CopyFieldsFrom(const CTesseraItem& source);
};
