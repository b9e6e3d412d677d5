// Long handlers on the real window: the wait cursor while they run, a
// progress line telling the rows done, input given meanwhile dropped, and
// dialogs in between with the normal cursor.
#include "app/Startup.h"
#include "app/uFrmCorvelo.h"
#include "app/widgets/FlatButton.h"
#include "tests/support/DialogAnswerer.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestDatabase.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

// Records what a label looked like each time it was painted.
class PaintRecorder : public QObject {
public:
    struct Paint {
        QString text;
        Qt::CursorShape cursor;
    };
    std::vector<Paint> paints;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            const QCursor* cursor = QApplication::overrideCursor();
            paints.push_back(
                {static_cast<QLabel*>(watched)->text(), cursor ? cursor->shape() : Qt::ArrowCursor});
        }
        return false;
    }
};

class LongWorkTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.exec(
            std::vector<std::string>{"CREATE TABLE ITENS (ID INTEGER NOT NULL PRIMARY KEY, NUM INTEGER)",
                                     "EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= 50) DO BEGIN "
                                     "INSERT INTO ITENS VALUES (:I, 0); I = I + 1; END END"});
        CreateForms();
        frmCorvelo->show();
        // Painting needs a window that is on the screen.
        QDeadlineTimer deadline(5000);
        while (!frmCorvelo->windowHandle()->isExposed() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        ASSERT_TRUE(frmCorvelo->windowHandle()->isExposed());
        frmCorvelo->edtAlias->setText(QString::fromStdString(db.connectString()));
        frmCorvelo->btncon->click();
        frmCorvelo->edtArquivo->setEditText("ITENS");
        frmCorvelo->btnAbrir->click();
        ASSERT_TRUE(frmCorvelo->table.Active());
        progressLine = frmCorvelo->findChild<QLabel*>("lblProgresso");
        ASSERT_NE(progressLine, nullptr);
    }
    void TearDown() override { DestroyForms(); }

    TestDatabase db;
    DialogAnswerer dialogs;
    QLabel* progressLine = nullptr;
};

TEST_F(LongWorkTest, ARowWalkShowsTheWaitCursorAndTheRowsDoneThenHidesThem) {
    PaintRecorder recorder;
    progressLine->installEventFilter(&recorder);
    frmCorvelo->edtCampo->setText("NUM");
    frmCorvelo->edtValor->setText("1");
    frmCorvelo->chkRepress->setChecked(true);
    frmCorvelo->btnProcessar->click();

    ASSERT_FALSE(recorder.paints.empty()) << "the progress line was never painted during the walk";
    EXPECT_EQ(recorder.paints.front().text, " Processando... registros: 1");
    for (const auto& paint : recorder.paints)
        EXPECT_EQ(paint.cursor, Qt::WaitCursor) << paint.text.toStdString();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the cursor is restored";
    EXPECT_FALSE(progressLine->isVisible());
    EXPECT_EQ(*db.scalar("SELECT SUM(NUM) FROM ITENS"), "1275") << "renumbered 1..50 and committed";
    progressLine->removeEventFilter(&recorder);
}

TEST_F(LongWorkTest, KeysGivenDuringTheWorkAreDroppedAndTheCursorComesBackAfterAnError) {
    // Queued before the work, as if typed while it ran: nothing processes
    // events until it ends, and then they must not act.
    frmCorvelo->edtValor->setFocus();
    QCoreApplication::postEvent(frmCorvelo->edtValor,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x"));
    frmCorvelo->edtCampo->setText("NUM");
    frmCorvelo->edtValor->setText("abc"); // not an integer: the renumbering fails at once
    frmCorvelo->chkRepress->setChecked(true);
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->btnProcessar->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(frmCorvelo->edtValor->text(), "abc");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Outside long work typing still works.
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Y, Qt::NoModifier, "y");
    QCoreApplication::sendEvent(frmCorvelo->edtValor, &key);
    EXPECT_EQ(frmCorvelo->edtValor->text(), "abcy");
}

TEST_F(LongWorkTest, AQuestionAskedDuringLongWorkShowsTheNormalCursorAndTakesItsAnswer) {
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
    EXPECT_EQ(*db.scalar("SELECT COUNT(*) FROM ITENS"), "0");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
