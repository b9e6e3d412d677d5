#pragma once
// NUMERIC and DECIMAL columns of up to four decimals. The value is a currency
// (the number times 10000); the row keeps the column's own integer and scale,
// so a value that is not assigned goes back to the server unchanged.
#include "db/TField.h"

class TIBBCDField : public TField {
public:
    TIBBCDField(TIBCustomDataSet& dataSet, TFieldDef def, const TFieldStorage& storage, int index)
        : TField(dataSet, std::move(def), storage, index) {}

    // Empty text stores NULL.
    void SetAsString(const std::string& value) override;
    std::int32_t AsInteger() const override;
    void SetAsInteger(std::int32_t value) override;
    double AsFloat() const override;
    void SetAsFloat(double value) override;
    std::int64_t AsCurrency() const override;
    // Rounded to the column's scale, halves to even.
    void SetAsCurrency(std::int64_t value) override;

protected:
    // The shortest decimal text, up to four decimals.
    std::string TextOf(const std::byte* value) const override;
    std::int64_t currencyOf(const std::byte* value) const;
};
