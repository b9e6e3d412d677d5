#pragma once
// The program asked to end from outside: the desktop session ending (logout,
// shutdown) or a plain `kill` sends SIGTERM, a closed terminal SIGHUP, Ctrl+C
// SIGINT. The database client library installs handlers of its own for these
// signals when it first connects, which shut its connections down under the
// running program, which then fails in the middle of its work or crashes. So
// no thread of the program takes these signals at all: they are blocked from
// the start, and the event loop reads them instead, to end in order.
#include <functional>

// Blocks the signals in this thread and in every thread it starts later:
// call it first thing in main, before any thread exists.
void BlockTerminationSignals();

// Calls `handler` on this thread, from the event loop, each time one of these
// signals arrives. Needs the application object; call it once.
void OnTerminationSignal(std::function<void()> handler);
