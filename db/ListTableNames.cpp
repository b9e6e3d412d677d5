// TIBDatabase::ListTableNames: the user's tables (and optionally the system
// ones) from the catalogue, through the connection's internal transaction.
#include "db/TIBDatabase.h"
#include "db/TIBSQL.h"
#include "db/TIBTransaction.h"

namespace {

constexpr const char* kUserTables =
    "Select RDB$RELATION_NAME from RDB$RELATIONS  where RDB$VIEW_BLR is NULL and "
    "RDB$SYSTEM_FLAG = 0 ORDER BY RDB$RELATION_NAME";
constexpr const char* kAllTables =
    "Select RDB$RELATION_NAME from RDB$RELATIONS  where RDB$VIEW_BLR is NULL ORDER BY RDB$RELATION_NAME";

// Catalogue names are padded with blanks; control characters go with them.
std::string trimRight(std::string text) {
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.pop_back();
    return text;
}

} // namespace

void TIBDatabase::ListTableNames(std::vector<std::string>& list, bool includeSystem) {
    if (!Connected())
        SetConnected(true);
    TIBTransaction& transaction = InternalTransaction();
    if (!transaction.IsStarted())
        transaction.Start();

    std::vector<std::string> names;
    try {
        TIBSQL query(this, &transaction);
        query.SetSQL(includeSystem ? kAllTables : kUserTables);
        query.ExecQuery();
        while (!query.Eof()) {
            names.push_back(trimRight(query.FieldAsString(0)));
            query.Next();
        }
    } catch (...) {
        // The first error is the one to report; the commit only tidies up.
        try {
            transaction.Commit();
        } catch (...) {
        }
        throw;
    }
    transaction.Commit();
    list = std::move(names);
}
