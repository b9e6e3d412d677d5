#pragma once
// TIMESTAMP, DATE and TIME columns. Values are day numbers since 30 December
// 1899 with the time of day as the fraction.
#include "db/TField.h"

class TDateTimeField : public TField {
public:
    TDateTimeField(TIBCustomDataSet& dataSet, TFieldDef def, const TFieldStorage& storage, int index)
        : TField(dataSet, std::move(def), storage, index) {}

    // Empty text stores NULL.
    void SetAsString(const std::string& value) override;
    double AsFloat() const override;
    void SetAsFloat(double value) override;
    double AsDateTime() const override;
    void SetAsDateTime(double value) override;

protected:
    std::string TextOf(const std::byte* value) const override;
    double read(const std::byte* value) const;
};

class TDateField : public TDateTimeField {
public:
    using TDateTimeField::TDateTimeField;
};

class TTimeField : public TDateTimeField {
public:
    using TDateTimeField::TDateTimeField;
};
