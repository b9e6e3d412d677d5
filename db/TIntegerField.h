#pragma once
// Whole-number columns: INTEGER, SMALLINT and BIGINT without decimals.
#include "db/TField.h"

class TIntegerField : public TField {
public:
    TIntegerField(TIBCustomDataSet& dataSet, TFieldDef def, const TFieldStorage& storage, int index)
        : TField(dataSet, std::move(def), storage, index) {}

    // Empty text stores NULL.
    void SetAsString(const std::string& value) override;
    std::int32_t AsInteger() const override;
    // Refused outside the column's range.
    void SetAsInteger(std::int32_t value) override;
    double AsFloat() const override;
    // Rounded, halves to even.
    void SetAsFloat(double value) override;

protected:
    std::string TextOf(const std::byte* value) const override;
    std::int64_t stored() const;
    void store(std::int64_t value);
};

class TSmallintField : public TIntegerField {
public:
    using TIntegerField::TIntegerField;
};

class TLargeintField : public TField {
public:
    TLargeintField(TIBCustomDataSet& dataSet, TFieldDef def, const TFieldStorage& storage, int index)
        : TField(dataSet, std::move(def), storage, index) {}

    std::int64_t AsLargeInt() const;
    void SetAsLargeInt(std::int64_t value);

    void SetAsString(const std::string& value) override;
    // The low 32 bits, without a range check.
    std::int32_t AsInteger() const override;
    void SetAsInteger(std::int32_t value) override;
    double AsFloat() const override;
    void SetAsFloat(double value) override;

protected:
    std::string TextOf(const std::byte* value) const override;
};
