// TIBCustomDataSet: preparing its statements, describing the result into the
// row layout and the field definitions, and binding rows and values to
// statement parameters.
#include "db/BlobIO.h"
#include "db/Catalogue.h"
#include "db/DataSetInternals.h"
#include "db/DatabaseErrors.h"
#include "db/ServerDates.h"
#include "db/SqlParams.h"
#include "db/TIBDatabase.h"
#include "db/TIBTransaction.h"
#include "util/AnsiText.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>

namespace {

std::size_t alignUp(std::size_t offset, std::size_t alignment) {
    return (offset + alignment - 1) / alignment * alignment;
}

// Bytes a value takes in the row record, and how it is aligned there.
std::size_t slotSize(const TFieldStorage& storage) {
    return storage.SqlType == SQL_VARYING ? storage.Length + sizeof(short) : storage.Length;
}

std::size_t slotAlignment(const TFieldStorage& storage) {
    if (storage.SqlType == SQL_VARYING)
        return alignof(short);
    switch (storage.Length) {
    case 2:
    case 4:
    case 8:
        return storage.Length;
    default:
        return 1;
    }
}

std::string nameOf(const char* text, short length) {
    return std::string(text, static_cast<std::size_t>(std::max<short>(length, 0)));
}

constexpr const char* kReturningDBKey = " returning RDB$DB_KEY";

} // namespace

void BindOutput(XSQLDA& out, const std::vector<ResultColumn>& columns, const TRecordFormat& format,
                std::byte* record, short* nulls, int first) {
    for (std::size_t i = 0; i < columns.size(); ++i) {
        XSQLVAR& var = out.sqlvar[static_cast<std::size_t>(first) + i];
        const ResultColumn& column = columns[i];
        var.sqltype = static_cast<ISC_SHORT>(column.Storage.SqlType | 1);
        var.sqlscale = column.Storage.Scale;
        var.sqllen = static_cast<ISC_SHORT>(column.Storage.Length);
        std::byte* data =
            column.IsDBKey ? TRecordFormat::DBKey(record) : format.Values(record) + column.Storage.Offset;
        var.sqldata = reinterpret_cast<ISC_SCHAR*>(data);
        var.sqlind = &nulls[i];
    }
}

bool SameLayout(const XSQLDA& out, const std::vector<ResultColumn>& columns) {
    if (out.sqld != static_cast<ISC_SHORT>(columns.size()))
        return false;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const XSQLVAR& var = out.sqlvar[i];
        if ((var.sqltype & ~1) != columns[i].DescribedType || var.sqlscale != columns[i].Storage.Scale ||
            var.sqllen != static_cast<ISC_SHORT>(columns[i].Storage.Length))
            return false;
    }
    return true;
}

void ParamBinding::Bind(XSQLDA& in, const std::vector<TParamValue>& values, ClientHandle* database,
                        ClientHandle* transaction, int dialect) {
    const auto count = static_cast<std::size_t>(in.sqld);
    buffers_.assign(count, {});
    nulls_.assign(count, 0);
    for (std::size_t i = 0; i < count; ++i) {
        XSQLVAR& var = in.sqlvar[i];
        const TParamValue value = i < values.size() ? values[i] : TParamValue{};
        const short described = static_cast<short>(var.sqltype & ~1);
        std::vector<char>& buffer = buffers_[i];
        var.sqlind = &nulls_[i];
        auto put = [&](short type, short scale, const void* data, std::size_t size) {
            var.sqltype = static_cast<ISC_SHORT>(type | 1);
            var.sqlscale = scale;
            var.sqllen = static_cast<ISC_SHORT>(size);
            buffer.assign(static_cast<const char*>(data), static_cast<const char*>(data) + size);
            if (buffer.empty())
                buffer.push_back(0);
            var.sqldata = buffer.data();
        };
        auto putText = [&](const std::string& text) {
            if (text.size() > 32767)
                throw EDatabaseError("Parameter value too long");
            if (described != SQL_TEXT && described != SQL_VARYING)
                var.sqlsubtype = 0;
            put(SQL_TEXT, 0, text.data(), text.size());
        };
        if (value.IsNull) {
            nulls_[i] = -1;
            const std::vector<char> zeros(static_cast<std::size_t>(std::max<ISC_SHORT>(var.sqllen, 8)) + 2,
                                          0);
            put(described, var.sqlscale, zeros.data(), static_cast<std::size_t>(var.sqllen));
            continue;
        }
        // Dialect 1 knows no 64-bit integers and no separate date type.
        const bool modern = dialect >= 3;
        switch (value.DataType) {
        case ftString:
        case ftFixedChar:
        case ftWideString:
            putText(value.Text);
            break;
        case ftSmallint:
        case ftInteger:
        case ftWord:
        case ftAutoInc:
        case ftBoolean: {
            if (value.Integer >= INT32_MIN && value.Integer <= INT32_MAX) {
                const auto v = static_cast<ISC_LONG>(value.Integer);
                put(SQL_LONG, 0, &v, sizeof v);
                break;
            }
            [[fallthrough]];
        }
        case ftLargeint:
            if (modern) {
                put(SQL_INT64, 0, &value.Integer, sizeof value.Integer);
            } else {
                const auto v = static_cast<double>(value.Integer);
                put(SQL_DOUBLE, 0, &v, sizeof v);
            }
            break;
        case ftBCD:
        case ftCurrency:
            if (modern) {
                put(SQL_INT64, -4, &value.Integer, sizeof value.Integer);
            } else {
                const double v = static_cast<double>(value.Integer) / 10000.0;
                put(SQL_DOUBLE, 0, &v, sizeof v);
            }
            break;
        case ftFloat:
            put(SQL_DOUBLE, 0, &value.Number, sizeof value.Number);
            break;
        case ftDate:
            if (modern) {
                const ISC_DATE v = DateToServer(value.Number);
                put(SQL_TYPE_DATE, 0, &v, sizeof v);
            } else {
                const ISC_TIMESTAMP v{DateToServer(value.Number), 0};
                put(SQL_TIMESTAMP, 0, &v, sizeof v);
            }
            break;
        case ftTime: {
            const ISC_TIME v = TimeToServer(value.Number);
            put(SQL_TYPE_TIME, 0, &v, sizeof v);
            break;
        }
        case ftDateTime:
        case ftTimeStamp: {
            const ISC_TIMESTAMP v = TimestampToServer(value.Number);
            put(SQL_TIMESTAMP, 0, &v, sizeof v);
            break;
        }
        case ftMemo:
        case ftBlob:
        case ftGraphic:
        case ftFmtMemo:
        case ftTypedBinary:
            if (described == SQL_BLOB) {
                const ISC_QUAD id = CreateBlob(database, transaction, value.Text);
                put(SQL_BLOB, 0, &id, sizeof id);
            } else {
                putText(value.Text);
            }
            break;
        default:
            throw EDatabaseError("Unsupported feature");
        }
    }
}

void TIBCustomDataSet::PrepareStatement(const std::string& sql) {
    closeCursorQuietly();
    statements_->Main.Free();
    columns_.clear();
    fieldDefs_.clear();
    const TParsedSql parsed = ParseSqlParams(sql);
    statements_->Main.Prepare(Database()->Handle(), Transaction()->Handle(), parsed.Text,
                              Database()->SQLDialect());
    statements_->ParamNames = parsed.Names;
    statements_->Params.assign(parsed.Names.size(), TParamValue{});
    try {
        describeResult();
    } catch (...) {
        statements_->Main.Free();
        columns_.clear();
        fieldDefs_.clear();
        throw;
    }
}

void TIBCustomDataSet::describeResult() {
    XSQLDA& out = statements_->Main.Output();
    const int count = out.sqld;
    needsRefresh_ = false;
    hasDBKey_ = false;
    // The value area begins after the header and the null bits of `count` columns.
    const std::size_t base = TRecordFormat(count, 0).ValueOffset();
    std::size_t end = base;
    for (int i = 0; i < count; ++i) {
        const XSQLVAR& var = out.sqlvar[i];
        ResultColumn column;
        column.Name = nameOf(var.aliasname, var.aliasname_length);
        column.Relation = TrimRight(nameOf(var.relname, var.relname_length));
        column.Source = TrimRight(nameOf(var.sqlname, var.sqlname_length));
        const auto type = static_cast<short>(var.sqltype & ~1);
        column.DescribedType = type;
        TFieldStorage& storage = column.Storage;
        // CHAR comes as VARCHAR of the same length: its blanks stay, and every
        // text value has the same layout.
        storage.SqlType = type == SQL_TEXT ? static_cast<short>(SQL_VARYING) : type;
        storage.Scale = var.sqlscale;
        storage.SubType = var.sqlsubtype;
        storage.Length = static_cast<unsigned short>(var.sqllen);
        storage.Column = i;
        const bool keyAlias = column.Name == kDBKeyAlias;
        if (keyAlias && type == SQL_TEXT && var.sqllen == static_cast<ISC_SHORT>(kDBKeySize)) {
            column.IsDBKey = true;
            storage.SqlType = SQL_TEXT;
            hasDBKey_ = true;
        } else {
            end = alignUp(end, slotAlignment(storage));
            storage.Offset = end - base;
            end += slotSize(storage);
        }
        if (const auto mapping =
                keyAlias ? std::nullopt : MapColumn(type, var.sqlscale, var.sqlsubtype, var.sqllen)) {
            TFieldDef def;
            def.Name = column.Name;
            def.DataType = mapping->DataType;
            def.Size = mapping->Size;
            def.Precision = mapping->Precision;
            def.FixedLength = mapping->FixedLength;
            def.Required = (var.sqltype & 1) == 0;
            def.FieldNo = i + 1;
            column.FieldIndex = static_cast<int>(fieldDefs_.size());
            fieldDefs_.push_back(std::move(def));
        }
        columns_.push_back(std::move(column));
    }
    format_ = TRecordFormat(count, alignUp(end, 8) - base);

    // Computed columns are shown but never written; a computed column or one
    // without a default means the server may store something else than was
    // posted, so posted rows are read again.
    std::set<std::string> relations;
    for (const ResultColumn& column : columns_)
        if (column.FieldIndex >= 0 && !column.Relation.empty() && !column.Source.empty())
            relations.insert(column.Relation);
    if (!relations.empty()) {
        CatalogueSession session(*Database());
        for (const std::string& relation : relations) {
            const TRelationColumns& known = RelationColumns(*Database(), relation);
            for (const ResultColumn& column : columns_) {
                if (column.FieldIndex < 0 || column.Relation != relation || column.Source.empty())
                    continue;
                const auto found = known.find(column.Source);
                const bool computed = found != known.end() && found->second.Computed;
                const bool hasDefault = found != known.end() && found->second.HasDefault;
                if (computed) {
                    fieldDefs_[static_cast<std::size_t>(column.FieldIndex)].ReadOnly = true;
                    fieldDefs_[static_cast<std::size_t>(column.FieldIndex)].Calculated = true;
                }
                if (computed || !hasDefault)
                    needsRefresh_ = true;
            }
        }
    }

    staging_.assign(format_.Size(), std::byte{0});
    stagingNulls_.assign(static_cast<std::size_t>(count), 0);
    BindOutput(out, columns_, format_, staging_.data(), stagingNulls_.data());
}

bool TIBCustomDataSet::StatementPrepared() const {
    return statements_->Main.Prepared();
}

int TIBCustomDataSet::StatementType() const {
    return statements_->Main.Type();
}

const std::vector<std::string>& TIBCustomDataSet::StatementParamNames() const {
    return statements_->ParamNames;
}

void TIBCustomDataSet::SetStatementParam(int index, const TParamValue& value) {
    auto& params = statements_->Params;
    if (index < 0 || index >= static_cast<int>(params.size()))
        throw EDatabaseError("Parameter index out of range");
    params[static_cast<std::size_t>(index)] = value;
}

void TIBCustomDataSet::ExecuteStatement() {
    ParamBinding binding;
    binding.Bind(statements_->Main.Input(), statements_->Params, Database()->Handle(),
                 Transaction()->Handle(), Database()->SQLDialect());
    statements_->Main.Execute(Transaction()->Handle());
}

void TIBCustomDataSet::openCursor() {
    ParamBinding binding;
    binding.Bind(statements_->Main.Input(), statements_->Params, Database()->Handle(),
                 Transaction()->Handle(), Database()->SQLDialect());
    statements_->Main.OpenCursor(Transaction()->Handle());
}

void TIBCustomDataSet::closeCursorQuietly() noexcept {
    try {
        statements_->Main.CloseCursor();
    } catch (...) {
        // A cursor that will not close is dropped with its statement; the next
        // open prepares again.
        statements_->Main.Free();
    }
}

void TIBCustomDataSet::SetModifyingSQL(std::string refresh, std::string modify, std::string insert,
                                       std::string remove) {
    ModifyingStatement* targets[] = {&statements_->Refresh, &statements_->Modify, &statements_->Insert,
                                     &statements_->Delete};
    std::string* texts[] = {&refresh, &modify, &insert, &remove};
    for (int i = 0; i < 4; ++i) {
        targets[i]->Statement.Free();
        targets[i]->Text = std::move(*texts[i]);
        targets[i]->ParamNames.clear();
    }
    statements_->FreeBlocks();
}

void TIBCustomDataSet::prepareModifying(ModifyingStatement& statement, const std::string& suffix) {
    if (statement.Text.empty() || statement.Statement.Prepared())
        return;
    const TParsedSql parsed = ParseSqlParams(statement.Text + suffix);
    statement.Statement.Prepare(Database()->Handle(), Transaction()->Handle(), parsed.Text,
                                Database()->SQLDialect());
    statement.ParamNames = parsed.Names;
    // Checked before the descriptors are pointed at a record, which changes them.
    statement.GivesSelectRows = SameLayout(statement.Statement.Output(), columns_);
}

void TIBCustomDataSet::PrepareModifyingStatements() {
    prepareModifying(statements_->Refresh, {});
    prepareModifying(statements_->Modify, {});
    // The key of a new row comes back with the insert, so the row can be read
    // again, changed and deleted like any other.
    prepareModifying(statements_->Insert, hasDBKey_ ? kReturningDBKey : "");
    prepareModifying(statements_->Delete, {});
}

bool TIBCustomDataSet::PrepareWriting() {
    PrepareModifyingStatements();
    return true;
}

bool TIBCustomDataSet::HasModifySQL() const {
    return !statements_->Modify.Text.empty();
}

bool TIBCustomDataSet::HasInsertSQL() const {
    return !statements_->Insert.Text.empty();
}

bool TIBCustomDataSet::HasDeleteSQL() const {
    return !statements_->Delete.Text.empty();
}

void TIBCustomDataSet::FreeStatements() noexcept {
    // Only a closed dataset gets here; its result description goes with the statement.
    columns_.clear();
    fieldDefs_.clear();
    statements_->Main.Free();
    statements_->Refresh.Statement.Free();
    statements_->Modify.Statement.Free();
    statements_->Insert.Statement.Free();
    statements_->Delete.Statement.Free();
    statements_->FreeBlocks();
}

void TIBCustomDataSet::bindRecordParams(ModifyingStatement& statement, std::byte* record,
                                        std::vector<short>& nulls) {
    XSQLDA& in = statement.Statement.Input();
    nulls.assign(static_cast<std::size_t>(in.sqld), 0);
    for (int i = 0; i < in.sqld; ++i) {
        XSQLVAR& var = in.sqlvar[i];
        var.sqlind = &nulls[static_cast<std::size_t>(i)];
        const std::string& name = statement.ParamNames.at(static_cast<std::size_t>(i));
        if (name == kDBKeyAlias) {
            var.sqltype = SQL_TEXT | 1;
            var.sqllen = static_cast<ISC_SHORT>(kDBKeySize);
            var.sqldata = reinterpret_cast<ISC_SCHAR*>(TRecordFormat::DBKey(record));
            continue;
        }
        // The exact name first: under dialect 3 two columns may differ only in case.
        const auto exact = std::find_if(fields_.begin(), fields_.end(), [&name](const auto& candidate) {
            return candidate->FieldName() == name;
        });
        TField* field = exact != fields_.end() ? exact->get() : FieldNamed(name);
        const TFieldStorage& storage = field->Storage();
        var.sqltype = static_cast<ISC_SHORT>(storage.SqlType | 1);
        var.sqlscale = storage.Scale;
        var.sqllen = static_cast<ISC_SHORT>(storage.Length);
        var.sqldata = reinterpret_cast<ISC_SCHAR*>(format_.Values(record) + storage.Offset);
        nulls[static_cast<std::size_t>(i)] = TRecordFormat::IsNull(record, storage.Column) ? -1 : 0;
    }
}

void TIBCustomDataSet::refreshRow(std::byte* record) {
    ModifyingStatement& refresh = statements_->Refresh;
    if (!refresh.Statement.Prepared() || !refresh.GivesSelectRows)
        return;
    std::vector<short> paramNulls;
    bindRecordParams(refresh, record, paramNulls);
    std::vector<std::byte> fresh(format_.Size(), std::byte{0});
    std::vector<short> nulls(columns_.size(), 0);
    BindOutput(refresh.Statement.Output(), columns_, format_, fresh.data(), nulls.data());
    // By row key: one row at most, read with the statement's execution.
    const bool found = refresh.Statement.ReadSingleRow(Transaction()->Handle());
    if (!found)
        return;
    for (std::size_t i = 0; i < columns_.size(); ++i)
        TRecordFormat::SetNull(record, static_cast<int>(i), nulls[i] < 0);
    std::memcpy(format_.Values(record), format_.Values(fresh.data()), format_.Size() - format_.ValueOffset());
}
