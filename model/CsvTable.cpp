#include "model/CsvTable.h"

#include <csv.h>

#include "platform/Utf16.h"
#include "store/SecureBytes.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Feeds libcsv one byte at a time, so that the line each row starts on is known exactly.
class CsvReading {
public:
    explicit CsvReading(CsvTable& table) : table(table) { Start(); }
    ~CsvReading() { Stop(); }

    void Feed(std::string_view text) {
        for (size_t i = 0; i < text.size(); ++i) {
            char byte = text[i];
            if (betweenRows && byte != '\r' && byte != '\n') {
                betweenRows = false;
                row.line = line;
            }
            if (csv_parse(&parser, &byte, 1, EndCell, EndRow, this) != 1) {
                Refuse("the quoting is broken");
                i = SkipLine(text, i);
                Stop();
                Start();
                continue;
            }
            if (byte == '\n') ++line;
        }
        if (csv_fini(&parser, EndCell, EndRow, this) != 0) Refuse("a quoted cell is not closed");
    }

private:
    void Start() {
        csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI | CSV_APPEND_NULL);
        csv_set_space_func(&parser, [](unsigned char) { return 0; });
        betweenRows = true;
    }
    // libcsv's buffer held the last cell: wiped before it is freed.
    void Stop() {
        if (parser.entry_buf) SecureZero(parser.entry_buf, parser.entry_size);
        csv_free(&parser);
    }

    void Refuse(std::string reason) {
        table.problems.push_back({row.line, std::move(reason)});
        Wipe(row.cells);
        betweenRows = true;
    }

    // The index of the line's last byte, the line counted.
    size_t SkipLine(std::string_view text, size_t i) {
        for (; i < text.size(); ++i) {
            if (text[i] == '\n') {
                ++line;
                return i;
            }
        }
        return i;
    }

    static void Wipe(std::vector<std::string>& cells) {
        for (std::string& cell : cells) SecureZero(cell.data(), cell.size());
        cells.clear();
    }

    static void EndCell(void* cell, size_t size, void* self) {
        static_cast<CsvReading*>(self)->row.cells.emplace_back(static_cast<const char*>(cell), size);
    }

    static void EndRow(int, void* self) {
        auto& reading = *static_cast<CsvReading*>(self);
        CsvRow& row = reading.row;
        bool valid = true;
        for (const std::string& cell : row.cells) valid = valid && Utf8ToUtf16(cell).has_value();
        if (valid) {
            reading.table.rows.push_back(std::move(row));
            row = {};
            reading.betweenRows = true;
        } else {
            reading.Refuse("it is not valid UTF-8");
        }
    }

    CsvTable& table;
    csv_parser parser{};
    CsvRow row;
    int line = 1;
    bool betweenRows = true;
};

}  // namespace

CsvTable::~CsvTable() {
    for (CsvRow& row : rows)
        for (std::string& cell : row.cells) SecureZero(cell.data(), cell.size());
}

CsvTable CsvTable::Read(std::string_view text) {
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    CsvTable table;
    CsvReading(table).Feed(text);
    return table;
}

std::string CsvQuoted(std::string_view cell) {
    std::string out = "\"";
    for (char c : cell) {
        out += c;
        if (c == '"') out += '"';
    }
    return out + '"';
}
