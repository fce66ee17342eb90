#pragma once
// Field type codes, their display names, and the text form of field values: UTF-16LE with the
// terminating NUL stored.

#include <cstdint>
#include <string>
#include <string_view>

#include "store/TesseraItem.h"

enum FieldType : uint32_t {
    kFieldText = 0,
    kFieldNumber = 1,
    kFieldPhoneNumber = 2,
    kFieldPassword = 3,
    kFieldUrl = 4,
    kFieldEmail = 5,
    kFieldDate = 6,
    kFieldTime = 7,
};

// The display name of a type; "TEXT" for a code not in the table.
std::u16string_view FieldTypeName(uint32_t code);

// True for DATE and TIME, whose value is one 16-byte time record.
inline bool IsTimeField(uint32_t type) {
    return type == kFieldDate || type == kFieldTime;
}

// The value read as text up to its first NUL (an odd last byte is ignored). The copy is a plain string,
// not wiped when freed: a password is kept in a SecureBytes with AppendFieldText.
std::u16string FieldText(const ItemField& field);
// Appends the value's text units, up to the first NUL, as UTF-16LE bytes.
void AppendFieldText(const ItemField& field, SecureBytes& out);
// Makes the value the text with its NUL.
void SetFieldText(ItemField& field, std::u16string_view text);
// The time record of a DATE or TIME value; a shorter value is padded with zeros.
SYSTEMTIME FieldTime(const ItemField& field);
// True when the time names a calendar moment the model can convert: a year from 1900 and every field
// used (month, day, hour, minute, second) in range.
bool IsCalendarTime(const SYSTEMTIME& time);
