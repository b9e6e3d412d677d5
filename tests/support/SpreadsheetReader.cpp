#include "tests/support/SpreadsheetReader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#ifndef CORVELO_READ_XLSX_SCRIPT
#error "CORVELO_READ_XLSX_SCRIPT must name read_xlsx.py"
#endif

SheetContents ReadSpreadsheet(const std::string& path) {
    // The Debian interpreter, where python3-openpyxl is installed.
    const std::string command = "/usr/bin/python3 '" CORVELO_READ_XLSX_SCRIPT "' '" + path + "' 2>&1";
    std::string output;
    int status = -1;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, n);
        status = pclose(pipe);
    }
    SheetContents contents;
    if (status != 0) {
        ADD_FAILURE() << "reading " << path << " failed:\n" << output;
        return contents;
    }
    std::istringstream lines(output);
    std::string line;
    std::getline(lines, line);
    contents.sheetCount = std::stoi(line.substr(line.find(':') + 1));
    while (std::getline(lines, line)) {
        std::vector<std::string> cells;
        std::size_t start = 0;
        for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
            cells.push_back(line.substr(start, tab - start));
        cells.push_back(line.substr(start));
        contents.rows.push_back(std::move(cells));
    }
    return contents;
}
