// The main window's table browsing: open the table, filter and order it, and
// view or edit a binary large object as text in the editor panel.
#include "app/BlobText.h"
#include "app/DataGridModel.h"
#include "app/ScreenText.h"
#include "app/uFrmCorvelo.h"
#include "db/TField.h"
#include "util/Exceptions.h"

#include "app/widgets/UpperCaseLineEdit.h"

#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>

// Opening and re-querying the table may keep the server busy for long (a
// large table in another order, a condition on columns without an index):
// the window stays alive and the user may cancel. The grid's first rows come
// with the work.

void TfrmCorvelo::btnAbrirClick(QObject*) {
    const std::string name = fromScreen(edtArquivo->currentText());
    RunLong(
        [&] {
            table.Close();
            table.SetTableName(name);
            table.Open();
            table.FetchMore(DataGridModel::FetchBatch);
        },
        LongWork::Stop::AlsoInStatements);
    ShowInGrid(&dtstable);
}

void TfrmCorvelo::btnAtivaClick(QObject*) {
    const std::string condition = fromScreen(edtFiltro->text());
    RunLong(
        [&] {
            // Filtered first, then the condition: switching on can re-query twice.
            table.SetFiltered(true);
            table.SetFilter(condition);
            table.FetchMore(DataGridModel::FetchBatch);
        },
        LongWork::Stop::AlsoInStatements);
}

void TfrmCorvelo::btnDesativaClick(QObject*) {
    RunLong(
        [&] {
            table.SetFiltered(false);
            table.SetFilter("");
            table.FetchMore(DataGridModel::FetchBatch);
        },
        LongWork::Stop::AlsoInStatements);
}

void TfrmCorvelo::OrdemClick(QObject*) {
    const std::string order = fromScreen(EDToRDEM->text());
    RunLong(
        [&] {
            table.SetIndexFieldNames(order);
            table.FetchMore(DataGridModel::FetchBatch);
        },
        LongWork::Stop::AlsoInStatements);
}

void TfrmCorvelo::DBDadosCellClick(int column) {
    TIBCustomDataSet* shown = GridDataSource() ? GridDataSource()->DataSet() : nullptr;
    if (!shown || !shown->Active() || column < 0 || column >= shown->FieldCount())
        return;
    TField* clicked = shown->FieldAt(column);
    if (clicked->DataType() != ftBlob)
        return;
    pnlMemo->show();
    pnlMemo->raise();
    campoMemo = clicked->HeaderName();
    // Always the table's field of that name, also when the grid shows a query.
    const std::string value = table.FieldNamed(campoMemo)->AsString();
    const BlobText text = BlobToText(value);
    memo->setPlainText(text.shown);
    memo->setReadOnly(!text.editable);
    memoOriginal_ = value;
    memoShown_ = plainTextOf(*memo);
}

void TfrmCorvelo::btnConfMemoClick(QObject*) {
    pnlMemo->hide();
    const bool unchanged = plainTextOf(*memo) == memoShown_;
    if (memo->isReadOnly() && unchanged)
        throw Exception(
            "Este valor cont\xE9m bytes que n\xE3o s\xE3o texto e n\xE3o pode ser alterado pelo editor; "
            "nada foi gravado.");
    table.Edit();
    TField* field = table.FieldNamed(campoMemo);
    // An untouched value goes back exactly as it was read; an edited one as its
    // lines joined by CR LF.
    field->SetAsString(
        unchanged ? memoOriginal_
                  : fromScreen(plainTextOf(*memo).replace(QLatin1Char('\n'), QStringLiteral("\r\n"))));
    table.Post();
}

void TfrmCorvelo::btnCancMemoClick(QObject*) {
    pnlMemo->hide();
}

void TfrmCorvelo::Button4Click(QObject*) {
    pnlMemo->setVisible(pnlMemo->isHidden());
}
