// The spreadsheet buttons: the query of the "Scripst Sql" page and the table
// of the "Arquivo" page, each written to a new .xlsx file.
#include "app/Dialogs.h"
#include "app/ScreenText.h"
#include "app/uFrmCorvelo.h"
#include "export/SpreadsheetExport.h"
#include "util/AnsiText.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {

const char* const ErrorTitle = "Mensagem de Erro";

// The file name chosen in a save dialog made for this export; empty when cancelled.
std::string askFileName(QWidget* parent) {
    const QString extension = QString::fromLatin1(SpreadsheetExtension);
    QFileDialog dialog(parent, QStringLiteral("Salvar para Microsoft Excel"), QDir::homePath(),
                       QStringLiteral("Microsoft Excel (*.") + extension + QStringLiteral(")"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The dialog itself asks nothing about an existing file: the export does.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(extension);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    // The dialog takes blanks typed before a name as part of a name relative
    // to its folder; the name meant is the typed text without them.
    QString chosen = dialog.selectedFiles().constFirst();
    const QDir folder = dialog.directory();
    const QString inFolder =
        folder.absolutePath().endsWith(u'/') ? folder.absolutePath() : folder.absolutePath() + u'/';
    if (chosen.startsWith(inFolder))
        chosen = folder.absoluteFilePath(chosen.mid(inFolder.size()).trimmed());
    return Trim(fromScreen(chosen));
}

// The same steps for both buttons; only the dataset differs.
void exportToSpreadsheet(TfrmCorvelo& window, TIBCustomDataSet& source) {
    const std::string name = Trim(askFileName(&window));
    if (name.empty()) {
        SystemMessageBox("Por favor informe um nome para o arquivo.", ErrorTitle, MB_OK | MB_ICONQUESTION);
        return;
    }
    if (!IsSpreadsheetFileName(name)) {
        SystemMessageBox("O nome do arquivo '" + name + "' \xE9 inv\xE1lido.", ErrorTitle,
                         MB_OK | MB_ICONQUESTION);
        return;
    }
    if (QFileInfo::exists(toScreen(name)) &&
        SystemMessageBox("O arquivo '" + name + "' j\xE1 existe. Deseja subst\xEDtu\xEDlo?",
                         "Mensagem de Questionamento", MB_YESNOCANCEL | MB_ICONQUESTION) != IDYES)
        return;
    // The writing may take long; the dialogs around it take input as usual.
    window.RunLong(
        [&] {
            ExportToSpreadsheet(source, name, [&window](std::int64_t rows) {
                window.ShowRowsDone(rows);
                window.StopIfCancelled(); // the file not written yet goes, an earlier one stays
            });
        },
        LongWork::Stop::AlsoInStatements);
    SystemMessageBox("Arquivo '" + name + "' gerado com sucesso.", "Mensagem de Informa\xE7\xE3o",
                     MB_OK | MB_ICONINFORMATION);
}

} // namespace

void TfrmCorvelo::btnExcelClick(QObject*) {
    exportToSpreadsheet(*this, qryScript);
}

void TfrmCorvelo::SpeedButton12Click(QObject*) {
    exportToSpreadsheet(*this, table);
}
