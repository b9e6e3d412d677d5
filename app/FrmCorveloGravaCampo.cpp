// The "Grava Campo" page: one column of the open table rewritten, summed or counted.
#include "app/ScreenText.h"
#include "app/uFrmCorvelo.h"
#include "app/widgets/AutoSizeLabel.h"
#include "ops/WriteField.h"
#include "util/Clock.h"
#include "util/DateText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

// The controls are read once, before the work starts on its own thread: no
// input reaches them while it runs, so they hold the same text throughout.

void TfrmCorvelo::btnProcessarClick(QObject*) {
    const std::string column = fromScreen(edtCampo->text());
    // "Tira acento" wins over a checked renumbering box.
    if (rdACento->isChecked()) {
        RunLong([&] { StripAccents(table, column, *this); }, LongWork::Stop::BetweenSteps);
    } else if (chkRepress->isChecked()) {
        const std::string start = fromScreen(edtValor->text());
        RunLong([&] { Renumber(table, column, start, *this); }, LongWork::Stop::BetweenSteps);
    } else {
        ConstantUpdateRequest request;
        request.tableName = fromScreen(edtArquivo->currentText());
        request.column = column;
        request.value = fromScreen(edtValor->text());
        request.filtered = table.Filtered();
        request.filterText = fromScreen(edtFiltro->text());
        RunLong([&] { RunConstantUpdate(request, sql, table, *this); }, LongWork::Stop::AlsoInStatements);
    }
}

void TfrmCorvelo::SpeedButton2Click(QObject*) {
    SumKind kind = SumKind::Other;
    if (rbInteger->isChecked())
        kind = SumKind::Integer;
    else if (rbReal->isChecked())
        kind = SumKind::Currency;
    else if (rbFloat->isChecked())
        kind = SumKind::Float;
    const std::string column = fromScreen(edtCampo->text());
    std::string total;
    RunLong([&] { total = SumColumn(table, column, kind, *this); }, LongWork::Stop::BetweenSteps);
    edtSoma->setText(toScreen(total));
}

void TfrmCorvelo::SpeedButton3Click(QObject*) {
    Label11->setText(toScreen(TimeToStr(Now())));
    std::int32_t count = 0;
    RunLong([&] { count = CountRows(table, *this); }, LongWork::Stop::BetweenSteps);
    Label12->setText(toScreen(TimeToStr(Now())));
    edtSoma->setText(QString::number(count));
}

void TfrmCorvelo::Button5Click(QObject*) {
    const std::string column = fromScreen(edtCampo->text());
    const std::string width = fromScreen(edtZeros->text());
    RunLong([&] { FillWithZeros(table, column, width, *this); }, LongWork::Stop::BetweenSteps);
}
