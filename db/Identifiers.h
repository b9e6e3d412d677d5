#pragma once
// Table and field names in generated SQL. Dialect 1 has no quoted identifiers,
// so names are normalised to upper case; later dialects quote them, keeping
// case and blanks.
#include <string>

std::string QuoteIdentifier(int dialect, const std::string& name);

// A quoted name back in the form the catalogue stores: trimmed; a name in
// double quotes loses them and its doubled quotes; any other is upper-cased.
std::string StoredIdentifier(const std::string& quoted);

// A ";"-separated field list as an ORDER BY list. Dialect 1: trimmed,
// upper-cased, each ";" becomes ", ". Otherwise each name is trimmed and quoted.
std::string OrderByList(int dialect, const std::string& fieldNames);

// Text inside a single-quoted SQL literal: every apostrophe doubled.
std::string SqlStringLiteralBody(const std::string& text);
