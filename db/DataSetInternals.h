#pragma once
// The parts of TIBCustomDataSet that hold client-library structures. Internal
// to db/*.cpp.
#include "db/DsqlStatement.h"
#include "db/TIBCustomDataSet.h"

#include <limits>
#include <map>
#include <memory>
#include <string>
#include <vector>

// A result column and where its value lies in the row record.
struct ResultColumn {
    std::string Name;     // the alias
    std::string Relation; // the table it comes from, if any
    std::string Source;   // its name in that table
    TFieldStorage Storage;
    short DescribedType = 0; // as the server described it (CHAR is read as VARCHAR)
    bool IsDBKey = false;    // the row key: kept in the record header
    int FieldIndex = -1;     // -1: no field
};

// A statement that writes rows, with the names of its parameters.
struct ModifyingStatement {
    std::string Text;
    std::vector<std::string> ParamNames;
    DsqlStatement Statement;
    // Its result has the layout of the select's (so it can refresh a row).
    bool GivesSelectRows = false;
};

struct TIBCustomDataSet::Statements {
    // The dataset's own statement (a select, or a statement without rows) and its parameters.
    DsqlStatement Main;
    std::vector<std::string> ParamNames;
    std::vector<TParamValue> Params;
    ModifyingStatement Refresh;
    ModifyingStatement Modify;
    ModifyingStatement Insert;
    ModifyingStatement Delete;
    // Blocks that post or delete many rows, by their number of rows: prepared
    // once, run again with new values, gone with the statements above.
    std::map<int, std::unique_ptr<DsqlStatement>> PostBlocks;
    std::map<int, std::unique_ptr<DsqlStatement>> DeleteBlocks;
    // The most rows a block may hold: lowered when the server refuses a block
    // of some size (one of its limits), 0 when it refuses blocks at all.
    int BlockLimit = std::numeric_limits<int>::max();

    void FreeBlocks() noexcept {
        PostBlocks.clear();
        DeleteBlocks.clear();
        BlockLimit = std::numeric_limits<int>::max();
    }
    void ForgetBlocks() noexcept {
        for (auto* blocks : {&PostBlocks, &DeleteBlocks})
            for (auto& [rows, block] : *blocks)
                block->Forget();
        FreeBlocks();
    }
};

// Points an output descriptor at a record laid out by `columns`.
// `first`: the descriptor's variable that takes the first column.
void BindOutput(XSQLDA& out, const std::vector<ResultColumn>& columns, const TRecordFormat& format,
                std::byte* record, short* nulls, int first = 0);

// Whether a result description has the layout of `columns` (a refresh
// statement must give the rows of the select).
bool SameLayout(const XSQLDA& out, const std::vector<ResultColumn>& columns);

// Values of typed parameters, held while the statement runs.
class ParamBinding {
public:
    // Blobs are written first, on this connection and transaction.
    void Bind(XSQLDA& in, const std::vector<TParamValue>& values, ClientHandle* database,
              ClientHandle* transaction, int dialect);

private:
    std::vector<std::vector<char>> buffers_;
    std::vector<short> nulls_;
};
