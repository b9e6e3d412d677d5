#pragma once
// The SQL a table dataset writes for itself, and its catalogue queries. QT is
// the quoted table name, `stored` the name as the catalogue keeps it.
#include <string>
#include <vector>

// "select QT.*, RDB$DB_KEY as IBX_INTERNAL_DBKEY from QT", then " where <filter>"
// when there is a filter and " order by <order>" when there is an order, each
// line followed by CR LF.
std::string TableSelectSQL(const std::string& quotedTable, const std::string& filter,
                           const std::string& orderList);
std::string TableRefreshSQL(const std::string& quotedTable);
std::string TableDeleteSQL(const std::string& quotedTable);
// Over the quoted names of the writable fields, in field order.
std::string TableModifySQL(const std::string& quotedTable, const std::vector<std::string>& quotedFields);
std::string TableInsertSQL(const std::string& quotedTable, const std::vector<std::string>& quotedFields);

std::string TableUpdatableSQL(const std::string& stored);
std::string TableIndexesSQL(const std::string& stored);
std::string IndexSegmentsSQL(const std::string& indexName);
std::string TableFieldsSQL(const std::string& stored);
