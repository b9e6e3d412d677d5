#include "db/TIBQuery.h"

#include "db/DatabaseErrors.h"
#include "db/DsqlStatement.h"
#include "db/SqlParams.h"
#include "db/TIBDatabase.h"
#include "db/TIBTransaction.h"
#include "db/TIntegerField.h"
#include "util/AnsiText.h"

#include <cstdint>
#include <exception>
#include <string_view>

namespace {

// Statement types the query refuses: blob segment reads and writes, and SET
// TRANSACTION, which would start a transaction behind the connection's back.
constexpr int kStmtGetSegment = 6;
constexpr int kStmtPutSegment = 7;
constexpr int kStmtStartTrans = 9;
constexpr int kStmtSelect = 1;

// `word` (upper case) at `at`, ignoring the case of ASCII letters.
bool spellsAt(const std::string& text, std::size_t at, std::string_view word) {
    if (text.size() - at < word.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        char c = text[at + i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c != word[i])
            return false;
    }
    return true;
}

// The current value of a master field as a parameter value of the field's type.
TParamValue valueOf(const TField& field) {
    TParamValue value;
    value.DataType = field.DataType();
    value.IsNull = field.IsNull();
    if (value.IsNull)
        return value;
    switch (field.DataType()) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftMemo:
    case ftBlob:
        value.Text = field.AsString();
        break;
    case ftSmallint:
    case ftInteger:
        value.Integer = field.AsInteger();
        break;
    case ftLargeint:
        if (const auto* large = dynamic_cast<const TLargeintField*>(&field))
            value.Integer = large->AsLargeInt();
        else
            value.Integer = field.AsInteger();
        break;
    case ftBCD:
    case ftCurrency:
        value.Integer = field.AsCurrency();
        break;
    case ftFloat:
        value.Number = field.AsFloat();
        break;
    case ftDate:
    case ftTime:
    case ftDateTime:
    case ftTimeStamp:
        value.Number = field.AsDateTime();
        break;
    default:
        // Sending it fails with "Unsupported feature".
        break;
    }
    return value;
}

} // namespace

void TParam::SetValue(const TParamValue& value) {
    value_ = value;
    bound_ = true;
}

void TParam::SetAsString(const std::string& value) {
    value_ = TParamValue{};
    value_.DataType = ftString;
    value_.IsNull = false;
    value_.Text = value;
    bound_ = true;
}

void TParam::SetAsInteger(std::int64_t value) {
    value_ = TParamValue{};
    value_.DataType = value >= INT32_MIN && value <= INT32_MAX ? ftInteger : ftLargeint;
    value_.IsNull = false;
    value_.Integer = value;
    bound_ = true;
}

void TParam::SetAsFloat(double value) {
    value_ = TParamValue{};
    value_.DataType = ftFloat;
    value_.IsNull = false;
    value_.Number = value;
    bound_ = true;
}

void TParam::SetAsCurrency(std::int64_t value) {
    value_ = TParamValue{};
    value_.DataType = ftCurrency;
    value_.IsNull = false;
    value_.Integer = value;
    bound_ = true;
}

void TParam::SetAsDateTime(double value) {
    value_ = TParamValue{};
    value_.DataType = ftDateTime;
    value_.IsNull = false;
    value_.Number = value;
    bound_ = true;
}

void TParam::Clear() {
    const TFieldType type = value_.DataType;
    value_ = TParamValue{};
    value_.DataType = type;
    bound_ = true;
}

TIBQuery::TIBQuery(std::string name, TIBDatabase* database, TIBTransaction* transaction)
    : TIBCustomDataSet(std::move(name), database, transaction) {}

TIBQuery::~TIBQuery() {
    // No reopening while the master tells of its own end.
    masterLink_.SetDataSource(nullptr);
}

void TIBQuery::ClearSQL() {
    lines_.clear();
    textChanged();
}

void TIBQuery::AddSQL(const std::string& line) {
    lines_.push_back(line);
    textChanged();
}

void TIBQuery::SetSQLText(const std::string& text) {
    lines_.clear();
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines_.push_back(text.substr(start));
            break;
        }
        lines_.push_back(text.substr(start, end - start));
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    textChanged();
}

std::string TIBQuery::SQLText() const {
    std::string text;
    for (const std::string& line : lines_)
        text += line + "\r\n";
    return text;
}

void TIBQuery::textChanged() {
    Close();
    FreeStatements();
    const std::string text = SQLText();
    if (!paramCheck_) {
        parsedText_ = text;
        return;
    }
    // Parameters are looked for outside quoted text and outside "--" and
    // "/* */" comments, so a colon there (a time of day in a literal, a note)
    // never becomes one.
    const TParsedSql parsed = ParseSqlParams(text);
    std::vector<TParam> fresh;
    for (const std::string& name : DistinctParamNames(parsed)) {
        TParam param(name);
        for (const TParam& old : params_) {
            if (old.name_ == name) {
                param.value_ = old.value_;
                param.bound_ = old.bound_;
                break;
            }
        }
        fresh.push_back(std::move(param));
    }
    params_ = std::move(fresh);
    parsedText_ = parsed.Text;
}

TParam* TIBQuery::FindParam(const std::string& name) {
    for (TParam& param : params_)
        if (param.name_ == name)
            return &param;
    for (TParam& param : params_)
        if (AnsiSameText(param.name_, name))
            return &param;
    return nullptr;
}

TParam& TIBQuery::ParamByName(const std::string& name) {
    TParam* param = FindParam(name);
    if (!param)
        DataSetError("Parameter '" + name + "' not found");
    return *param;
}

void TIBQuery::Prepare() {
    if (Active())
        throw EDatabaseError("Dataset open");
    if (Prepared())
        return;
    // The line breaks the text is sent with do not count as content: a lone
    // ";" is as empty as no text at all.
    if (Trim(parsedText_).size() < 2)
        throw EDatabaseError("Empty SQL Statement");
    ConnectAndStart();
    PrepareStatement(SQLText());
    const int type = StatementType();
    if (type == kStmtGetSegment || type == kStmtPutSegment || type == kStmtStartTrans) {
        FreeStatements();
        throw EDatabaseError("Not permitted");
    }
}

void TIBQuery::UnPrepare() {
    Close();
    FreeStatements();
}

void TIBQuery::Execute() {
    if (Active())
        DataSetError("Cannot perform this operation on an open dataset");
    if (lines_.empty())
        throw EDatabaseError("Empty SQL Statement");
    ConnectAndStart();
    Prepare();
    applyMasterValues();
    copyParamsToStatement();
    if (StatementType() == kStmtSelect)
        throw EDatabaseError("use Open for a Select Statement");
    ExecuteStatement();
}

bool TIBQuery::runsWithoutPreparing() const {
    // Parameters need the prepared statement's descriptors; without the check
    // the list may be stale.
    return paramCheck_ && params_.empty() && RunsWithoutPreparing(parsedText_);
}

bool TIBQuery::RunsWithoutPreparing(const std::string& text) {
    const TParsedSql parsed = ParseSqlParams(text);
    // A "?" anywhere (even quoted) is left to Prepare.
    if (!parsed.Names.empty() || parsed.Text.find('?') != std::string::npos)
        return false;
    // Only these three are known, without asking the server, to be neither a
    // SELECT nor a statement the query refuses, and without RETURNING they
    // give back nothing.
    if (!spellsAt(parsed.Text, 0, "INSERT") && !spellsAt(parsed.Text, 0, "UPDATE") &&
        !spellsAt(parsed.Text, 0, "DELETE"))
        return false;
    for (std::size_t at = 0; at < parsed.Text.size(); ++at)
        if (spellsAt(parsed.Text, at, "RETURNING"))
            return false;
    return true;
}

std::optional<std::string> TIBQuery::ExecuteBlock(const std::string& blockSql, const std::string& lastLine,
                                                  short outputLength) {
    // The query ends as running the lines one by one leaves it: holding the
    // last one, unprepared.
    SetSQLText(lastLine);
    ConnectAndStart();
    if (TIBCustomDataSet* master = masterLink_.DataSet()) {
        try {
            master->FieldDefs();
        } catch (const std::exception&) {
            return std::nullopt;
        }
    }
    return ExecuteImmediateForText(Database()->Handle(), Transaction()->Handle(), blockSql,
                                   Database()->SQLDialect(), outputLength);
}

void TIBQuery::ExecuteDirect() {
    if (Active() || lines_.empty() || Prepared() || !runsWithoutPreparing())
        return Execute();
    ConnectAndStart();
    // Execute fails on the master only after the server accepted the text, so
    // a master that fails here leaves the outcome to Execute.
    if (TIBCustomDataSet* master = masterLink_.DataSet()) {
        try {
            master->FieldDefs();
        } catch (const std::exception&) {
            return Execute();
        }
    }
    ExecuteImmediate(Database()->Handle(), Transaction()->Handle(), parsedText_, Database()->SQLDialect());
}

void TIBQuery::PrepareCursor() {
    Prepare();
    applyMasterValues();
    copyParamsToStatement();
}

void TIBQuery::applyMasterValues() {
    TIBCustomDataSet* master = masterLink_.DataSet();
    if (!master)
        return;
    // Also without parameters: a master table without a name fails here.
    master->FieldDefs();
    for (TParam& param : params_) {
        if (param.bound_)
            continue;
        param.value_ = valueOf(*master->FieldNamed(param.name_));
    }
}

void TIBQuery::copyParamsToStatement() {
    const std::vector<std::string>& names = StatementParamNames();
    for (std::size_t i = 0; i < names.size(); ++i) {
        TParam* param = nullptr;
        for (TParam& candidate : params_) {
            if (candidate.name_ == names[i]) {
                param = &candidate;
                break;
            }
        }
        // Only without ParamCheck can the list miss a name of the text.
        if (!param)
            DataSetError("Parameter '" + names[i] + "' not found");
        SetStatementParam(static_cast<int>(i), param->value_);
    }
}

void TIBQuery::masterRowChanged() {
    TIBCustomDataSet* master = masterLink_.DataSet();
    if (reopening_ || !Active() || !master || !master->Active())
        return;
    // The grid sees one change once the query is open again (or closed, when
    // the new run fails).
    reopening_ = true;
    DisableControls();
    try {
        Close();
        Open();
    } catch (...) {
        reopening_ = false;
        EnableControlsQuietly();
        throw;
    }
    reopening_ = false;
    EnableControls();
}

void TIBQuery::MasterLink::ActiveChanged() {
    // Only an opened master brings new values; a closed one leaves the query as it is.
    if (DataSet() && DataSet()->Active())
        query_.masterRowChanged();
}
