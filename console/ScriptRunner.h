#pragma once
// The script run of the SQL console: a file of SQL lines executed one line at
// a time. Only lines that begin with "INSERT INTO" or "UPDATE" run; a failing
// line is counted and listed and never stops the run; the work is committed
// every 500 lines and at the end.
#include <cstdint>
#include <string>

class TIBQuery;

// The progress labels of the console page.
enum class ScriptLabel {
    Total,     // lbltot
    Current,   // lblatual
    Errors,    // lblerro
    Statement, // Label15
};

// What a run needs from the window. The run keeps the window's thread busy,
// so the window must repaint the progress labels itself.
class ScriptHost {
public:
    virtual ~ScriptHost() = default;
    // Total, Current and Errors are repainted at once; Statement only takes
    // the new caption.
    virtual void SetLabel(ScriptLabel label, const std::string& caption) = 0;
    virtual void ClearErrorList() = 0;
    virtual void AppendError(const std::string& line) = 0;
    // The commit step without a dataset; false when it failed and the work
    // was rolled back (the user has been told).
    virtual bool CommitStep() = 0;
    // Lines read so far of the total, for a progress line.
    virtual void ShowLinesDone(std::int64_t /*lines*/, std::int64_t /*total*/) {}
    // The user asked the run to stop: it stops before its next line (the
    // lines run so far stay run, none after is listed) with OperationCancelled.
    virtual bool CancelRequested() const { return false; }
};

// Lines are committed in groups of this many, counting every line read.
constexpr std::int64_t kScriptCommitInterval = 500;

// The two tests a line must pass to be executed: its first 11 (or 6)
// characters, ASCII letters upper-cased, equal "INSERT INTO" (or "UPDATE").
bool StartsWithInsertInto(const std::string& line);
bool StartsWithUpdate(const std::string& line);

struct ScriptRunSummary {
    std::int64_t lines = 0;    // every line read
    std::int64_t executed = 0; // lines sent to the server
    std::int64_t errors = 0;   // of those, the ones that failed
};

// Runs the file through `query` (its SQL text is replaced for every executed
// line). A path that cannot be opened raises EInOutError before the host is
// touched; statement errors never leave the run. Only a commit step whose
// rollback failed too, or a read error, ends it early.
//
// Consecutive lines that may run together go many per round trip (`blocks`
// off: one by one), with the same lines listed, counts, labels, commits and
// rows as one by one.
ScriptRunSummary RunScript(const std::string& path, TIBQuery& query, ScriptHost& host, bool blocks = true);
