#include "console/ScriptRunner.h"

#include "console/ScriptLineReader.h"
#include "db/TIBQuery.h"

#include <exception>
#include <string_view>

namespace {

bool startsWithUpperCased(const std::string& line, std::string_view word) {
    if (line.size() < word.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        char c = line[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c != word[i])
            return false;
    }
    return true;
}

void execute(const std::string& line, TIBQuery& query, ScriptHost& host, ScriptRunSummary& summary) {
    host.SetLabel(ScriptLabel::Statement, line);
    ++summary.executed;
    try {
        query.SetSQLText(line); // one line: it holds no line break
        query.ExecuteDirect();
    } catch (const std::exception&) {
        // The line is what the user needs to find and fix; the message is not kept.
        ++summary.errors;
        host.AppendError(line);
    }
}

} // namespace

bool StartsWithInsertInto(const std::string& line) {
    return startsWithUpperCased(line, "INSERT INTO");
}

bool StartsWithUpdate(const std::string& line) {
    return startsWithUpperCased(line, "UPDATE");
}

ScriptRunSummary RunScript(const std::string& path, TIBQuery& query, ScriptHost& host) {
    // Counted first, so that an unreadable path leaves the page untouched.
    const std::int64_t total = CountScriptLines(path);
    host.ClearErrorList();
    host.SetLabel(ScriptLabel::Total, "Total de Linhas: " + std::to_string(total));

    ScriptRunSummary summary;
    ScriptLineReader reader(path);
    std::string line;
    while (reader.ReadLine(line)) {
        ++summary.lines;
        if (StartsWithInsertInto(line))
            execute(line, query, host, summary);
        if (StartsWithUpdate(line))
            execute(line, query, host, summary);
        if (summary.lines % kScriptCommitInterval == 0) {
            host.CommitStep();
            host.SetLabel(ScriptLabel::Current, "Linha Atual: " + std::to_string(summary.lines));
            host.SetLabel(ScriptLabel::Errors, "erros: " + std::to_string(summary.errors));
        }
    }
    host.CommitStep();
    host.SetLabel(ScriptLabel::Current, "Linha Atual: " + std::to_string(summary.lines));
    return summary;
}
