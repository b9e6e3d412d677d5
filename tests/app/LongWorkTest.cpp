// Long work on the real window, through a link with a delay so that it lasts:
// while it runs the window paints, the progress line counts and "Cancelar"
// shows; a click on it (or Escape) stops the work where a failure would, and
// the window says so; other input and other handlers wait.
#include "app/ufrmEmpty.h"
#include "app/widgets/AutoSizeLabel.h"
#include "app/widgets/CheckListBox.h"
#include "app/widgets/FlatButton.h"
#include "tests/app/HardeningSupport.h"
#include "tests/support/LinkForwarder.h"
#include "tests/support/QtPrinters.h"

#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QWindow>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

namespace {

const char* const kCancelled = "Opera\u00e7\u00e3o cancelada pelo usu\u00e1rio.";

class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// What the test saw while the work ran.
struct WhileRunning {
    bool reached = false;
    bool cancelVisible = false;
    QString progress;
    int windowPaints = 0;
};

class LongWorkTest : public HardeningTest {
protected:
    void SetUp() override {
        HardeningTest::SetUp();
        db.exec(std::vector<std::string>{
            "CREATE TABLE ITENS (ID INTEGER NOT NULL PRIMARY KEY, NUM INTEGER, ORIGEM INTEGER, ALVO INTEGER)",
            "EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= 20000) DO BEGIN "
            "INSERT INTO ITENS VALUES (:I, 0, :I * 3, NULL); I = I + 1; END END"});
        frmCorvelo->show();
        QDeadlineTimer deadline(5000);
        while (!frmCorvelo->windowHandle()->isExposed() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        connect(link.connectString(db.path()));
        open("ITENS");
        cancel = frmCorvelo->findChild<QPushButton*>("btnCancelar");
        progressLine = frmCorvelo->findChild<QLabel*>("lblProgresso");
        ASSERT_NE(cancel, nullptr);
        ASSERT_NE(progressLine, nullptr);
        EXPECT_FALSE(cancel->isVisible()) << "shown only while work runs";
    }

    // Starts the work with `start` and, once `ready` says so while it runs,
    // notes what the window shows and presses "Cancelar" (or Escape).
    WhileRunning runAndCancel(const std::function<void()>& start, const std::function<bool()>& ready,
                              bool escape = false) {
        WhileRunning seen;
        PaintCounter painted;
        frmCorvelo->installEventFilter(&painted);
        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (seen.reached || !frmCorvelo->longWork().Running() || !ready())
                return;
            seen.reached = true;
            frmCorvelo->grab(); // the window paints while the work runs
            seen.cancelVisible = cancel->isVisible();
            seen.progress = progressLine->text();
            seen.windowPaints = painted.paints;
            if (escape) {
                QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QApplication::sendEvent(frmCorvelo->DBDados, &key);
            } else {
                clickOn(cancel);
            }
        });
        poll.start();
        start();
        poll.stop();
        frmCorvelo->removeEventFilter(&painted);
        EXPECT_TRUE(seen.reached) << "the work ended before the test could cancel it";
        EXPECT_TRUE(seen.cancelVisible);
        EXPECT_GT(seen.windowPaints, 0) << "the window did not paint while the work ran";
        EXPECT_FALSE(cancel->isVisible());
        EXPECT_FALSE(progressLine->isVisible());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        return seen;
    }
    static void clickOn(QWidget* widget) {
        const QPointF at = QPointF(widget->rect().center());
        QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &release);
    }
    std::function<bool()> rowsDone(std::int64_t rows) {
        return [rows] { return frmCorvelo->longWork().Done() >= rows; };
    }
    std::function<bool()> runningFor(int milliseconds) {
        auto since = std::make_shared<QDeadlineTimer>(milliseconds);
        return [since] { return since->hasExpired(); };
    }
    // The cancel message, then the window still works: a commit goes through.
    void expectCancelledAndUsable(int dialogsBefore = 0) {
        ASSERT_EQ(static_cast<int>(dialogs.seen().size()), dialogsBefore + 1) << shown().toStdString();
        const SeenDialog& box = dialogs.seen().back();
        EXPECT_EQ(box.text, QString::fromUtf8(kCancelled));
        EXPECT_EQ(box.title, "Corvelo");
        EXPECT_EQ(box.icon, QMessageBox::Information);
    }
    void commit() {
        dialogs.press(QMessageBox::Ok);
        frmCorvelo->SpeedButton9->click();
        EXPECT_EQ(dialogs.seen().back().text, "Commit Executado") << shown().toStdString();
    }
    // The rows the walk changed, in the table's order: they must be the first ones.
    void expectAPrefix(const std::string& changed, std::int64_t& count) {
        count = std::stol(count_("ITENS", changed));
        EXPECT_GT(count, 0);
        EXPECT_LT(count, 20000) << "the cancel came too late to stop anything";
        EXPECT_EQ(count_("ITENS", "ID <= " + std::to_string(count) + " AND " + changed),
                  std::to_string(count))
            << "the changed rows are the first ones, none after the cancel point";
    }
    std::string count_(const std::string& table, const std::string& where) { return count(table, where); }

    LinkForwarder link{std::chrono::microseconds(3000)};
    QPushButton* cancel = nullptr;
    QLabel* progressLine = nullptr;
};

TEST_F(LongWorkTest, CancellingARenumberingKeepsThePostedRowsUncommitted) {
    frmCorvelo->chkRepress->setChecked(true);
    frmCorvelo->edtCampo->setText("NUM");
    frmCorvelo->edtValor->setText("1");
    dialogs.press(QMessageBox::Ok);
    const WhileRunning seen = runAndCancel([] { frmCorvelo->btnProcessar->click(); }, rowsDone(300));
    EXPECT_TRUE(seen.progress.startsWith(" Processando... registros: ")) << seen.progress.toStdString();
    expectCancelledAndUsable();
    EXPECT_EQ(count("ITENS", "NUM <> 0"), "0") << "posted, not committed";
    EXPECT_EQ(frmCorvelo->table.State(), dsBrowse);
    commit();
    std::int64_t renumbered = 0;
    expectAPrefix("NUM = ID", renumbered);
    EXPECT_EQ(count("ITENS", "NUM <> 0"), std::to_string(renumbered));
}

TEST_F(LongWorkTest, CancellingCruzarCampoWithEscapeKeepsEveryCopiedRowCommitted) {
    frmCorvelo->edtdoCampo->setText("ORIGEM");
    frmCorvelo->pCampo->setText("ALVO");
    dialogs.press(QMessageBox::Ok);
    runAndCancel([] { frmCorvelo->SpeedButton4->click(); }, rowsDone(300), true);
    expectCancelledAndUsable();
    std::int64_t copied = 0;
    expectAPrefix("ALVO = ORIGEM", copied);
    EXPECT_EQ(count("ITENS", "ALVO IS NOT NULL"), std::to_string(copied)) << "committed row by row";
    commit();
}

TEST_F(LongWorkTest, CancellingDeletingTheShownRowsKeepsEveryDeletionCommitted) {
    dialogs.press(QMessageBox::Ok).press(QMessageBox::Ok).press(QMessageBox::Ok);
    runAndCancel([] { frmCorvelo->SpeedButton1->click(); }, rowsDone(300));
    expectCancelledAndUsable(2);
    const std::int64_t left = std::stol(count("ITENS"));
    EXPECT_GT(left, 0);
    EXPECT_LT(left, 20000);
    EXPECT_EQ(count("ITENS", "ID > " + std::to_string(20000 - left)), std::to_string(left))
        << "the first rows went, the rest stayed";
    EXPECT_TRUE(frmCorvelo->table.Active());
    EXPECT_EQ(frmCorvelo->table.FieldNamed("ID")->AsInteger(), 20000 - left + 1) << "on the first row left";
}

TEST_F(LongWorkTest, CancellingTheArithmeticStopsTheStatementAndChangesNothing) {
    db.exec(std::vector<std::string>{"CREATE TABLE GRANDE (ID INTEGER NOT NULL PRIMARY KEY, VALOR INTEGER)",
                                     "EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= 600000) DO "
                                     "BEGIN INSERT INTO GRANDE VALUES (:I, 0); I = I + 1; END END"});
    frmCorvelo->edtArquivo->setEditText("GRANDE");
    frmCorvelo->Edit1->setText("VALOR");
    frmCorvelo->Edit2->setText("1");
    dialogs.press(QMessageBox::Ok);
    runAndCancel([] { frmCorvelo->SpeedButton5->click(); }, runningFor(150));
    expectCancelledAndUsable();
    EXPECT_EQ(count("GRANDE", "VALOR <> 0"), "0");
    commit();
    EXPECT_EQ(count("GRANDE", "VALOR <> 0"), "0") << "the stopped statement left nothing to commit";
}

TEST_F(LongWorkTest, CancellingEmptyingTablesStopsAtTheTableBeingEmptied) {
    db.exec(std::vector<std::string>{
        "CREATE TABLE A1 (ID INTEGER)", "CREATE TABLE B1 (ID INTEGER)", "CREATE TABLE C1 (ID INTEGER)",
        "EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= 600000) DO BEGIN "
        "INSERT INTO B1 VALUES (:I); I = I + 1; END INSERT INTO A1 VALUES (1); INSERT INTO C1 VALUES (1); "
        "END"});
    dialogs.handle([](QWidget* dialog) {
        auto* form = qobject_cast<TfrmEmpty*>(dialog);
        ASSERT_NE(form, nullptr);
        for (int row = 0; row < form->itemLista->count(); ++row)
            if (QStringList{"A1", "B1", "C1"}.contains(form->itemLista->item(row)->text()))
                form->itemLista->setChecked(row, true);
        // Queued, so the two questions it asks run in the dialog's own loop.
        QMetaObject::invokeMethod(
            form, [form] { form->Button1->click(); }, Qt::QueuedConnection);
    });
    dialogs.press(QMessageBox::Ok).press(QMessageBox::Ok).press(QMessageBox::Ok);
    runAndCancel([] { frmCorvelo->SpeedButton8->click(); },
                 [] { return frmCorvelo->Label13->text().startsWith("B1"); });
    expectCancelledAndUsable(3);
    EXPECT_EQ(count("A1"), "0") << "emptied and committed before";
    EXPECT_EQ(count("B1"), "600000") << "its delete was stopped";
    EXPECT_EQ(count("C1"), "1") << "never reached";
}

TEST_F(LongWorkTest, CancellingAQueryStopsItAtTheServer) {
    frmCorvelo->PageControl1->setCurrentWidget(frmCorvelo->TabSheet4);
    frmCorvelo->memoscript->setPlainText("SELECT COUNT(*) FROM ITENS A, ITENS B"); // minutes of server work
    dialogs.press(QMessageBox::Ok);
    const auto since = std::chrono::steady_clock::now();
    runAndCancel([] { frmCorvelo->Button1->click(); }, runningFor(300));
    EXPECT_LT(std::chrono::steady_clock::now() - since, std::chrono::seconds(10))
        << "stopped, not waited for";
    expectCancelledAndUsable();
    EXPECT_FALSE(frmCorvelo->qryScript.Active());
    frmCorvelo->memoscript->setPlainText("SELECT COUNT(*) AS QUANTOS FROM ITENS");
    frmCorvelo->Button1->click();
    ASSERT_TRUE(frmCorvelo->qryScript.Active()) << "the next query runs";
    EXPECT_EQ(frmCorvelo->qryScript.FieldNamed("QUANTOS")->AsInteger(), 20000);
}

TEST_F(LongWorkTest, CancellingAScriptKeepsTheLinesRunAndListsNothingMore) {
    std::string script;
    for (int i = 1; i <= 20000; ++i)
        script += "INSERT INTO ITENS VALUES (" + std::to_string(100000 + i) + ", 0, 0, NULL)\n";
    const std::string path = db.path() + ".sql";
    std::ofstream(path, std::ios::binary) << script;
    frmCorvelo->PageControl1->setCurrentWidget(frmCorvelo->TabSheet4);
    frmCorvelo->edtEnd->setText(QString::fromStdString(path));
    dialogs.press(QMessageBox::Ok);
    const WhileRunning seen = runAndCancel([] { frmCorvelo->Button3->click(); }, rowsDone(1200));
    EXPECT_TRUE(seen.progress.contains("linhas:")) << seen.progress.toStdString();
    EXPECT_TRUE(seen.progress.contains("de 20.000")) << seen.progress.toStdString();
    expectCancelledAndUsable();
    for (const SeenDialog& box : dialogs.seen())
        EXPECT_NE(box.text, "Processo Concluido");
    EXPECT_TRUE(frmCorvelo->memo->toPlainText().isEmpty()) << "no line is listed as failed";
    const std::int64_t committed = std::stol(count("ITENS", "ID > 100000"));
    EXPECT_EQ(committed % 500, 0) << "committed at the 500-line points only";
    EXPECT_GE(committed, 1000);
    commit();
    const std::int64_t run = std::stol(count("ITENS", "ID > 100000"));
    EXPECT_LT(run, 20000);
    EXPECT_EQ(count("ITENS", "ID BETWEEN 100001 AND " + std::to_string(100000 + run)), std::to_string(run))
        << "the lines run are the first ones";
    std::filesystem::remove(path);
}

TEST_F(LongWorkTest, CancellingAnExportLeavesTheEarlierFileAndNoTemporaryOne) {
    const std::filesystem::path target = db.path() + ".xlsx";
    std::ofstream(target, std::ios::binary) << "earlier content";
    dialogs.handle([&](QWidget* dialog) {
        auto* fileDialog = qobject_cast<QFileDialog*>(dialog);
        ASSERT_NE(fileDialog, nullptr);
        fileDialog->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(target.string()));
        QMetaObject::invokeMethod(fileDialog, "accept", Qt::QueuedConnection);
    });
    dialogs.press(QMessageBox::Yes).press(QMessageBox::Ok);
    runAndCancel([] { frmCorvelo->SpeedButton12->click(); }, rowsDone(2000));
    expectCancelledAndUsable(2);
    std::ifstream in(target, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "earlier content");
    for (const auto& entry : std::filesystem::directory_iterator(target.parent_path()))
        EXPECT_EQ(entry.path().string().find(target.filename().string() + "."), std::string::npos)
            << "a temporary file was left: " << entry.path();
    std::filesystem::remove(target);
}

TEST_F(LongWorkTest, InputAndOtherHandlersWaitWhileWorkRuns) {
    frmCorvelo->chkRepress->setChecked(true);
    frmCorvelo->edtCampo->setText("NUM");
    frmCorvelo->edtValor->setText("1");
    const int page = frmCorvelo->PageControl1->currentIndex();
    bool tried = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (tried || !frmCorvelo->longWork().Running() || frmCorvelo->longWork().Done() < 100)
            return;
        tried = true;
        // Typing, a click on a tab and another handler's button: none acts.
        QKeyEvent key(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
        QApplication::sendEvent(frmCorvelo->edtValor, &key);
        QTabBar* tabs = frmCorvelo->PageControl1->tabBar();
        clickOn(tabs);
        const QPointF at = QPointF(tabs->tabRect(3).center());
        QMouseEvent press(QEvent::MouseButtonPress, at, tabs->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(tabs, &press);
        frmCorvelo->SpeedButton10->click(); // would commit and say "Commit Executado"
        frmCorvelo->btnProcessar->click();  // would run the walk a second time
    });
    poll.start();
    frmCorvelo->btnProcessar->click();
    poll.stop();
    ASSERT_TRUE(tried) << "the work ended before the test could try";
    EXPECT_EQ(frmCorvelo->edtValor->text(), "1");
    EXPECT_EQ(frmCorvelo->PageControl1->currentIndex(), page);
    EXPECT_TRUE(dialogs.seen().isEmpty()) << shown().toStdString();
    EXPECT_EQ(count("ITENS", "NUM = ID"), "20000") << "the one walk ran to its end and committed";
    // Afterwards input acts again.
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Y, Qt::NoModifier, "y");
    QApplication::sendEvent(frmCorvelo->edtValor, &key);
    EXPECT_EQ(frmCorvelo->edtValor->text(), "1y");
}

TEST_F(LongWorkTest, AQuestionAskedBeforeTheWorkShowsTheNormalCursorAndTakesARealKey) {
    std::vector<Qt::CursorShape> cursors;
    auto answer = [&](QWidget* dialog) {
        const QCursor* cursor = QApplication::overrideCursor();
        cursors.push_back(cursor ? cursor->shape() : Qt::ArrowCursor);
        // Real input: a key reaches the dialog's window first, then its widgets.
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(dialog->windowHandle(), &enter);
    };
    dialogs.handle(answer).handle(answer);
    frmCorvelo->SpeedButton1->click(); // delete the shown rows, asked twice
    ASSERT_EQ(cursors.size(), 2u);
    EXPECT_EQ(cursors[0], Qt::ArrowCursor);
    EXPECT_EQ(cursors[1], Qt::ArrowCursor);
    EXPECT_EQ(count("ITENS"), "0");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(LongWorkTest, TheProgressLineCountsWithTheTotalAndTheRate) {
    EXPECT_EQ(LongWork::ProgressText("registros", 1234567, -1, 0), " Processando... registros: 1.234.567");
    EXPECT_EQ(LongWork::ProgressText("linhas", 500, 20000, 812.4),
              " Processando... linhas: 500 de 20.000 (812/s)");
}

} // namespace
