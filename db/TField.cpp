#include "db/TField.h"

#include "db/DatabaseErrors.h"
#include "db/TIBCustomDataSet.h"
#include "db/TRowCache.h"
#include "util/NumberText.h"

TField::TField(TIBCustomDataSet& dataSet, TFieldDef def, const TFieldStorage& storage, int index)
    : dataSet_(&dataSet), def_(std::move(def)), storage_(storage), index_(index) {}

int TField::DataSize() const {
    switch (def_.DataType) {
    case ftString:
        return def_.Size + 1;
    case ftSmallint:
        return 2;
    case ftInteger:
        return 4;
    default:
        return 8;
    }
}

const std::byte* TField::currentRecord() const {
    return dataSet_->activeRecord();
}

const std::byte* TField::valueIn(const std::byte* record) const {
    if (!record || TRecordFormat::IsNull(record, storage_.Column))
        return nullptr;
    return dataSet_->recordFormat().Values(record) + storage_.Offset;
}

bool TField::IsNull() const {
    return Value() == nullptr;
}

void TField::Clear() {
    WriteNull();
}

std::byte* TField::Slot() {
    std::byte* record = dataSet_->recordToWrite(*this);
    return dataSet_->recordFormat().Values(record) + storage_.Offset;
}

void TField::Written() {
    TRecordFormat::SetNull(dataSet_->recordToWrite(*this), storage_.Column, false);
    dataSet_->fieldWritten(*this);
}

void TField::WriteNull() {
    TRecordFormat::SetNull(dataSet_->recordToWrite(*this), storage_.Column, true);
    dataSet_->fieldWritten(*this);
}

std::string TField::displayTextIn(const std::byte* record) const {
    const std::byte* value = valueIn(record);
    return value ? TextOf(value) : std::string();
}

void TField::AccessError(const char* typeWord) const {
    throw EDatabaseError("Cannot access field '" + HeaderName() + "' as type " + typeWord);
}

std::string TField::AsString() const {
    const std::byte* value = Value();
    return value ? TextOf(value) : std::string();
}

void TField::SetAsString(const std::string&) {
    AccessError("String");
}

std::int32_t TField::AsInteger() const {
    AccessError("Integer");
}

void TField::SetAsInteger(std::int32_t) {
    AccessError("Integer");
}

double TField::AsFloat() const {
    AccessError("Float");
}

void TField::SetAsFloat(double) {
    AccessError("Float");
}

// Currency goes through the float conversion, as it does for every class
// that has no currency of its own.
std::int64_t TField::AsCurrency() const {
    return FloatToCurrency(AsFloat());
}

void TField::SetAsCurrency(std::int64_t value) {
    SetAsFloat(static_cast<double>(value) / 10000.0);
}

double TField::AsDateTime() const {
    AccessError("DateTime");
}

void TField::SetAsDateTime(double) {
    AccessError("DateTime");
}

bool TField::AsBoolean() const {
    AccessError("Boolean");
}

void TField::SetAsBoolean(bool) {
    AccessError("Boolean");
}
