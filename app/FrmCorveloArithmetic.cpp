// The "+  -  * / " page: an operation with a constant over one column.
#include "app/ScreenText.h"
#include "app/uFrmCorvelo.h"
#include "ops/ArithmeticUpdate.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

void TfrmCorvelo::SpeedButton5Click(QObject*) {
    ArithmeticRequest request;
    request.tableName = fromScreen(edtArquivo->currentText());
    request.column = fromScreen(Edit1->text());
    request.value = fromScreen(Edit2->text());
    // Tested in the order +, -, *, /; exactly one is selected.
    if (opMais->isChecked())
        request.op = ArithmeticOperator::Add;
    else if (OpMenos->isChecked())
        request.op = ArithmeticOperator::Subtract;
    else if (OpVez->isChecked())
        request.op = ArithmeticOperator::Multiply;
    else
        request.op = ArithmeticOperator::Divide;
    request.filtered = table.Filtered();
    request.filterText = fromScreen(edtFiltro->text());
    RunLong([&] { RunArithmeticUpdate(request, sql, table, *this); }, LongWork::Stop::AlsoInStatements);
}
