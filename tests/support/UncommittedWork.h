#pragma once
// A second attachment to a test database whose transaction stays open: the
// rows its statements change stay locked until it is rolled back (at the
// latest when the object goes away). Used to make the program meet a lock
// conflict.
#include <string>

class UncommittedWork {
public:
    // Attaches directly to the server (not through any forwarder).
    explicit UncommittedWork(const std::string& connectString);
    ~UncommittedWork();
    UncommittedWork(const UncommittedWork&) = delete;
    UncommittedWork& operator=(const UncommittedWork&) = delete;

    // Runs a statement in the open transaction, without committing it.
    void exec(const std::string& sql);
    void rollback();

private:
    unsigned int db_ = 0;
    unsigned int tr_ = 0;
};
