#pragma once
// The JSON form of a store record as the store commands print and read it.

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "platform/SystemTime.h"
#include "store/TesseraItem.h"

using OrderedJson = nlohmann::ordered_json;

// "YYYY-MM-DD HH:MM:SS.mmm" from the stored words as they are.
std::string FormatTime(const SYSTEMTIME& t);
// The inverse of FormatTime; the day of the week is computed (Sunday = 0). Empty when malformed.
std::optional<SYSTEMTIME> ParseTime(const std::string& text);

// null for no value; a TIME for a DATE or TIME field of 16 bytes; the UTF-16 text up to its first
// NUL for any other even length; else {"hex": "..."}.
OrderedJson FieldValueToJson(const ItemField& field);
// {"icon", "categoryId", "draft", "created", "modified", "fields": [{"type", "name", "value"}]}.
OrderedJson ItemToJson(const CTesseraItem& item);

// Fills the item from an object of the shape above. False with `error` set on bad input.
bool ItemFromJson(const nlohmann::json& json, CTesseraItem& item, std::string& error);
