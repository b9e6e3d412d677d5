#pragma once
// A fresh database on the private test server for each test, and plain SQL
// through the client library to prepare data and to check what the program wrote.
//
// The server and the folder for database files come from the environment that
// ./scripts/test sets up: CORVELO_TEST_SERVER ("127.0.0.1/port") and CORVELO_TEST_DATA.
#include <optional>
#include <string>
#include <vector>

using TestRow = std::vector<std::optional<std::string>>; // NULL is std::nullopt

class TestDatabase {
public:
    // Creates an empty dialect-3 database with the default character set WIN1252.
    TestDatabase();
    // The same with the given SQL dialect (1 or 3); exec and query use it too.
    explicit TestDatabase(int sqlDialect);
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    // The connect string the program would be given: server, colon, file path.
    const std::string& connectString() const { return connectString_; }
    const std::string& path() const { return path_; }

    // Runs one statement in its own transaction and commits it.
    void exec(const std::string& sql);
    // Runs each statement in turn (each committed on its own).
    void exec(const std::vector<std::string>& statements);
    // Runs a query and returns every row, each value as the server's text form;
    // blobs come back whole.
    std::vector<TestRow> query(const std::string& sql);
    // The single value of a one-row, one-column query.
    std::optional<std::string> scalar(const std::string& sql);

    // Where the test server keeps its files; fails the test when the
    // environment was not prepared by ./scripts/test.
    static std::string server();
    static std::string dataDirectory();

private:
    void attach();
    void detach();

    std::string path_;
    std::string connectString_;
    unsigned int db_ = 0; // the client library's handle, kept opaque here
    unsigned short dialect_ = 3;
};
