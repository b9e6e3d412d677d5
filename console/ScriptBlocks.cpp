#include "console/ScriptBlocks.h"

#include "db/TIBQuery.h"
#include "util/AnsiText.h"

#include <cctype>

namespace {

// Longer lines go alone: the block's text stays well inside what servers take.
constexpr std::size_t kMaxLineBytes = 16 * 1024;
constexpr const char* kFailed = "CORVELO$FAILED";

bool isWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$';
}

// Words that a statement alone cannot use but a block can (its own context
// values and the name it declares), so a line holding them could succeed in
// a block where it fails alone.
bool meansSomethingInABlock(const std::string& word) {
    const std::string upper = AnsiUpperCase(word);
    return upper == "ROW_COUNT" || upper == "SQLCODE" || upper == "GDSCODE" || upper == "SQLSTATE" ||
           upper.rfind("CORVELO$", 0) == 0;
}

// Walks a line's SQL outside quoted text and comments. False when a quote or
// a comment is left open, a parenthesis does not match, something follows a
// ";", or a word means something only in a block. `lastSignificant` gets the
// last character outside comments.
bool scanWhole(const std::string& line, char& lastSignificant) {
    int depth = 0;
    bool terminated = false;
    lastSignificant = 0;
    for (std::size_t i = 0; i < line.size();) {
        const char c = line[i];
        if (c == '-' && i + 1 < line.size() && line[i + 1] == '-')
            break; // the rest is a comment
        if (c == '/' && i + 1 < line.size() && line[i + 1] == '*') {
            const std::size_t end = line.find("*/", i + 2);
            if (end == std::string::npos)
                return false;
            i = end + 2;
            continue;
        }
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
            continue;
        }
        if (terminated)
            return false;
        if (c == '\'' || c == '"') {
            // A doubled quote stands for itself inside.
            std::size_t end = i + 1;
            for (;; ++end) {
                end = line.find(c, end);
                if (end == std::string::npos)
                    return false;
                if (end + 1 < line.size() && line[end + 1] == c) {
                    ++end;
                    continue;
                }
                break;
            }
            lastSignificant = c;
            i = end + 1;
            continue;
        }
        if (isWordChar(c)) {
            std::size_t end = i;
            while (end < line.size() && isWordChar(line[end]))
                ++end;
            if (meansSomethingInABlock(line.substr(i, end - i)))
                return false;
            lastSignificant = line[end - 1];
            i = end;
            continue;
        }
        if (c == '(')
            ++depth;
        if (c == ')' && --depth < 0)
            return false;
        if (c == ';') {
            if (depth != 0)
                return false;
            terminated = true;
        }
        lastSignificant = c;
        ++i;
    }
    return depth == 0;
}

} // namespace

bool RunsInBlock(const std::string& line) {
    char last = 0;
    return line.size() <= kMaxLineBytes && TIBQuery::RunsWithoutPreparing(line) && scanWhole(line, last);
}

std::string ScriptBlockSQL(const std::vector<std::string>& lines) {
    std::string sql = "EXECUTE BLOCK RETURNS (" + std::string(kFailed) + " VARCHAR(" +
                      std::to_string(ScriptBlockOutputLength(lines.size())) + "))\nAS\nBEGIN\n" + kFailed +
                      " = '';\n";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        char last = 0;
        scanWhole(lines[i], last);
        // The terminator goes on a line of its own, after any comment the line ends with.
        sql += "BEGIN\n" + lines[i] + (last == ';' ? "\n" : "\n;\n") + "WHEN ANY DO " + kFailed + " = " +
               kFailed + " || '" + std::to_string(i + 1) + ",';\nEND\n";
    }
    return sql + "SUSPEND;\nEND";
}

short ScriptBlockOutputLength(std::size_t lines) {
    return static_cast<short>(std::to_string(lines).size() + 1) * static_cast<short>(lines) + 1;
}

std::vector<std::size_t> FailedScriptLines(const std::string& output) {
    std::vector<std::size_t> failed;
    std::size_t number = 0;
    for (const char c : output) {
        if (c == ',') {
            failed.push_back(number - 1);
            number = 0;
        } else {
            number = number * 10 + static_cast<std::size_t>(c - '0');
        }
    }
    return failed;
}
