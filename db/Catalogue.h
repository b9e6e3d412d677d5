#pragma once
// The layer's own catalogue reads, run on the connection's internal transaction.
#include "db/RelationFieldCache.h"

#include <optional>
#include <string>
#include <vector>

class TIBDatabase;
class TIBTransaction;

using CatalogueRow = std::vector<std::optional<std::string>>; // NULL is std::nullopt

// A scope whose catalogue reads share one internal transaction: the first
// read starts it (unless it runs already) and the end of the outermost scope
// commits it. Without reads nothing is started.
class CatalogueSession {
public:
    explicit CatalogueSession(TIBDatabase& database);
    ~CatalogueSession();
    CatalogueSession(const CatalogueSession&) = delete;
    CatalogueSession& operator=(const CatalogueSession&) = delete;

    void EnsureStarted();

private:
    TIBTransaction& transaction_;
    CatalogueSession* outer_;
    bool started_ = false;
    static thread_local CatalogueSession* innermost_;
};

// Every row of a query on the internal transaction (in a session of its own
// unless one is open). The text may use ":NAME" parameters, given in order;
// values come as text, blobs whole.
std::vector<CatalogueRow> CatalogueQuery(TIBDatabase& database, const std::string& sql,
                                         const std::vector<std::string>& params = {});

// The computed columns and the columns with a default of a table, from the
// connection's cache or else from the catalogue.
const TRelationColumns& RelationColumns(TIBDatabase& database, const std::string& relation);

inline constexpr const char* kRelationColumnsSQL =
    "Select F.RDB$COMPUTED_BLR, F.RDB$DEFAULT_VALUE, R.RDB$FIELD_NAME from RDB$RELATION_FIELDS R, "
    "RDB$FIELDS F where R.RDB$RELATION_NAME = :RELATION and R.RDB$FIELD_SOURCE = F.RDB$FIELD_NAME and "
    "((not F.RDB$COMPUTED_BLR is NULL) or      (not F.RDB$DEFAULT_VALUE is NULL))";
