#pragma once
// Comma-separated text as browsers and password managers write it (RFC 4180: quoted fields, doubled
// quotes, commas and line breaks inside quotes, CR LF or LF endings, an optional UTF-8 byte-order mark),
// read through libcsv. Every cell is UTF-8; the cells are wiped when the table is destroyed, since they
// hold passwords.

#include <string>
#include <string_view>
#include <vector>

struct CsvRow {
    int line = 0;  // the line the row starts on, from 1
    std::vector<std::string> cells;
};

// A row that could not be read: its line and why. The row is left out of the table.
struct CsvProblem {
    int line = 0;
    std::string reason;
};

class CsvTable {
public:
    CsvTable() = default;
    CsvTable(CsvTable&&) = default;
    CsvTable& operator=(CsvTable&&) = default;
    ~CsvTable();

    // Reads every row. Spaces around an unquoted cell are kept (a password may start with one); empty
    // lines are passed over. A row that is not valid UTF-8, or whose quoting is broken, is left out and
    // reported; reading goes on at the next line.
    static CsvTable Read(std::string_view text);

    std::vector<CsvRow> rows;
    std::vector<CsvProblem> problems;
};

// One cell as RFC 4180 writes it: between double quotes, each quote doubled.
std::string CsvQuoted(std::string_view cell);
