#include "store/TesseraItem.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/ByteOrder.h"

std::u16string ItemField::Name() const {
    size_t n = 0;
    while (n < kNameUnits && name[n]) ++n;
    return std::u16string(name, n);
}

void ItemField::SetName(std::u16string_view text) {
    std::fill(std::begin(name), std::end(name), u'\0');
    size_t n = std::min(text.size(), kNameUnits - 1);
    std::copy_n(text.begin(), n, name);
}

namespace {

// A deep copy of a field; false when its value cannot be allocated.
bool CopyField(const ItemField& from, ItemField& to) {
    try {
        to = from;
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace

CTesseraItem::CTesseraItem() : created(GetSystemTimeUtc()), modified(created) {}

size_t CTesseraItem::SerializedSize() const {
    size_t size = kHeadSize;
    for (auto* node = fields.head; node; node = node->next) size += kFieldFixedSize + node->element.length();
    return size;
}

bool CTesseraItem::Serialize(SecureBytes& out) const {
    try {
        out.assign(SerializedSize(), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    uint8_t* p = out.data();
    p = PutU32(p, icon);
    p = PutU32(p, categoryId);
    p = PutU32(p, draft);
    StoreTime(created, p);
    StoreTime(modified, p + 16);
    p += 32;
    for (auto* node = fields.head; node; node = node->next) {
        const ItemField& field = node->element;
        p = PutU32(p, field.type);
        for (char16_t unit : field.name) p = PutU16(p, unit);
        p = PutU32(p, field.length());
        if (field.length()) std::memcpy(p, field.value.data(), field.length());
        p += field.length();
    }
    return true;
}

bool CTesseraItem::Deserialize(const uint8_t* buffer, size_t length) {
    fields.RemoveAll();
    if (!buffer || length < kHeadSize) return false;
    icon = GetU32(buffer);
    categoryId = GetU32(buffer + 4);
    draft = GetU32(buffer + 8);
    created = LoadTime(buffer + 12);
    modified = LoadTime(buffer + 28);
    size_t pos = kHeadSize;
    while (pos < length) {
        // Compared as remaining bytes, so a length near 2^32 cannot wrap the bound.
        if (length - pos < kFieldFixedSize) break;
        const uint8_t* p = buffer + pos;
        uint32_t valueLength = GetU32(p + 132);
        if (length - pos - kFieldFixedSize < valueLength) break;
        ItemField field;
        field.type = GetU32(p);
        for (size_t i = 0; i < ItemField::kNameUnits; ++i) field.name[i] = GetU16(p + 4 + 2 * i);
        try {
            field.value.assign(p + kFieldFixedSize, p + kFieldFixedSize + valueLength);
        } catch (const std::bad_alloc&) {
            break;
        }
        fields.AddTail(std::move(field));
        pos += kFieldFixedSize + valueLength;
    }
    if (pos == length) return true;
    fields.RemoveAll();
    return false;
}

bool CTesseraItem::CopyFieldsFrom(const CTesseraItem& source) {
    if (&source == this) return true;
    fields.RemoveAll();
    for (auto* node = source.fields.head; node; node = node->next) {
        ItemField copy;
        if (!CopyField(node->element, copy)) {
            fields.RemoveAll();
            return false;
        }
        fields.AddTail(std::move(copy));
    }
    return true;
}

bool CTesseraItem::CopyFrom(const CTesseraItem& source) {
    if (!CopyFieldsFrom(source)) return false;
    icon = source.icon;
    categoryId = source.categoryId;
    draft = source.draft;
    created = source.created;
    modified = source.modified;
    return true;
}

bool CTesseraItem::CopyAsNew(const CTesseraItem& source) {
    SYSTEMTIME ownCreated = created;
    if (!CopyFrom(source)) return false;
    created = ownCreated;
    modified = GetSystemTimeUtc();
    return true;
}

bool CTesseraItem::AddField(const ItemField& field) {
    ItemField copy;
    if (!CopyField(field, copy)) return false;
    fields.AddTail(std::move(copy));
    modified = GetSystemTimeUtc();
    return true;
}

bool CTesseraItem::RemoveField(const ItemField* field) {
    for (fields.MoveFirst(); fields.cursor; fields.MoveNext()) {
        if (&fields.GetCurrent() == field) {
            fields.RemoveCurrent();
            modified = GetSystemTimeUtc();
            return true;
        }
    }
    return false;
}
