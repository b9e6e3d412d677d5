// Statements per second of the console's script run against the database's
// own command-line tool on the same script, both reaching the server through
// a loopback forwarder that adds a fixed delay in each direction (none by
// default): "INSERT INTO" lines, the work committed every 500 lines on both
// sides. Then scripts whose lines often fail (a key already there, a column
// that does not exist), run in blocks and line by line: blocks must not make
// them slower. It exits with 1 when a side does not leave the rows it should.
//
// Run against the private server, like the tests:
//   CORVELO_TEST_SERVER=127.0.0.1/<port> CORVELO_TEST_DATA=<dir> script_bench [lines [one-way delay in us]]
#include "bench/BenchSupport.h"
#include "console/ScriptRunner.h"
#include "db/TIBQuery.h"
#include "tests/support/LinkForwarder.h"
#include "tests/support/TestDatabase.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace {

const char* const kCreate = "CREATE TABLE BENCH (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(40), "
                            "VALOR NUMERIC(15,2))";

std::string insertLine(long id) {
    return "INSERT INTO BENCH (ID, NOME, VALOR) VALUES (" + std::to_string(id) + ", 'Cliente n\xBA " +
           std::to_string(id) + "', " + std::to_string(id % 1000) + ".25);";
}

// Labels and the error list go nowhere; the commit is the real commit step.
class SilentScriptHost : public ScriptHost {
public:
    SilentScriptHost(TIBDatabase& connection, TIBTransaction& transaction)
        : connection_(connection), transaction_(transaction) {}
    void SetLabel(ScriptLabel, const std::string&) override {}
    void ClearErrorList() override {}
    void AppendError(const std::string&) override {}
    bool CommitStep() override { return RunCommitStep(connection_, transaction_, nullptr); }

private:
    TIBDatabase& connection_;
    TIBTransaction& transaction_;
};

std::string writeScript(const std::string& name, const std::function<std::string(long)>& line, long lines) {
    const std::string path =
        TestDatabase::dataDirectory() + "/" + name + "_" + std::to_string(::getpid()) + ".sql";
    std::ofstream out(path, std::ios::binary);
    for (long id = 1; id <= lines; ++id)
        out << line(id) << "\r\n";
    return path;
}

struct RunResult {
    double seconds = 0;
    long rows = 0;
    long errors = 0;
};

// The console's runner, as the window drives it, on a fresh table.
RunResult runRunner(LinkForwarder& link, const std::string& script, bool blocks) {
    TestDatabase db;
    db.exec(kCreate);
    WindowTable window(link.connectString(db.path()), "BENCH");
    TIBQuery query("qryScript", &window.connection, &window.transaction);
    SilentScriptHost host(window.connection, window.transaction);
    const auto start = Clock::now();
    const ScriptRunSummary summary = RunScript(script, query, host, blocks);
    RunResult result{secondsSince(start), std::stol(*db.scalar("SELECT COUNT(*) FROM BENCH")),
                     summary.errors};
    window.transaction.SetActive(false);
    window.connection.SetConnected(false);
    return result;
}

// The command-line tool on the same statements, with a COMMIT every 500 lines.
RunResult runTool(LinkForwarder& link, long lines) {
    TestDatabase db;
    db.exec(kCreate);
    const std::string toolScript = writeScript(
        "script_bench_tool",
        [&](long id) {
            std::string text = id == 1 ? "CONNECT '" + link.connectString(db.path()) +
                                             "' USER 'SYSDBA' PASSWORD 'lanternix';\n"
                                       : "";
            text += insertLine(id);
            if (id % 500 == 0 || id == lines)
                text += "\nCOMMIT;";
            return text;
        },
        lines);
    const std::string command = "isql-fb -q -b -ch WIN1252 -i '" + toolScript + "' >/dev/null";
    const auto start = Clock::now();
    const int status = std::system(command.c_str());
    RunResult result{secondsSince(start), std::stol(*db.scalar("SELECT COUNT(*) FROM BENCH")), status};
    std::remove(toolScript.c_str());
    return result;
}

} // namespace

int main(int argc, char** argv) try {
    const long lines = argc > 1 ? std::atol(argv[1]) : 100000;
    const long delay = argc > 2 ? std::atol(argv[2]) : 0;
    LinkForwarder link{std::chrono::microseconds(delay)};
    std::printf("%ld INSERT INTO lines, commit every 500, round trip about %.1f ms\n", lines,
                2 * delay / 1000.0);

    const std::string plain = writeScript("script_bench", insertLine, lines);
    const RunResult runner = runRunner(link, plain, true);
    const RunResult tool = runTool(link, lines);
    std::remove(plain.c_str());
    std::printf("script runner: %8.2f s  %10.0f statements/s  (%ld rows)\n", runner.seconds,
                lines / runner.seconds, runner.rows);
    std::printf("isql-fb:       %8.2f s  %10.0f statements/s  (%ld rows)  runner %.1fx\n", tool.seconds,
                lines / tool.seconds, tool.rows, tool.seconds / runner.seconds);
    bool complete = runner.rows == lines && tool.rows == lines;

    // Scripts whose lines often fail, in blocks and line by line.
    const long failingLines = std::min(lines, delay == 0 ? 20000L : std::max(200L, 2'000'000L / delay));
    struct Failing {
        const char* name;
        std::function<std::string(long)> line;
        long rows; // rows it leaves
    };
    const Failing failing[] = {
        {"every 2nd line a duplicate key", [](long id) { return insertLine(id % 2 ? id : id - 1); },
         (failingLines + 1) / 2},
        {"every 3rd line an unknown column",
         [](long id) {
             return id % 3 ? insertLine(id)
                           : "INSERT INTO BENCH (ID, NADA) VALUES (" + std::to_string(id) + ", 1);";
         },
         failingLines - failingLines / 3},
    };
    std::printf("\n%ld lines that often fail          blocks s   line by line s   blocks/line by line\n",
                failingLines);
    for (const Failing& kind : failing) {
        const std::string script = writeScript("script_bench_failing", kind.line, failingLines);
        const RunResult blocks = runRunner(link, script, true);
        const RunResult alone = runRunner(link, script, false);
        std::remove(script.c_str());
        std::printf("%-34s %9.3f %16.3f %12.2fx\n", kind.name, blocks.seconds, alone.seconds,
                    blocks.seconds / alone.seconds);
        complete =
            complete && blocks.rows == kind.rows && alone.rows == kind.rows && blocks.errors == alone.errors;
    }
    std::printf("\ngoals: runner >= 20x isql-fb over a 2 ms round trip; failing lines no slower than 1.2x\n");
    return complete ? 0 : 1;
} catch (const std::exception& e) {
    std::fprintf(stderr, "benchmark failed: %s\n", e.what());
    return 1;
}
