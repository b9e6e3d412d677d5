#include "console/ScriptRunner.h"

#include "console/ScriptBlocks.h"
#include "console/ScriptLineReader.h"
#include "db/CancelGate.h"
#include "db/DatabaseErrors.h"
#include "db/TIBQuery.h"
#include "util/Exceptions.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <string_view>
#include <vector>

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

// The executed lines of a run, in order: one by one, or gathered and sent
// many per round trip when they may run in a block. Either way a failing
// line is counted and listed where it stands and the others take effect.
class LineRunner {
public:
    LineRunner(TIBQuery& query, ScriptHost& host, ScriptRunSummary& summary, bool blocks)
        : query_(query), host_(host), summary_(summary), blocks_(blocks) {}

    void Run(const std::string& line) {
        host_.SetLabel(ScriptLabel::Statement, line);
        ++summary_.executed;
        if (!blocks_ || maxLines_ == 1 || !RunsInBlock(line)) {
            Flush();
            runAlone(line);
            return;
        }
        pending_.push_back(line);
        if (pending_.size() >= maxLines_)
            Flush();
    }

    void Flush() {
        if (pending_.size() == 1) {
            runAlone(pending_.front());
        } else if (!pending_.empty()) {
            refused_ = false;
            send(0, pending_.size());
            // Lines the server cannot compile cost a block each time it tries
            // one; where they are many, lines go alone (no slower than that)
            // until a good run of them passes again.
            if (refused_) {
                maxLines_ = std::max<std::size_t>(1, maxLines_ / 4);
                aloneWithoutFailure_ = 0;
            } else {
                maxLines_ = std::min(maxLines_ * 2, kMaxBlockLines);
            }
        }
        pending_.clear();
    }

private:
    void runAlone(const std::string& line) {
        try {
            query_.SetSQLText(line); // one line: it holds no line break
            query_.ExecuteDirect();
            // Lines alone again for a while: blocks may be tried once more.
            if (maxLines_ == 1 && ++aloneWithoutFailure_ >= kLinesBeforeBlocksAgain)
                maxLines_ = 2;
        } catch (const std::exception& error) {
            stopIfCancelled(error);
            // The line is what the user needs to find and fix; the message is not kept.
            fail(line);
        }
    }

    // A line the user stopped while the server ran it did not fail: the run
    // ends there, with nothing of that line and nothing listed for it.
    void stopIfCancelled(const std::exception& error) const {
        if (host_.CancelRequested() && CancelGate::IsCancelled(error))
            throw OperationCancelled();
    }

    void send(std::size_t first, std::size_t last) {
        const std::vector<std::string> lines(pending_.begin() + static_cast<std::ptrdiff_t>(first),
                                             pending_.begin() + static_cast<std::ptrdiff_t>(last));
        std::optional<std::string> output;
        try {
            output = query_.ExecuteBlock(ScriptBlockSQL(lines), lines.back(),
                                         ScriptBlockOutputLength(lines.size()));
        } catch (const std::exception& error) {
            stopIfCancelled(error);
            // Nothing of the block ran: the server would not take it (a line
            // it cannot compile) or the link broke. Halves find the line; a
            // broken link fails each line alone, as it would.
            if (IsLostConnection(error) || lines.size() == 1) {
                for (const std::string& line : lines)
                    runAlone(line);
            } else {
                refused_ = true;
                const std::size_t middle = first + (last - first) / 2;
                send(first, middle);
                send(middle, last);
            }
            return;
        }
        if (!output) {
            // The query's master refuses every line: each fails alone, as it would.
            for (const std::string& line : lines)
                runAlone(line);
            return;
        }
        for (const std::size_t failed : FailedScriptLines(*output))
            fail(lines[failed]);
    }

    void fail(const std::string& line) {
        ++summary_.errors;
        host_.AppendError(line);
    }

    static constexpr std::size_t kMaxBlockLines = 128;
    static constexpr int kLinesBeforeBlocksAgain = 32;

    TIBQuery& query_;
    ScriptHost& host_;
    ScriptRunSummary& summary_;
    const bool blocks_;
    std::vector<std::string> pending_;
    std::size_t maxLines_ = 32;
    int aloneWithoutFailure_ = 0;
    bool refused_ = false;
};

} // namespace

bool StartsWithInsertInto(const std::string& line) {
    return startsWithUpperCased(line, "INSERT INTO");
}

bool StartsWithUpdate(const std::string& line) {
    return startsWithUpperCased(line, "UPDATE");
}

ScriptRunSummary RunScript(const std::string& path, TIBQuery& query, ScriptHost& host, bool blocks) {
    // Counted first, so that an unreadable path leaves the page untouched.
    const std::int64_t total = CountScriptLines(path);
    host.ClearErrorList();
    host.SetLabel(ScriptLabel::Total, "Total de Linhas: " + std::to_string(total));

    ScriptRunSummary summary;
    LineRunner runner(query, host, summary, blocks);
    ScriptLineReader reader(path);
    std::string line;
    while (reader.ReadLine(line)) {
        if (host.CancelRequested()) {
            // The lines read so far have run (the gathered ones go now,
            // past the cancel); no later one does.
            {
                const CancelGate::HeldOpen gathered;
                runner.Flush();
            }
            throw OperationCancelled();
        }
        ++summary.lines;
        host.ShowLinesDone(summary.lines, total);
        if (StartsWithInsertInto(line))
            runner.Run(line);
        if (StartsWithUpdate(line))
            runner.Run(line);
        if (summary.lines % kScriptCommitInterval == 0) {
            // Blocks never reach across a commit.
            runner.Flush();
            host.CommitStep();
            host.SetLabel(ScriptLabel::Current, "Linha Atual: " + std::to_string(summary.lines));
            host.SetLabel(ScriptLabel::Errors, "erros: " + std::to_string(summary.errors));
        }
    }
    runner.Flush();
    host.CommitStep();
    host.SetLabel(ScriptLabel::Current, "Linha Atual: " + std::to_string(summary.lines));
    return summary;
}
