// The scan for ":name" parameters in SQL text.
#include "db/SqlParams.h"
#include "fuzz/FuzzCheck.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

bool IsNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '$';
}

// How the name is written in SQL: plain, or quoted with its quotes doubled.
std::string Written(const std::string& name) {
    if (!name.empty() && std::all_of(name.begin(), name.end(), IsNameChar))
        return ":" + name;
    std::string quoted = ":\"";
    for (char c : name) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + '"';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string sql(reinterpret_cast<const char*>(data), size);
    const TParsedSql parsed = ParseSqlParams(sql);

    // Every name is found as written, and each becomes one marker: the text loses
    // the written names and gains one "?" each. A plain name may have been written
    // quoted, two quotes longer.
    std::size_t written = 0;
    std::size_t plainNames = 0;
    std::size_t questionMarksInNames = 0;
    for (const std::string& name : parsed.Names) {
        const std::string text = Written(name);
        const bool plain = text[1] != '"';
        FUZZ_CHECK(sql.find(text) != std::string::npos ||
                   (plain && sql.find(":\"" + name + "\"") != std::string::npos));
        written += text.size();
        plainNames += plain ? 1 : 0;
        questionMarksInNames += static_cast<std::size_t>(std::count(name.begin(), name.end(), '?'));
    }
    FUZZ_CHECK(parsed.Text.size() <= sql.size() + parsed.Names.size());
    const std::size_t removed = sql.size() + parsed.Names.size() - parsed.Text.size();
    FUZZ_CHECK(removed >= written && (removed - written) % 2 == 0 && removed - written <= 2 * plainNames);
    FUZZ_CHECK(static_cast<std::size_t>(std::count(parsed.Text.begin(), parsed.Text.end(), '?')) ==
               static_cast<std::size_t>(std::count(sql.begin(), sql.end(), '?')) - questionMarksInNames +
                   parsed.Names.size());

    // The markers text has no parameters left and scans to itself.
    const TParsedSql again = ParseSqlParams(parsed.Text);
    FUZZ_CHECK(again.Names.empty());
    FUZZ_CHECK(again.Text == parsed.Text);

    const std::vector<std::string> distinct = DistinctParamNames(parsed);
    FUZZ_CHECK(distinct.size() <= parsed.Names.size());
    for (const std::string& name : parsed.Names)
        FUZZ_CHECK(std::count(distinct.begin(), distinct.end(), name) == 1);
    return 0;
}
