#include "db/TBlobField.h"

#include "db/TIBCustomDataSet.h"

#include <algorithm>
#include <cctype>

std::string TBlobField::AsString() const {
    return DataSet()->blobContent(*this);
}

void TBlobField::SetAsString(const std::string& value) {
    DataSet()->setBlobContent(*this, value);
}

std::string TBlobField::TextOf(const std::byte*) const {
    return std::string("(") + placeholder() + ")";
}

std::string TBlobField::displayTextIn(const std::byte* record) const {
    std::string text = std::string("(") + placeholder() + ")";
    if (!valueIn(record))
        std::transform(text.begin(), text.end(), text.begin(),
                       [](char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}
