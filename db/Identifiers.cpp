#include "db/Identifiers.h"

#include "util/AnsiText.h"

std::string QuoteIdentifier(int dialect, const std::string& name) {
    if (dialect == 1)
        return AnsiUpperCase(Trim(name));
    std::string quoted = "\"";
    for (char c : name) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + '"';
}

std::string StoredIdentifier(const std::string& quoted) {
    const std::string name = Trim(quoted);
    if (name.size() < 2 || name.front() != '"' || name.back() != '"')
        return AnsiUpperCase(name);
    std::string stored;
    for (std::size_t i = 1; i + 1 < name.size(); ++i) {
        stored += name[i];
        if (name[i] == '"' && i + 2 < name.size() && name[i + 1] == '"')
            ++i;
    }
    return stored;
}

std::string OrderByList(int dialect, const std::string& fieldNames) {
    if (dialect == 1) {
        std::string list;
        for (char c : AnsiUpperCase(Trim(fieldNames))) {
            if (c == ';')
                list += ", ";
            else
                list += c;
        }
        return list;
    }
    std::string list;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = fieldNames.find(';', start);
        if (!list.empty())
            list += ", ";
        list += QuoteIdentifier(dialect, Trim(fieldNames.substr(start, end - start)));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return list;
}

std::string SqlStringLiteralBody(const std::string& text) {
    std::string body;
    for (char c : text) {
        body += c;
        if (c == '\'')
            body += '\'';
    }
    return body;
}
