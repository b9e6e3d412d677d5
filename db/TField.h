#pragma once
// A field: one column of a dataset's result, read from and written to the
// dataset's current row. Fields exist while their dataset is open; Close
// destroys them.
#include "db/FieldTypeCode.h"

#include <cstddef>
#include <cstdint>
#include <string>

class TIBCustomDataSet;

// A column as a field sees it, whether from a prepared statement or the catalogue.
struct TFieldDef {
    std::string Name;
    TFieldType DataType = ftUnknown;
    int Size = 0;
    int Precision = 0;
    bool FixedLength = false;
    bool Required = false;
    bool ReadOnly = false;
    // A computed column: shown, never written back.
    bool Calculated = false;
    // 1-based position in the select list.
    int FieldNo = 0;
};

// How a column's value lies in a row record: as the server delivers it.
struct TFieldStorage {
    short SqlType = 0; // client library type code, without the null flag
    short Scale = 0;
    short SubType = 0;         // text: character set; blob: sub-type
    unsigned short Length = 0; // bytes of the value (text: declared length, without the length word)
    std::size_t Offset = 0;    // within the record's values
    int Column = 0;            // position in the result: the index of its null bit
};

class TField {
public:
    virtual ~TField() = default;
    TField(const TField&) = delete;
    TField& operator=(const TField&) = delete;

    TIBCustomDataSet* DataSet() const { return dataSet_; }
    const std::string& FieldName() const { return def_.Name; }
    const std::string& DisplayLabel() const { return displayLabel_; }
    void SetDisplayLabel(std::string label) { displayLabel_ = std::move(label); }
    // The grid's column title and the name in field messages.
    const std::string& HeaderName() const { return displayLabel_.empty() ? def_.Name : displayLabel_; }
    TFieldType DataType() const { return def_.DataType; }
    int Size() const { return def_.Size; }
    // Bytes of the stored value in the layer's terms (strings: length + 1).
    int DataSize() const;
    bool Required() const { return def_.Required; }
    bool ReadOnly() const { return def_.ReadOnly; }
    bool Calculated() const { return def_.Calculated; }
    bool FixedLength() const { return def_.FixedLength; }
    int Precision() const { return def_.Precision; }
    int FieldNo() const { return def_.FieldNo; }
    // 0-based position among the dataset's fields.
    int Index() const { return index_; }
    const TFieldDef& Def() const { return def_; }

    bool IsNull() const;
    // Stores NULL (edit or insert state only).
    void Clear();

    // NULL reads as "", 0, 0.0, a zero date or false. A conversion the class
    // does not offer raises "Cannot access field '<header>' as type <word>".
    virtual std::string AsString() const;
    virtual void SetAsString(const std::string& value);
    virtual std::int32_t AsInteger() const;
    virtual void SetAsInteger(std::int32_t value);
    virtual double AsFloat() const;
    virtual void SetAsFloat(double value);
    // Currency: the number times 10000.
    virtual std::int64_t AsCurrency() const;
    virtual void SetAsCurrency(std::int64_t value);
    virtual double AsDateTime() const;
    virtual void SetAsDateTime(double value);
    virtual bool AsBoolean() const;
    virtual void SetAsBoolean(bool value);

    // What the grid shows for the current row.
    std::string DisplayText() const { return displayTextIn(currentRecord()); }

protected:
    TField(TIBCustomDataSet& dataSet, TFieldDef def, const TFieldStorage& storage, int index);

    [[noreturn]] void AccessError(const char* typeWord) const;
    const TFieldStorage& Storage() const { return storage_; }

    // The current value's bytes; nullptr when it is NULL or there is no current row.
    const std::byte* Value() const { return valueIn(currentRecord()); }
    const std::byte* valueIn(const std::byte* record) const;

    // Writing: Slot() checks that the dataset is in edit or insert state and the
    // field may be written, and gives the value's bytes in the edited row;
    // Written() then marks it not NULL and the row modified.
    std::byte* Slot();
    void Written();
    void WriteNull();

    // The text of a non-NULL value, as AsString gives it.
    virtual std::string TextOf(const std::byte* value) const = 0;
    // The grid's text of a record's value (nullptr record: no current row).
    virtual std::string displayTextIn(const std::byte* record) const;

private:
    friend class TIBCustomDataSet;

    const std::byte* currentRecord() const;

    TIBCustomDataSet* dataSet_;
    TFieldDef def_;
    TFieldStorage storage_;
    int index_;
    std::string displayLabel_;
};
