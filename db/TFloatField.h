#pragma once
// FLOAT and DOUBLE PRECISION columns, and integers with more than four decimals.
#include "db/TField.h"

class TFloatField : public TField {
public:
    TFloatField(TIBCustomDataSet& dataSet, TFieldDef def, const TFieldStorage& storage, int index)
        : TField(dataSet, std::move(def), storage, index) {}

    // General format, 15 significant digits; empty text stores NULL.
    void SetAsString(const std::string& value) override;
    // Rounded, halves to even; refused beyond the 32-bit range.
    std::int32_t AsInteger() const override;
    void SetAsInteger(std::int32_t value) override;
    double AsFloat() const override;
    void SetAsFloat(double value) override;

protected:
    std::string TextOf(const std::byte* value) const override;
    double read(const std::byte* value) const;
};
