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

void TfrmCorvelo::btnProcessarClick(QObject*) {
    // "Tira acento" wins over a checked renumbering box.
    if (rdACento->isChecked()) {
        StripAccents(table, fromScreen(edtCampo->text()), *this);
    } else if (chkRepress->isChecked()) {
        Renumber(table, fromScreen(edtCampo->text()), fromScreen(edtValor->text()), *this);
    } else {
        ConstantUpdateRequest request;
        request.tableName = fromScreen(edtArquivo->currentText());
        request.column = fromScreen(edtCampo->text());
        request.value = fromScreen(edtValor->text());
        request.filtered = table.Filtered();
        request.filterText = fromScreen(edtFiltro->text());
        RunConstantUpdate(request, sql, table, *this);
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
    edtSoma->setText(toScreen(SumColumn(table, fromScreen(edtCampo->text()), kind, *this)));
}

void TfrmCorvelo::SpeedButton3Click(QObject*) {
    Label11->setText(toScreen(TimeToStr(Now())));
    const std::int32_t count = CountRows(table, *this);
    Label12->setText(toScreen(TimeToStr(Now())));
    edtSoma->setText(QString::number(count));
}

void TfrmCorvelo::Button5Click(QObject*) {
    FillWithZeros(table, fromScreen(edtCampo->text()), fromScreen(edtZeros->text()), *this);
}
