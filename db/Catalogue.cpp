#include "db/Catalogue.h"

#include "db/SqlParams.h"
#include "db/TIBDatabase.h"
#include "db/TIBSQL.h"
#include "db/TIBTransaction.h"
#include "util/AnsiText.h"

thread_local CatalogueSession* CatalogueSession::innermost_ = nullptr;

CatalogueSession::CatalogueSession(TIBDatabase& database)
    : transaction_(database.InternalTransaction()), outer_(innermost_) {
    innermost_ = this;
}

CatalogueSession::~CatalogueSession() {
    innermost_ = outer_;
    if (!started_ || !transaction_.IsStarted())
        return;
    try {
        transaction_.Commit();
    } catch (...) {
        // Only reads ran in it; a failed commit loses nothing.
    }
}

void CatalogueSession::EnsureStarted() {
    if (transaction_.IsStarted())
        return;
    CatalogueSession* outermost = this;
    while (outermost->outer_ && &outermost->outer_->transaction_ == &transaction_)
        outermost = outermost->outer_;
    transaction_.Start();
    outermost->started_ = true;
}

std::vector<CatalogueRow> CatalogueQuery(TIBDatabase& database, const std::string& sql,
                                         const std::vector<std::string>& params) {
    CatalogueSession session(database);
    session.EnsureStarted();
    const TParsedSql parsed = ParseSqlParams(sql);
    TIBSQL query(&database, &database.InternalTransaction());
    query.SetSQL(parsed.Text);
    query.Prepare();
    for (int i = 0; i < query.ParamCount() && i < static_cast<int>(params.size()); ++i)
        query.SetParam(i, params[static_cast<std::size_t>(i)]);
    query.ExecQuery();
    std::vector<CatalogueRow> rows;
    while (!query.Eof()) {
        CatalogueRow row;
        for (int i = 0; i < query.FieldCount(); ++i)
            row.push_back(query.FieldIsNull(i) ? std::nullopt : std::optional(query.FieldAsString(i)));
        rows.push_back(std::move(row));
        query.Next();
    }
    return rows;
}

const TRelationColumns& RelationColumns(TIBDatabase& database, const std::string& relation) {
    if (const TRelationColumns* known = database.RelationFields().Find(relation))
        return *known;
    TRelationColumns columns;
    for (const CatalogueRow& row : CatalogueQuery(database, kRelationColumnsSQL, {relation})) {
        TRelationColumn& column = columns[TrimRight(row[2].value_or(""))];
        column.Computed = row[0].has_value();
        column.HasDefault = row[1].has_value();
    }
    return database.RelationFields().Store(relation, std::move(columns));
}
