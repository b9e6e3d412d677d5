#pragma once
// The "Cruzar Campo" page: copies one column into another, row by row, over
// the rows the table shows. The value travels as text: read from the source
// as the source type says, written into the target as the target type says.
//
// Every row is posted and committed on its own, so when a row fails the rows
// before it are already committed and the failing row stays in edit state
// with nothing written.
#include <string>

class OperationHost;
class TField;
class TIBTable;

enum class CopySource { Integer, Real, Float, Date, String, Boolean };
enum class CopyTarget { Integer, Real, Float, Date, String, Boolean, DigitsOnly };

struct FieldCopyRequest {
    std::string sourceColumn; // as typed
    CopySource sourceType = CopySource::Integer;
    std::string targetColumn; // as typed
    CopyTarget targetType = CopyTarget::Integer;
};

// The transfer text of the field's value in the current row.
std::string ReadTransferText(const TField& field, CopySource type);

// Converts the transfer text for the target type and writes it; a text the
// conversion rejects raises before anything is written. A Boolean target
// takes only "TRUE" and "FALSE" (any letter case) and ignores other texts.
void WriteTransferText(TField& field, CopyTarget type, const std::string& text);

// The walk: read, Edit, write, Post, the commit step, Next. The table stays on
// its last row; it is not reopened.
void CopyField(TIBTable& table, const FieldCopyRequest& request, OperationHost& host);
