// Qt's own dialogs speak Portuguese like the program: the standard buttons of
// the message boxes and the labels of the file dialogs, while every title and
// text of the program stays as it is.
#include "tests/app/HardeningSupport.h"
#include "tests/support/QtPrinters.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <gtest/gtest.h>

namespace {

QString withoutMnemonic(QString text) {
    return text.remove(u'&');
}

class PortugueseDialogsTest : public HardeningTest {
protected:
    void SetUp() override {
        HardeningTest::SetUp();
        db.exec({"CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(20))",
                 "INSERT INTO T VALUES (1, 'Ana')", "INSERT INTO T VALUES (2, 'Bia')"});
        connect();
        open("T");
    }
};

TEST_F(PortugueseDialogsTest, TheQuestionAfterACommandIsAnsweredWithSimOrNao) {
    frmCorvelo->memoscript->setPlainText("UPDATE T SET NOME = 'Zoe' WHERE ID = 1");
    dialogs.press(QMessageBox::Yes).press(QMessageBox::Ok);
    frmCorvelo->Button2->click();
    ASSERT_EQ(dialogs.seen().size(), 2);
    EXPECT_EQ(dialogs.seen()[0].title, QStringLiteral("Confirmação"));
    EXPECT_EQ(dialogs.seen()[0].text, "dar Commit na Transacao ? ");
    EXPECT_EQ(dialogs.seen()[0].buttons, (QStringList{"Sim", QStringLiteral("Não")}));
    EXPECT_EQ(dialogs.seen()[1].text, "Commit Executado");
    EXPECT_EQ(dialogs.seen()[1].buttons, QStringList{"OK"});
    // "Sim" is still the answer yes: the command was committed.
    EXPECT_EQ(*db.scalar("SELECT NOME FROM T WHERE ID = 1"), "Zoe");
}

TEST_F(PortugueseDialogsTest, DeleteRecordIsAnsweredWithOkOrCancelar) {
    frmCorvelo->DBDados->setFocus();
    dialogs.press(QMessageBox::Cancel);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::ControlModifier);
    QApplication::sendEvent(frmCorvelo->DBDados, &press);
    ASSERT_EQ(dialogs.seen().size(), 1);
    EXPECT_EQ(dialogs.seen()[0].title, "Warning");
    EXPECT_EQ(dialogs.seen()[0].text, "Delete record?");
    EXPECT_EQ(dialogs.seen()[0].buttons, (QStringList{"OK", "Cancelar"}));
    EXPECT_EQ(frmCorvelo->table.RecordCount(), 2) << "Cancelar deletes nothing";
}

TEST_F(PortugueseDialogsTest, TheExportsSaveDialogHasPortugueseLabelsAndTheProgramsOwnTitleAndTypes) {
    QMap<QString, QString> labels;
    QStringList buttons;
    QString title;
    QStringList types;
    dialogs.handle([&](QWidget* dialog) {
        auto* fileDialog = qobject_cast<QFileDialog*>(dialog);
        ASSERT_NE(fileDialog, nullptr);
        title = fileDialog->windowTitle();
        types = fileDialog->nameFilters();
        for (const char* name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"})
            labels[QString::fromLatin1(name)] =
                withoutMnemonic(dialog->findChild<QLabel*>(QString::fromLatin1(name))->text());
        for (QAbstractButton* button : dialog->findChild<QDialogButtonBox*>()->buttons())
            buttons << withoutMnemonic(button->text());
        QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection);
    });
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->SpeedButton12->click();

    EXPECT_EQ(title, "Salvar para Microsoft Excel");
    EXPECT_EQ(types, QStringList{"Microsoft Excel (*.xlsx)"});
    EXPECT_EQ(labels["lookInLabel"], "Procurar em:");
    EXPECT_EQ(labels["fileNameLabel"], "Nome do arquivo:");
    EXPECT_EQ(labels["fileTypeLabel"], "Arquivos do tipo:");
    buttons.sort();
    EXPECT_EQ(buttons, (QStringList{"Cancelar", "Salvar"}));
    ASSERT_EQ(dialogs.seen().size(), 2);
    EXPECT_EQ(dialogs.seen()[1].text, "Por favor informe um nome para o arquivo.");
    EXPECT_EQ(dialogs.seen()[1].buttons, QStringList{"OK"});
}

} // namespace
