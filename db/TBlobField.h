#pragma once
// BLOB columns. The row keeps only the blob's id; the content is read whole
// from the server when asked for, and a replaced content is written as a new
// blob when the row is posted.
#include "db/TField.h"

class TBlobField : public TField {
public:
    TBlobField(TIBCustomDataSet& dataSet, TFieldDef def, const TFieldStorage& storage, int index)
        : TField(dataSet, std::move(def), storage, index) {}

    // The whole content, byte for byte ("" for NULL).
    std::string AsString() const override;
    // Replaces the content; an empty one stores NULL.
    void SetAsString(const std::string& value) override;

protected:
    std::string TextOf(const std::byte* value) const override;
    // A placeholder: "(BLOB)", or "(blob)" when NULL.
    std::string displayTextIn(const std::byte* record) const override;
    virtual const char* placeholder() const { return "BLOB"; }
};

// Text blobs (sub-type 1).
class TMemoField : public TBlobField {
public:
    using TBlobField::TBlobField;

protected:
    const char* placeholder() const override { return "MEMO"; }
};
