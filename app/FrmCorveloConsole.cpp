// The "Scripst Sql" page: a query into the grid, a command with the commit
// question, and the script file run.
#include "app/Dialogs.h"
#include "app/ScreenText.h"
#include "app/UFuncoes.h"
#include "app/uFrmCorvelo.h"
#include "app/widgets/AutoSizeLabel.h"
#include "console/ScriptRunner.h"

#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>

namespace {

// The page's labels and the error list, as the script run sees them.
class WindowScriptHost : public ScriptHost {
public:
    explicit WindowScriptHost(TfrmCorvelo& window) : window_(window) {}

    void SetLabel(ScriptLabel label, const std::string& caption) override {
        AutoSizeLabel* shown = labelFor(label);
        shown->setText(toScreen(caption));
        // The run holds the event loop, so progress shows only when painted now.
        if (label != ScriptLabel::Statement)
            shown->repaint();
    }
    void ClearErrorList() override {
        // The editor panel may have left the box read-only for a binary value.
        window_.memo->setReadOnly(false);
        window_.memo->clear();
    }
    void AppendError(const std::string& line) override { window_.memo->appendPlainText(toScreen(line)); }
    bool CommitStep() override { return window_.dtmSuporteCommit(nullptr); }

private:
    AutoSizeLabel* labelFor(ScriptLabel label) const {
        switch (label) {
        case ScriptLabel::Total:
            return window_.lbltot;
        case ScriptLabel::Current:
            return window_.lblatual;
        case ScriptLabel::Errors:
            return window_.lblerro;
        case ScriptLabel::Statement:
            break;
        }
        return window_.Label15;
    }

    TfrmCorvelo& window_;
};

} // namespace

void TfrmCorvelo::Button1Click(QObject*) {
    // Whatever the console runs may change the schema; tables opened later
    // read their keys and indexes anew.
    dtbSuporte.ForgetCatalogue();
    qryScript.ClearSQL();
    qryScript.SetSQLText(fromScreen(plainTextOf(*memoscript)));
    qryScript.Open();
    if (PageControl1->currentWidget() == TabSheet4)
        ShowInGrid(&dtsScript);
}

void TfrmCorvelo::Button2Click(QObject* sender) {
    dtbSuporte.ForgetCatalogue();
    qryScript.ClearSQL();
    qryScript.SetSQLText(fromScreen(plainTextOf(*memoscript)));
    qryScript.Execute();
    if (PerguntaSimNao("dar Commit na Transacao ? "))
        SpeedButton9Click(sender);
}

void TfrmCorvelo::btnExecutClick(QObject*) {
    if (!AbrirArq) {
        AbrirArq = new QFileDialog(this);
        AbrirArq->setObjectName(QStringLiteral("AbrirArq"));
        AbrirArq->setOption(QFileDialog::DontUseNativeDialog);
        AbrirArq->setFileMode(QFileDialog::ExistingFile);
        AbrirArq->setAcceptMode(QFileDialog::AcceptOpen);
    }
    // A cancel shows the last accepted choice again, or nothing.
    if (AbrirArq->exec() == QDialog::Accepted && !AbrirArq->selectedFiles().isEmpty())
        lastChosenScriptFile_ = AbrirArq->selectedFiles().constFirst();
    edtEnd->setText(lastChosenScriptFile_);
}

void TfrmCorvelo::Button3Click(QObject*) {
    dtbSuporte.ForgetCatalogue();
    WindowScriptHost host(*this);
    // The path goes to the file system in its own encoding, so a chosen file
    // with accents in its name opens.
    RunScript(QFile::encodeName(edtEnd->text()).toStdString(), qryScript, host);
    ShowMessage("Processo Concluido");
}
