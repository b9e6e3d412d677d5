#pragma once
// The program asked to end from outside: the desktop session ending (logout,
// shutdown) or a plain `kill` sends SIGTERM, a closed terminal SIGHUP, Ctrl+C
// SIGINT. Left alone, the database client library takes these signals and
// shuts its connections down under the running program, which then fails in
// the middle of its work or crashes. The program takes them itself, before any
// connection is made, and ends in order.
#include <functional>

// Calls `handler` on the window's thread, from the event loop, each time one
// of these signals arrives. Needs the application object; call it once.
void OnTerminationSignal(std::function<void()> handler);
