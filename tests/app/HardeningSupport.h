#pragma once
// What the hardening tests share: the real window on a fresh database, a way
// to say which dialogs appeared, and the committed state read from a second,
// direct connection.
#include "app/Startup.h"
#include "app/uFrmCorvelo.h"
#include "app/widgets/FlatButton.h"
#include "tests/support/DialogAnswerer.h"
#include "tests/support/TestDatabase.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

class HardeningTest : public ::testing::Test {
protected:
    void SetUp() override { CreateForms(); }
    void TearDown() override { DestroyForms(); }

    // Connects the window with the connect string given, the real server's by default.
    void connect(const std::string& connectString = {}) {
        frmCorvelo->edtAlias->setText(
            QString::fromStdString(connectString.empty() ? db.connectString() : connectString));
        frmCorvelo->btncon->click();
        ASSERT_EQ(frmCorvelo->btncon->text(), "Desconectar") << shown().toStdString();
    }
    void open(const QString& tableName) {
        frmCorvelo->edtArquivo->setEditText(tableName);
        frmCorvelo->btnAbrir->click();
        ASSERT_TRUE(frmCorvelo->table.Active()) << shown().toStdString();
    }
    // Every dialog seen so far, for failure messages.
    QString shown() const {
        QString text;
        for (const SeenDialog& seen : dialogs.seen())
            text += "[" + seen.title + "] " + seen.text + "\n";
        return text;
    }
    // The only "Erro de sistema" box among the dialogs seen from `from` on.
    QString errorBoxSince(int from) const {
        QString found;
        int count = 0;
        for (int i = from; i < dialogs.seen().size(); ++i)
            if (dialogs.seen()[i].title == "Erro de sistema") {
                found = dialogs.seen()[i].text;
                ++count;
            }
        EXPECT_EQ(count, 1) << shown().toStdString();
        return found;
    }
    std::string count(const std::string& table, const std::string& where = "1 = 1") {
        return *db.scalar("SELECT COUNT(*) FROM " + table + " WHERE " + where);
    }

    TestDatabase db;
    DialogAnswerer dialogs;
};
