#pragma once
// The statements that write many rows in one round trip: an EXECUTE BLOCK
// that runs, for each row in order, exactly the statements the row-by-row
// path sends for it. Those statements live, word for word, in a procedure
// declared inside the block, whose parameters carry the names the statements
// use; the block calls it once per row, so the server compiles each statement
// once whatever the number of rows (a block that repeated them would soon
// pass the server's limit on tables per statement).
//
// The block takes its number of rows as the parameter N, then each row's
// values; the same prepared block serves any number of rows up to its size.
// Its one output row starts with FAILED: 0 when every row went through, else
// the number (from 1) of the row the server refused. That row's work is
// undone, the rows before it stay done and the rows after it were not run,
// so no row is ever sent twice because another one failed.
#include <string>
#include <vector>

// One declared name with its type, e.g. "\"NOME\"" and "TYPE OF COLUMN \"T\".\"NOME\"".
struct BatchDeclaration {
    std::string Name;
    std::string Type;
};

// What a block of row updates is built from.
struct ModifyBatchShape {
    // The update of one row, with ":NAME" parameters, as the row-by-row path sends it.
    std::string ModifySQL;
    // Its parameters in order of appearance, each declared by the name the
    // text uses (the row key among them).
    std::vector<BatchDeclaration> Params;
    // The re-read of one row by its key (empty: rows are not read again), and
    // what each of its result columns is declared as, in select-list order.
    std::string RefreshSQL;
    std::vector<std::string> RefreshTypes;
};

// Names the block declares for itself; a table whose columns use one of them
// cannot be written in blocks.
bool IsBatchReservedName(const std::string& name);

// The block for up to `rows` rows. Inputs: N, then per row the refresh flag
// (1: read the row again) and the parameters in order. Outputs: FAILED, then
// with a re-read per row a found flag (the re-read's row count) and the
// result columns.
std::string ModifyBatchSQL(const ModifyBatchShape& shape, int rows);

// The block that deletes up to `rows` rows: N, then each row's key; FAILED.
std::string DeleteBatchSQL(const std::string& deleteSQL, const BatchDeclaration& key, int rows);

// The type of the row key in a block.
inline constexpr const char* kBatchKeyType = "CHAR(8) CHARACTER SET OCTETS";
