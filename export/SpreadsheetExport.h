#pragma once
// Spreadsheet export: every record of a dataset, from its first, into the
// first sheet of a new .xlsx workbook. Row 1 holds the fields' header names;
// numeric fields become number cells, dates and timestamps date cells, every
// other field its text.
#include <cstdint>
#include <functional>
#include <string>

class TIBCustomDataSet;

// The extension of every file written, without its dot.
inline constexpr const char* SpreadsheetExtension = "xlsx";

// The name ends in "." followed by the extension, letter case included.
bool IsSpreadsheetFileName(const std::string& name);

// Walks `dataSet` from its first record (settling a pending edit, as First
// does) to its end, and writes the workbook to `fileName` (code page 1252; the
// file system is given UTF-8). The file is written under a temporary name
// beside it and replaces a file of that name only once complete, so after any
// error nothing new is left behind and an existing file is as it was.
// A closed dataset raises its own error before any file is touched; a file
// that cannot be written raises EInOutError, a record that does not fit into
// a sheet Exception, both with a Portuguese message naming the file.
// `rowsDone` is told the number of records written after each one.
void ExportToSpreadsheet(TIBCustomDataSet& dataSet, const std::string& fileName,
                         const std::function<void(std::int64_t)>& rowsDone = {});
