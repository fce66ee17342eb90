#pragma once
// Cards to and from the CSV files of browsers and password managers. The header row decides what each
// column holds, by the names those programs write, in any case and spacing; a column not recognised
// becomes a TEXT field named after its header, so that no value is lost.

#include <string>
#include <string_view>

#include "model/CardImport.h"
#include "store/SecureBytes.h"

class CData;

enum class CsvColumn { Title, User, Password, Url, Notes, Group, Created, Modified, Other };

// What a column of that header holds.
CsvColumn ColumnRole(std::string_view header);

// The id of the template named "Web Login" (any case), or 0xFFFFFFFF (no template).
uint32_t DefaultImportTemplate(const CData& data);

// One card per row after the header, each made from the template (a blank card for 0xFFFFFFFF): its name
// from the title column, else the URL's host, else "Imported n"; its category the last element of the
// group's "a/b/c" path; the values put in the template's fields of the same name or kind, the rest added.
ImportPlan CsvImportPlan(CData& data, std::string_view text, uint32_t templateId);

// UTF-8, RFC 4180: a header row of name, category, created, modified and the union of the cards' field
// names, then one row per card in store order. Cards that cannot be read are counted in `unreadable`.
SecureBytes CardsToCsv(CData& data, size_t& written, size_t& unreadable);
