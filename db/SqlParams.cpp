#include "db/SqlParams.h"

#include <algorithm>

namespace {

bool isNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '$';
}

// Copies a quoted run starting at text[i] (the opening quote) into out;
// a doubled quote inside stays part of it. Returns the index after it, and
// tells through `closed` whether the closing quote was there.
std::size_t copyQuoted(const std::string& text, std::size_t i, std::string& out, bool* closed = nullptr) {
    const char quote = text[i];
    out += quote;
    for (++i; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == quote) {
            if (i + 1 < text.size() && text[i + 1] == quote) {
                out += quote;
                ++i;
            } else {
                if (closed)
                    *closed = true;
                return i + 1;
            }
        }
    }
    if (closed)
        *closed = false;
    return i;
}

} // namespace

TParsedSql ParseSqlParams(const std::string& sql) {
    TParsedSql parsed;
    std::string& out = parsed.Text;
    out.reserve(sql.size());
    const std::size_t n = sql.size();
    std::size_t i = 0;
    while (i < n) {
        const char c = sql[i];
        if (c == '\'' || c == '"') {
            i = copyQuoted(sql, i, out);
        } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
            const std::size_t end = std::min(sql.find('\n', i), n);
            out.append(sql, i, end - i);
            i = end;
        } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
            const std::size_t close = sql.find("*/", i + 2);
            const std::size_t end = close == std::string::npos ? n : close + 2;
            out.append(sql, i, end - i);
            i = end;
        } else if (c == ':' && i + 1 < n && sql[i + 1] == '"') {
            std::string quoted;
            bool closed = false;
            const std::size_t end = copyQuoted(sql, i + 1, quoted, &closed);
            if (!closed) {
                // Not a name: kept as typed, so the server reports the open quote
                // instead of running the statement with a cut-off name.
                out += c;
                ++i;
                continue;
            }
            i = end;
            // Without its quotes, doubled quotes undone.
            std::string name;
            for (std::size_t k = 1; k + 1 < quoted.size(); ++k) {
                name += quoted[k];
                if (quoted[k] == '"')
                    ++k;
            }
            parsed.Names.push_back(std::move(name));
            out += '?';
        } else if (c == ':' && i + 1 < n && isNameChar(sql[i + 1])) {
            std::size_t end = i + 1;
            while (end < n && isNameChar(sql[end]))
                ++end;
            parsed.Names.push_back(sql.substr(i + 1, end - i - 1));
            out += '?';
            i = end;
        } else {
            out += c;
            ++i;
        }
    }
    return parsed;
}

std::vector<std::string> DistinctParamNames(const TParsedSql& parsed) {
    std::vector<std::string> names;
    for (const std::string& name : parsed.Names)
        if (std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
    return names;
}
