#pragma once
// Named parameters in SQL text: a colon immediately followed by a name, outside
// quoted text and comments. The client library knows only "?" markers, so the
// names are replaced by them and kept in order of appearance.
#include <string>
#include <vector>

struct TParsedSql {
    std::string Text;               // the statement with every parameter as "?"
    std::vector<std::string> Names; // one per marker, in order (a name may repeat)
};

// A name is letters, digits, "_" and "$" (":NAME"), or a quoted identifier
// (":\"Name\"", doubled quotes inside), which gives the name without its quotes.
TParsedSql ParseSqlParams(const std::string& sql);

// Names of the parsed text without repeats, in order of first appearance.
std::vector<std::string> DistinctParamNames(const TParsedSql& parsed);
