#pragma once
// The rows of `vxa scan` as CSV (a header line, then a line per file; lists
// inside a field joined by spaces, faces by ";") or as JSON lines (an object
// per file, lists as arrays).
#include <string>

#include "scan_row.h"

namespace vxa::tool {

enum class TableFormat { Csv, JsonLines };

// The CSV header line; JSON lines have none.
std::string tableHeader(TableFormat format);
// One line, without its line feed.
std::string tableLine(const ScanRow& row, TableFormat format);

}  // namespace vxa::tool
