#pragma once
// Script lines sent many per round trip: a block that runs each line in a
// BEGIN ... END of its own that catches the line's failure, so a failing
// line is undone as the server undoes a statement that fails alone, the
// other lines run as if alone, and no line ever runs twice. The block says
// which lines failed.
#include <cstddef>
#include <string>
#include <vector>

// Whether a line may run inside such a block and give what it gives alone: a
// plain INSERT, UPDATE or DELETE the query would run in one round trip (no
// parameter, no "?", no RETURNING), whole (every quote, comment and
// parenthesis closed, nothing after a ";"), not too long, and free of the
// words that mean something only inside a block.
bool RunsInBlock(const std::string& line);

// The block running `lines` in order. Its one output is the list of the
// lines (numbered from 1) that failed, each followed by ",".
std::string ScriptBlockSQL(const std::vector<std::string>& lines);

// Bytes the block's output may take for `lines` lines.
short ScriptBlockOutputLength(std::size_t lines);

// The positions (from 0) the block's output names, in order.
std::vector<std::size_t> FailedScriptLines(const std::string& output);
