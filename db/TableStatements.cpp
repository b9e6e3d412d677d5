#include "db/TableStatements.h"

#include "db/Identifiers.h"

namespace {

constexpr const char* kLineEnd = "\r\n";

std::string selectList(const std::string& quotedTable) {
    return "select " + quotedTable + ".*, " + "RDB$DB_KEY as IBX_INTERNAL_DBKEY from " + quotedTable;
}

std::string joined(const std::vector<std::string>& items, const std::string& prefix) {
    std::string list;
    for (const std::string& item : items) {
        if (!list.empty())
            list += ", ";
        list += prefix + item;
    }
    return list;
}

// Names go into single-quoted literals; a doubled apostrophe keeps such a name whole.
std::string literal(const std::string& name) {
    return "'" + SqlStringLiteralBody(name) + "'";
}

} // namespace

std::string TableSelectSQL(const std::string& quotedTable, const std::string& filter,
                           const std::string& orderList) {
    std::string sql = selectList(quotedTable) + kLineEnd;
    if (!filter.empty())
        sql += " where " + filter + kLineEnd;
    if (!orderList.empty())
        sql += " order by " + orderList + kLineEnd;
    return sql;
}

std::string TableRefreshSQL(const std::string& quotedTable) {
    return selectList(quotedTable) + " where RDB$DB_KEY = :IBX_INTERNAL_DBKEY";
}

std::string TableDeleteSQL(const std::string& quotedTable) {
    return "delete from " + quotedTable + " where RDB$DB_KEY = " + ":IBX_INTERNAL_DBKEY";
}

std::string TableModifySQL(const std::string& quotedTable, const std::vector<std::string>& quotedFields) {
    std::string sets;
    for (const std::string& field : quotedFields) {
        if (!sets.empty())
            sets += ", ";
        sets += field + " = :" + field;
    }
    return "update " + quotedTable + " set " + sets + " where RDB$DB_KEY = :IBX_INTERNAL_DBKEY";
}

std::string TableInsertSQL(const std::string& quotedTable, const std::vector<std::string>& quotedFields) {
    return "insert into " + quotedTable + " (" + joined(quotedFields, "") + ") values (" +
           joined(quotedFields, ":") + ")";
}

std::string TableUpdatableSQL(const std::string& stored) {
    return "Select RDB$SYSTEM_FLAG, RDB$DBKEY_LENGTH from RDB$RELATIONS where RDB$RELATION_NAME = " +
           literal(stored);
}

std::string TableIndexesSQL(const std::string& stored) {
    return "Select I.RDB$INDEX_NAME, I.RDB$UNIQUE_FLAG, I.RDB$INDEX_TYPE, I.RDB$SEGMENT_COUNT, "
           "S.RDB$FIELD_NAME from RDB$INDICES I, RDB$INDEX_SEGMENTS S where I.RDB$INDEX_NAME = "
           "S.RDB$INDEX_NAME and I.RDB$RELATION_NAME = " +
           literal(stored);
}

std::string IndexSegmentsSQL(const std::string& indexName) {
    return "Select RDB$FIELD_NAME from RDB$INDEX_SEGMENTS where RDB$INDEX_NAME = " + literal(indexName) +
           "ORDER BY RDB$FIELD_POSITION";
}

std::string TableFieldsSQL(const std::string& stored) {
    return "Select R.RDB$FIELD_NAME, R.RDB$FIELD_POSITION, F.RDB$COMPUTED_BLR, F.RDB$DEFAULT_VALUE, "
           "F.RDB$NULL_FLAG, F.RDB$FIELD_LENGTH, F.RDB$FIELD_SCALE, F.RDB$FIELD_TYPE, F.RDB$FIELD_SUB_TYPE, "
           "F.RDB$EXTERNAL_LENGTH, F.RDB$EXTERNAL_SCALE, F.RDB$EXTERNAL_TYPE from RDB$RELATION_FIELDS R, "
           "RDB$FIELDS F where R.RDB$RELATION_NAME = " +
           literal(stored) + " " + "and R.RDB$FIELD_SOURCE = F.RDB$FIELD_NAME " +
           "order by R.RDB$FIELD_POSITION";
}
