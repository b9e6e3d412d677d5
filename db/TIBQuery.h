#pragma once
// A dataset over a free SQL text: a SELECT opens a read-only cursor, any other
// statement is run by Execute (or at once by Open). ":NAME" parameters take
// values assigned to them, or else the field of the same name in the current
// row of the master dataset behind DataSource, which also re-executes an open
// query whenever the master's current row changes.
#include "db/TDataSource.h"
#include "db/TIBCustomDataSet.h"
#include "db/TParamValue.h"

#include <optional>
#include <string>
#include <vector>

class TParam {
public:
    explicit TParam(std::string name) : name_(std::move(name)) {}

    const std::string& Name() const { return name_; }
    TFieldType DataType() const { return value_.DataType; }
    bool IsNull() const { return value_.IsNull; }
    const TParamValue& Value() const { return value_; }
    // Assigned directly: the master no longer supplies the value.
    bool Bound() const { return bound_; }
    void SetBound(bool bound) { bound_ = bound; }

    // Each of these binds the parameter.
    void SetValue(const TParamValue& value);
    void SetAsString(const std::string& value);
    void SetAsInteger(std::int64_t value);
    void SetAsFloat(double value);
    // The number times 10000.
    void SetAsCurrency(std::int64_t value);
    // Day number since 30 December 1899, the time as fraction.
    void SetAsDateTime(double value);
    // NULL, keeping the data type.
    void Clear();

private:
    friend class TIBQuery;
    std::string name_;
    TParamValue value_;
    bool bound_ = false;
};

class TIBQuery : public TIBCustomDataSet {
public:
    explicit TIBQuery(std::string name = "qryScript", TIBDatabase* database = nullptr,
                      TIBTransaction* transaction = nullptr);
    ~TIBQuery() override;

    // Every change of the lines closes the query, drops its prepared statement
    // and scans the text for parameters again (when ParamCheck is on); values
    // and bound flags pass to the new parameters of the same name.
    const std::vector<std::string>& SQL() const { return lines_; }
    void ClearSQL();
    void AddSQL(const std::string& line);
    // Split into lines at CR LF, LF or CR.
    void SetSQLText(const std::string& text);
    // The text as sent to the server: every line followed by CR LF.
    std::string SQLText() const;

    bool ParamCheck() const { return paramCheck_; }
    void SetParamCheck(bool value) { paramCheck_ = value; }
    // One per distinct name, in order of first appearance.
    std::vector<TParam>& Params() { return params_; }
    const std::vector<TParam>& Params() const { return params_; }
    // Ignoring letter case; "Parameter '<name>' not found" when missing.
    TParam& ParamByName(const std::string& name);
    TParam* FindParam(const std::string& name);

    TDataSource* DataSource() const { return masterLink_.DataSource(); }
    void SetDataSource(TDataSource* source) { masterLink_.SetDataSource(source); }

    // Prepares the statement on the server (attaching and starting when
    // needed); nothing when already prepared. "Dataset open" on an open query.
    void Prepare();
    bool Prepared() const { return StatementPrepared(); }
    // Closed as well; the next Prepare, Open or Execute prepares again.
    void UnPrepare();
    // The server's statement type (1 select, 12 select for update, ...), 0 unprepared.
    int StatementType() const { return TIBCustomDataSet::StatementType(); }
    // Runs a statement without rows; nothing is committed. A SELECT is refused.
    void Execute();
    // Execute with the same outcome, in one round trip instead of two when the
    // text is a plain INSERT, UPDATE or DELETE without parameters or
    // RETURNING; the query is then left unprepared. Anything else goes
    // through Execute.
    void ExecuteDirect();
    // Whether ExecuteDirect runs this text in one round trip: a plain INSERT,
    // UPDATE or DELETE without parameters, "?" or RETURNING.
    static bool RunsWithoutPreparing(const std::string& text);
    // Runs a block made of such lines (the script runner's) in one round trip
    // and gives back its one text output; nothing when the master binding
    // fails the check every line would fail on, so the lines go one by one.
    // Leaves the query holding `lastLine`, unprepared, as the lines would.
    std::optional<std::string> ExecuteBlock(const std::string& blockSql, const std::string& lastLine,
                                            short outputLength);

protected:
    void PrepareCursor() override;

private:
    // Follows the master: an open query runs again on every change of its row.
    class MasterLink : public TDataLink {
    public:
        explicit MasterLink(TIBQuery& query) : query_(query) {}
        void ActiveChanged() override;
        void DataSetChanged() override { query_.masterRowChanged(); }
        void DataSetScrolled() override { query_.masterRowChanged(); }
        void EditingChanged() override { query_.masterRowChanged(); }

    private:
        TIBQuery& query_;
    };

    void textChanged();
    bool runsWithoutPreparing() const;
    void applyMasterValues();
    void copyParamsToStatement();
    void masterRowChanged();

    std::vector<std::string> lines_;
    std::string parsedText_;
    std::vector<TParam> params_;
    bool paramCheck_ = true;
    bool reopening_ = false;
    MasterLink masterLink_{*this};
};
