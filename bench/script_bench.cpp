// Statements per second of the console's script run against the database's
// own command-line tool on the same script: 100,000 "INSERT INTO" lines, the
// work committed every 500 lines on both sides. It exits with 1 when a side
// does not leave every row behind.
//
// Run against the private server, like the tests:
//   CORVELO_TEST_SERVER=127.0.0.1/<port> CORVELO_TEST_DATA=<dir> script_bench [lines]
#include "bench/BenchSupport.h"
#include "console/ScriptRunner.h"
#include "db/MainConnectionSettings.h"
#include "db/TIBDatabase.h"
#include "db/TIBQuery.h"
#include "db/TIBTransaction.h"
#include "ops/CommitStep.h"
#include "tests/support/TestDatabase.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
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

} // namespace

int main(int argc, char** argv) {
    const long lines = argc > 1 ? std::atol(argv[1]) : 100000;
    const std::string folder = TestDatabase::dataDirectory();
    const std::string script = folder + "/script_bench_" + std::to_string(::getpid()) + ".sql";
    {
        std::ofstream out(script, std::ios::binary);
        for (long id = 1; id <= lines; ++id)
            out << insertLine(id) << "\r\n";
    }

    // The console's runner, as the window drives it.
    double runnerSeconds = 0;
    std::string runnerRows;
    {
        TestDatabase db;
        db.exec(kCreate);
        TIBDatabase connection;
        TIBTransaction transaction;
        ConfigureMainConnection(connection, transaction);
        connection.SetDatabaseName(db.connectString());
        connection.SetConnected(true);
        transaction.Start();
        TIBQuery query("qryScript", &connection, &transaction);
        SilentScriptHost host(connection, transaction);
        const auto start = Clock::now();
        const ScriptRunSummary summary = RunScript(script, query, host);
        runnerSeconds = secondsSince(start);
        runnerRows = *db.scalar("SELECT COUNT(*) FROM BENCH");
        if (summary.errors != 0)
            std::printf("runner: %lld failed lines\n", static_cast<long long>(summary.errors));
        transaction.SetActive(false);
        connection.SetConnected(false);
    }

    // The command-line tool on the same statements, with a COMMIT every 500 lines.
    double toolSeconds = 0;
    std::string toolRows;
    {
        TestDatabase db;
        db.exec(kCreate);
        const std::string toolScript = script + ".isql";
        {
            std::ofstream out(toolScript, std::ios::binary);
            out << "CONNECT '" << db.connectString() << "' USER 'SYSDBA' PASSWORD 'lanternix';\n";
            for (long id = 1; id <= lines; ++id) {
                out << insertLine(id) << "\n";
                if (id % 500 == 0)
                    out << "COMMIT;\n";
            }
            out << "COMMIT;\n";
        }
        const std::string command = "isql-fb -q -b -ch WIN1252 -i '" + toolScript + "' >/dev/null";
        const auto start = Clock::now();
        const int status = std::system(command.c_str());
        toolSeconds = secondsSince(start);
        toolRows = *db.scalar("SELECT COUNT(*) FROM BENCH");
        if (status != 0)
            std::printf("isql-fb ended with status %d\n", status);
        std::remove(toolScript.c_str());
    }
    std::remove(script.c_str());

    std::printf("%ld INSERT INTO lines, commit every 500\n", lines);
    std::printf("script runner: %8.2f s  %10.0f statements/s  (%s rows)\n", runnerSeconds,
                lines / runnerSeconds, runnerRows.c_str());
    std::printf("isql-fb:       %8.2f s  %10.0f statements/s  (%s rows)\n", toolSeconds, lines / toolSeconds,
                toolRows.c_str());
    const bool complete = runnerRows == std::to_string(lines) && toolRows == std::to_string(lines);
    return complete ? 0 : 1;
}
