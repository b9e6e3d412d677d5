// The main window's connection and transaction controls: connect and
// disconnect, compose the connect string, close everything, commit, roll back.
#include "app/Dialogs.h"
#include "app/ScreenText.h"
#include "app/uFrmCorvelo.h"
#include "ops/CommitStep.h"
#include "util/ConnectString.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>

void TfrmCorvelo::btnconClick(QObject*) {
    // The caption is the toggle's state.
    if (btncon->text() == QStringLiteral("Conectar")) {
        dtbSuporte.SetDatabaseName(fromScreen(edtAlias->text()));
        // A server that does not answer keeps the attach waiting: the window stays alive.
        RunLong([&] { dtbSuporte.SetConnected(true); }, LongWork::Stop::Never);
        ibtSuporte.Start();
        btncon->setText(QStringLiteral("Desconectar"));
        std::vector<std::string> tableNames;
        dtbSuporte.ListTableNames(tableNames, false);
        const QString typed = edtArquivo->currentText();
        edtArquivo->clear();
        for (const std::string& name : tableNames)
            edtArquivo->addItem(toScreen(name));
        edtArquivo->setEditText(typed);
    } else {
        // Work not committed is rolled back; every dataset closes.
        ibtSuporte.SetActive(false);
        dtbSuporte.CloseAttachedDataSets();
        dtbSuporte.SetConnected(false);
        btncon->setText(QStringLiteral("Conectar"));
    }
}

void TfrmCorvelo::SpeedButton6Click(QObject*) {
    // A cancelled choice keeps the file chosen last time.
    if (OpenDialog1->exec() == QDialog::Accepted && !OpenDialog1->selectedFiles().isEmpty())
        lastChosenDatabaseFile_ = OpenDialog1->selectedFiles().constFirst();
    edtAlias->setText(
        toScreen(ComposeConnectString(fromScreen(edtServer->text()), fromScreen(lastChosenDatabaseFile_))));
}

void TfrmCorvelo::btnFecharClick(QObject* sender) {
    if (chkcommit->isChecked())
        SpeedButton9Click(sender);
    ibtSuporte.SetActive(false);
    dtbSuporte.CloseAttachedDataSets();
    dtbSuporte.SetConnected(false);
}

bool TfrmCorvelo::dtmSuporteCommit(TIBDataSetBase* dataSet) {
    if (RunCommitStep(dtbSuporte, ibtSuporte, dataSet))
        return true;
    ShowMessage(CommitFailedMessage);
    return false;
}

// The commit step with the table reads every row of it not read yet, which
// may take long; it is never stopped half-way.
void TfrmCorvelo::SpeedButton9Click(QObject*) {
    bool committed = false;
    RunLong([&] { committed = dtmSuporteCommit(&table); }, LongWork::Stop::Never);
    // "Commit Executado" only when the commit really happened.
    if (committed)
        ShowMessage("Commit Executado");
}

void TfrmCorvelo::SpeedButton10Click(QObject*) {
    bool committed = false;
    RunLong([&] { committed = dtmSuporteCommit(nullptr); }, LongWork::Stop::Never);
    if (committed)
        ShowMessage("Commit Executado");
}

void TfrmCorvelo::SpeedButton11Click(QObject*) {
    ibtSuporte.RollbackRetaining();
    ShowMessage("Rollback Executado");
}
