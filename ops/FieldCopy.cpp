#include "ops/FieldCopy.h"

#include "db/TField.h"
#include "db/TIBTable.h"
#include "ops/OperationHost.h"
#include "ops/RowWalk.h"
#include "util/DateText.h"
#include "util/NumberText.h"
#include "util/TextUtils.h"

#include <cstdint>

namespace {

std::string upperAscii(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

} // namespace

std::string ReadTransferText(const TField& field, CopySource type) {
    switch (type) {
    case CopySource::Integer:
    case CopySource::String:
        return field.AsString();
    case CopySource::Real:
        return FloatToStr(CurrencyToFloat(field.AsCurrency()));
    case CopySource::Float:
        return FloatToStr(field.AsFloat());
    case CopySource::Date:
        // The short date format has no time part, so a time of day is dropped.
        return DateToStr(field.AsDateTime());
    case CopySource::Boolean:
        return field.AsBoolean() ? "TRUE" : "FALSE";
    }
    return {};
}

void WriteTransferText(TField& field, CopyTarget type, const std::string& text) {
    switch (type) {
    case CopyTarget::Integer:
        field.SetAsInteger(StrToInt(text));
        break;
    case CopyTarget::DigitsOnly:
        field.SetAsString(SomenteNumeros(text));
        break;
    case CopyTarget::Real:
        field.SetAsCurrency(FloatToCurrency(StrToFloat(text)));
        break;
    case CopyTarget::Float:
        field.SetAsFloat(StrToFloat(text));
        break;
    case CopyTarget::Date:
        field.SetAsDateTime(StrToDate(text));
        break;
    case CopyTarget::String:
        field.SetAsString(text);
        break;
    case CopyTarget::Boolean:
        if (const std::string word = upperAscii(text); word == "TRUE")
            field.SetAsBoolean(true);
        else if (word == "FALSE")
            field.SetAsBoolean(false);
        break;
    }
}

void CopyField(TIBTable& table, const FieldCopyRequest& request, OperationHost& host) {
    // Every row is committed on its own: with rows sent many at a time, every
    // group of rows is committed before any later row is sent.
    RowWalk walk(table, host, RowWalk::Commit::EachRow);
    walk.ForEachRow([&] {
        const std::string text =
            ReadTransferText(*table.FieldNamed(request.sourceColumn), request.sourceType);
        table.Edit();
        WriteTransferText(*table.FieldNamed(request.targetColumn), request.targetType, text);
        table.Post();
    });
    walk.Finish();
}
