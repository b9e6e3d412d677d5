// Corvelo: maintenance of the rows of a Firebird database's tables.
#include "app/Startup.h"
#include "app/TApplication.h"
#include "app/TerminationSignals.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (!HasDisplay()) {
        std::fputs(
            "Corvelo: no display found. This is a desktop program: start it inside a graphical session "
            "(DISPLAY or WAYLAND_DISPLAY set), or under a virtual one with xvfb-run.\n",
            stderr);
        return 1;
    }
    // Before the first thread starts, so that every thread inherits it.
    BlockTerminationSignals();
    TApplication app(argc, argv);
    return RunProgram(app);
}
