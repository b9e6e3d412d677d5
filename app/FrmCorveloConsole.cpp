// The "Scripst Sql" page: a query into the grid, a command with the commit
// question, and the script file run.
#include "app/DataGridModel.h"
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

    // The run works on a thread of its own: what it shows goes to the window's
    // thread, in order, without waiting for it.
    void SetLabel(ScriptLabel label, const std::string& caption) override {
        PostToWindowThread([this, label, text = toScreen(caption)] { labelFor(label)->setText(text); });
    }
    void ClearErrorList() override {
        PostToWindowThread([this] {
            // The editor panel may have left the box read-only for a binary value.
            window_.memo->setReadOnly(false);
            window_.memo->clear();
        });
    }
    void AppendError(const std::string& line) override {
        PostToWindowThread([this, text = toScreen(line)] { window_.memo->appendPlainText(text); });
    }
    bool CommitStep() override { return window_.dtmSuporteCommit(nullptr); }
    void ShowLinesDone(std::int64_t lines, std::int64_t total) override {
        window_.longWork().SetTotal(total);
        window_.longWork().SetDone(lines);
    }
    bool CancelRequested() const override { return window_.CancelRequested(); }

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
    const std::string text = fromScreen(plainTextOf(*memoscript));
    RunLong(
        [&] {
            qryScript.ClearSQL();
            qryScript.SetSQLText(text);
            qryScript.Open();
            // The grid's first rows come with the work, so showing them waits on nothing.
            qryScript.FetchMore(DataGridModel::FetchBatch);
        },
        LongWork::Stop::AlsoInStatements);
    if (PageControl1->currentWidget() == TabSheet4)
        ShowInGrid(&dtsScript);
}

void TfrmCorvelo::Button2Click(QObject* sender) {
    dtbSuporte.ForgetCatalogue();
    const std::string text = fromScreen(plainTextOf(*memoscript));
    RunLong(
        [&] {
            qryScript.ClearSQL();
            qryScript.SetSQLText(text);
            qryScript.Execute();
        },
        LongWork::Stop::AlsoInStatements);
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
    const std::string path = QFile::encodeName(edtEnd->text()).toStdString();
    RunLong([&] { RunScript(path, qryScript, host); }, LongWork::Stop::AlsoInStatements,
            QStringLiteral("linhas"));
    ShowMessage("Processo Concluido");
}
