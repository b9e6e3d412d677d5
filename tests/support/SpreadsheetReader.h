#pragma once
// Reads an .xlsx file back with a spreadsheet reader we did not write
// (openpyxl, through the system's python3), cell by cell.
#include <string>
#include <vector>

struct SheetContents {
    int sheetCount = 0;
    // The first sheet's rows; each cell "" (empty), "n:<number>", "s:<text>"
    // (UTF-8, with \t \n \r \\ escaped) or "d:<iso>|<serial>|<number format>".
    std::vector<std::vector<std::string>> rows;
};

// Fails the calling test when the file cannot be read.
SheetContents ReadSpreadsheet(const std::string& path);
