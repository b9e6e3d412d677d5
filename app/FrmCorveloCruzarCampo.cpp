// The "Cruzar Campo" page: one column copied into another, row by row.
#include "app/ScreenText.h"
#include "app/uFrmCorvelo.h"
#include "ops/FieldCopy.h"

#include <QLineEdit>
#include <QRadioButton>

void TfrmCorvelo::SpeedButton4Click(QObject*) {
    FieldCopyRequest request;
    request.sourceColumn = fromScreen(edtdoCampo->text());
    request.targetColumn = fromScreen(pCampo->text());
    // Exactly one button of each group is selected.
    if (rbdReal->isChecked())
        request.sourceType = CopySource::Real;
    else if (rbdFloat->isChecked())
        request.sourceType = CopySource::Float;
    else if (rbdData->isChecked())
        request.sourceType = CopySource::Date;
    else if (rbdString->isChecked())
        request.sourceType = CopySource::String;
    else if (rbdBoolean->isChecked())
        request.sourceType = CopySource::Boolean;
    else
        request.sourceType = CopySource::Integer;
    if (rbpReal->isChecked())
        request.targetType = CopyTarget::Real;
    else if (rbpFloat->isChecked())
        request.targetType = CopyTarget::Float;
    else if (rbpData->isChecked())
        request.targetType = CopyTarget::Date;
    else if (rbpString->isChecked())
        request.targetType = CopyTarget::String;
    else if (rbpBoolean->isChecked())
        request.targetType = CopyTarget::Boolean;
    else if (rdSoNumro->isChecked())
        request.targetType = CopyTarget::DigitsOnly;
    else
        request.targetType = CopyTarget::Integer;
    RunLong([&] { CopyField(table, request, *this); }, LongWork::Stop::BetweenSteps);
}
