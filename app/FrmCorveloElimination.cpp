// Record elimination on the "Arquivo" page: the shown rows, the open table,
// or the tables chosen in the table-choice dialog.
#include "app/DeletionConsent.h"
#include "app/Dialogs.h"
#include "app/NormalCursor.h"
#include "app/ScreenText.h"
#include "app/uFrmCorvelo.h"
#include "app/ufrmEmpty.h"
#include "app/widgets/AutoSizeLabel.h"
#include "ops/RecordElimination.h"

void TfrmCorvelo::SpeedButton1Click(QObject*) {
    // The filter is not looked at: whatever rows the table holds go.
    if (ConfirmedTwice("Deseja Eliminar estes Registros ? ? ?"))
        RunLong([&] { DeleteShownRows(table, *this); }, LongWork::Stop::BetweenSteps);
}

void TfrmCorvelo::SpeedButton7Click(QObject*) {
    if (ConfirmedTwice("Deseja Executar Empty na Tabela ? ? ?"))
        RunLong([&] { EmptyTable(table, *this); }, LongWork::Stop::AlsoInStatements);
}

void TfrmCorvelo::SpeedButton8Click(QObject*) {
    std::vector<std::string> names;
    dtbSuporte.ListTableNames(names, false);
    frmEmpty->ShowTables(names);
    const QString restingCaption = Label13->text();
    int choice = 0;
    {
        NormalCursor normal;
        choice = frmEmpty->exec();
    }
    if (choice != TfrmEmpty::mrOk)
        return;
    const std::vector<std::string> chosen = frmEmpty->CheckedTables();
    RunLong(
        [&] {
            longWork().SetTotal(static_cast<std::int64_t>(chosen.size()));
            EmptyTables(chosen, table, *this);
        },
        LongWork::Stop::AlsoInStatements, QStringLiteral("tabelas"));
    // Left alone on an error, so the label names the table that failed.
    Label13->setText(restingCaption);
    Label13->repaint();
    WarningOkCancel("Processo Concluido...");
}
