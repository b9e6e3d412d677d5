#include "app/form/CorveloControls.h"

#include "app/form/ControlFactory.h"
#include "app/widgets/FlatButton.h"

#include <QFrame>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>

using namespace Qt::StringLiterals;

namespace {

// Tabs drawn as a row of flat buttons; the current one looks pressed in.
// Kept on the tab bar alone so the pages keep the platform's look.
const QString flatTabsStyle = uR"(
QTabBar::tab {
    background: palette(button);
    border: 1px solid palette(mid);
    border-radius: 3px;
    padding: 2px 12px;
    margin: 2px 3px 2px 0;
}
QTabBar::tab:hover:!selected {
    background: palette(light);
}
QTabBar::tab:selected {
    background: palette(mid);
    border-color: palette(dark);
}
)"_s;

QWidget* addPage(QTabWidget* pages, const char* name, const QString& caption) {
    auto* page = new QWidget;
    page->setObjectName(QLatin1String(name));
    pages->addTab(page, caption);
    return page;
}

} // namespace

void CorveloControls::createControls(QWidget* form) {
    createFrame(form);
    createTabArquivo();
    createTabGravaCampo();
    createTabCruzarCampo();
    createTabAritmetica();
    createTabScript();
    // The window opens on "Grava Campo"; activation moves it to "Arquivo".
    PageControl1->setCurrentWidget(TabSheet2);
}

void CorveloControls::createFrame(QWidget* form) {
    PageControl1 = new QTabWidget(form);
    PageControl1->setObjectName(u"PageControl1"_s);
    PageControl1->setDocumentMode(true);
    PageControl1->tabBar()->setDrawBase(false);
    PageControl1->tabBar()->setExpanding(false);
    PageControl1->tabBar()->setStyleSheet(flatTabsStyle);
    TabArquivo = addPage(PageControl1, "TabArquivo", u"Arquivo"_s);
    TabSheet2 = addPage(PageControl1, "TabSheet2", u"Grava Campo"_s);
    TabSheet1 = addPage(PageControl1, "TabSheet1", u"Cruzar Campo"_s);
    TabSheet3 = addPage(PageControl1, "TabSheet3", u"+  -  * / "_s);
    TabSheet4 = addPage(PageControl1, "TabSheet4", u"Scripst Sql"_s);

    DBDados = new QTableView(form);
    DBDados->setObjectName(u"DBDados"_s);

    // Created after the grid, so it lies above it when shown.
    pnlMemo = new QFrame(form);
    pnlMemo->setObjectName(u"pnlMemo"_s);
    pnlMemo->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pnlMemo->setAutoFillBackground(true);
    pnlMemo->setGeometry(8, 256, 977, 433);
    pnlMemo->hide();

    memo = new QPlainTextEdit(u"memo"_s, pnlMemo);
    memo->setObjectName(u"memo"_s);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setGeometry(8, 8, 945, 369);
    btnConfMemo = formkit::makeFlatButton(pnlMemo, "btnConfMemo", u"Confirma"_s, {104, 392, 89, 22});
    btnCancMemo = formkit::makeFlatButton(pnlMemo, "btnCancMemo", u"Cancela"_s, {224, 392, 89, 22});
    pnlMemo->raise();
}
