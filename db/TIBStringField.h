#pragma once
// CHAR and VARCHAR columns. CHAR values keep their trailing blanks.
#include "db/TField.h"

class TIBStringField : public TField {
public:
    TIBStringField(TIBCustomDataSet& dataSet, TFieldDef def, const TFieldStorage& storage, int index)
        : TField(dataSet, std::move(def), storage, index) {}

    // Cut to Size characters without error; an empty text stores NULL.
    void SetAsString(const std::string& value) override;
    std::int32_t AsInteger() const override;
    void SetAsInteger(std::int32_t value) override;
    double AsFloat() const override;
    void SetAsFloat(double value) override;
    double AsDateTime() const override;
    void SetAsDateTime(double value) override;
    // True when the text begins with "T", "t", "Y" or "y"; stored as "T" or "F".
    bool AsBoolean() const override;
    void SetAsBoolean(bool value) override;

protected:
    std::string TextOf(const std::byte* value) const override;
};
