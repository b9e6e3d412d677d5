#include "app/uFrmCorvelo.h"

#include "app/DataGridModel.h"
#include "app/ErrorHandling.h"
#include "app/ScreenText.h"
#include "app/grid/GridController.h"
#include "db/MainConnectionSettings.h"
#include "util/FormatSettings.h"
#include "util/SettingsLocation.h"
#include "util/TextFile.h"

#include "app/widgets/FlatButton.h"
#include <QAbstractButton>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>

TfrmCorvelo* frmCorvelo = nullptr;

TfrmCorvelo::TfrmCorvelo() {
    setObjectName(QStringLiteral("frmCorvelo"));
    setWindowTitle(QStringLiteral("Ib Corvelo = 05/02/2020"));
    setGeometry(194, 62, 1382, 784);
    createControls(this);
    createComponents();

    gridModel_ = new DataGridModel(this);
    DBDados->setModel(gridModel_);
    GridController::attach(DBDados)->setCellClickHandler([this](int column) { DBDadosCellClick(column); });
    ShowInGrid(&dtstable);

    // Over the grid's lower edge, shown only while long work runs, with the
    // button that stops it beside.
    lblProgresso = new QLabel(this);
    lblProgresso->setObjectName(QStringLiteral("lblProgresso"));
    lblProgresso->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lblProgresso->setAutoFillBackground(true);
    lblProgresso->hide();
    btnCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    btnCancelar->setObjectName(QStringLiteral("btnCancelar"));
    btnCancelar->hide();
    longWork_ = new LongWork(
        *this, *lblProgresso, *btnCancelar,
        [this] { gridModel_->freeze(DBDados->rowAt(0), DBDados->rowAt(DBDados->viewport()->height() - 1)); },
        [this] { gridModel_->thaw(); });
    longWork_->setParent(this);

    connectHandlers();
    layoutFrame();
}

TfrmCorvelo::~TfrmCorvelo() {
    if (frmCorvelo == this)
        frmCorvelo = nullptr;
}

void TfrmCorvelo::createComponents() {
    ConfigureMainConnection(dtbSuporte, ibtSuporte);
    sql.SetDataSource(&dtstable);
    qryScript.SetDataSource(&dtstable);

    OpenDialog1 = new QFileDialog(this);
    OpenDialog1->setObjectName(QStringLiteral("OpenDialog1"));
    OpenDialog1->setOption(QFileDialog::DontUseNativeDialog);
    OpenDialog1->setFileMode(QFileDialog::ExistingFile);
    OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
    // Names on the server's disks are upper case; on Linux the same files may
    // be written in lower case, so both forms are listed.
    OpenDialog1->setNameFilters({QStringLiteral("Banco VKT (*.VKT *.vkt)"),
                                 QStringLiteral("Banco Dados GDB (*.GDB *.gdb)"),
                                 QStringLiteral("Banco Dados FDB (*.FDB *.fdb)")});
}

template <class Handler> void TfrmCorvelo::runHandler(QObject* sender, Handler&& handler) {
    // One handler at a time: while long work runs no other starts.
    if (longWork_->Running())
        return;
    // What was typed into a cell counts, as it does when the user leaves the
    // cell: flat buttons take no focus, so the editor would stay open and its
    // text would be lost to a re-query or a close.
    GridController::attach(DBDados)->finishEditing();
    guarded(sender, std::forward<Handler>(handler));
}

void TfrmCorvelo::onClick(QAbstractButton* button, void (TfrmCorvelo::*handler)(QObject*)) {
    connect(button, &QAbstractButton::clicked, this,
            [this, button, handler] { runHandler(button, [&] { (this->*handler)(button); }); });
}

void TfrmCorvelo::RunLong(const std::function<void()>& work, LongWork::Stop stop, const QString& unit) {
    longWork_->Run(work, stop, unit);
}

void TfrmCorvelo::connectHandlers() {
    connect(PageControl1, &QTabWidget::currentChanged, this, [this] {
        if (!pageChangeFromCode_)
            runHandler(PageControl1, [this] { PageControl1Change(PageControl1); });
    });
    onClick(btncon, &TfrmCorvelo::btnconClick);
    onClick(SpeedButton6, &TfrmCorvelo::SpeedButton6Click);
    onClick(btnFechar, &TfrmCorvelo::btnFecharClick);
    onClick(SpeedButton9, &TfrmCorvelo::SpeedButton9Click);
    onClick(SpeedButton10, &TfrmCorvelo::SpeedButton10Click);
    onClick(SpeedButton11, &TfrmCorvelo::SpeedButton11Click);
    onClick(btnAbrir, &TfrmCorvelo::btnAbrirClick);
    onClick(btnAtiva, &TfrmCorvelo::btnAtivaClick);
    onClick(btnDesativa, &TfrmCorvelo::btnDesativaClick);
    onClick(Ordem, &TfrmCorvelo::OrdemClick);
    onClick(btnConfMemo, &TfrmCorvelo::btnConfMemoClick);
    onClick(btnCancMemo, &TfrmCorvelo::btnCancMemoClick);
    onClick(Button4, &TfrmCorvelo::Button4Click);
    onClick(SpeedButton5, &TfrmCorvelo::SpeedButton5Click);
    // (connections: Grava Campo)
    onClick(btnProcessar, &TfrmCorvelo::btnProcessarClick);
    onClick(SpeedButton2, &TfrmCorvelo::SpeedButton2Click);
    onClick(SpeedButton3, &TfrmCorvelo::SpeedButton3Click);
    onClick(Button5, &TfrmCorvelo::Button5Click);
    // (connections: Cruzar Campo)
    onClick(SpeedButton4, &TfrmCorvelo::SpeedButton4Click);
    // (connections: elimination)
    onClick(SpeedButton1, &TfrmCorvelo::SpeedButton1Click);
    onClick(SpeedButton7, &TfrmCorvelo::SpeedButton7Click);
    onClick(SpeedButton8, &TfrmCorvelo::SpeedButton8Click);
    // (connections: SQL console)
    onClick(Button1, &TfrmCorvelo::Button1Click);
    onClick(Button2, &TfrmCorvelo::Button2Click);
    onClick(btnExecut, &TfrmCorvelo::btnExecutClick);
    onClick(Button3, &TfrmCorvelo::Button3Click);
    // (connections: export)
    onClick(btnExcel, &TfrmCorvelo::btnExcelClick);
    onClick(SpeedButton12, &TfrmCorvelo::SpeedButton12Click);
}

std::string TfrmCorvelo::ConfigPath() {
    return SettingsFilePath(CurrentSettingsPlaces());
}

void TfrmCorvelo::FormActivate(QObject*) {
    ApplyProgramFormatSettings();
    const std::string path = ConfigPath();
    if (FileExists(path)) {
        const std::string line = ReadFirstLine(path);
        if (!line.empty())
            edtServer->setText(toScreen(line));
    }
    setCurrentPageFromCode(TabArquivo);
}

void TfrmCorvelo::PageControl1Change(QObject*) {
    const bool script = PageControl1->currentWidget() == TabSheet4;
    pageHeight_ = script ? PageHeightScript : PageHeightOthers;
    layoutFrame();
    ShowInGrid(script ? &dtsScript : &dtstable);
}

void TfrmCorvelo::FormClose(QObject*) {
    const std::string line = fromScreen(edtServer->text());
    const std::string path = ConfigPath();
    // The configuration folder of an installed program may not exist yet.
    CreateFolderOf(path);
    WriteSingleLine(path, line);
}

void TfrmCorvelo::ShowInGrid(TDataSource* source) {
    gridModel_->setDataSource(source);
}

TDataSource* TfrmCorvelo::GridDataSource() const {
    return gridModel_->dataSource();
}

void TfrmCorvelo::setCurrentPageFromCode(QWidget* page) {
    pageChangeFromCode_ = true;
    PageControl1->setCurrentWidget(page);
    pageChangeFromCode_ = false;
}

bool TfrmCorvelo::event(QEvent* event) {
    // Modal dialogs of this window hand the activation back when they close;
    // that is not the window becoming the active form again.
    if (event->type() == QEvent::WindowActivate)
        runFirstActivation();
    return QWidget::event(event);
}

void TfrmCorvelo::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Without a window manager nothing activates the window; once the event
    // loop has shown it, it counts as activated all the same.
    if (!activated_)
        QTimer::singleShot(0, this, [this] { runFirstActivation(); });
}

void TfrmCorvelo::runFirstActivation() {
    if (activated_)
        return;
    activated_ = true;
    guarded(this, [this] { FormActivate(this); });
}

void TfrmCorvelo::closeEvent(QCloseEvent* event) {
    // The window stays while long work runs: it ends or is cancelled first.
    if (longWork_->Running()) {
        event->ignore();
        return;
    }
    bool closed = false;
    runHandler(this, [&] {
        FormClose(this);
        closed = true;
    });
    // A settings file that cannot be written keeps the window open.
    if (closed)
        event->accept();
    else
        event->ignore();
}

void TfrmCorvelo::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutFrame();
}

void TfrmCorvelo::layoutFrame() {
    PageControl1->setGeometry(0, 0, width(), pageHeight_);
    DBDados->setGeometry(0, pageHeight_, width(), qMax(0, height() - pageHeight_));
    pnlMemo->raise();
    lblProgresso->setGeometry(0, height() - ProgressLineHeight, ProgressLineWidth, ProgressLineHeight);
    lblProgresso->raise();
    btnCancelar->setGeometry(ProgressLineWidth, height() - ProgressLineHeight, CancelButtonWidth,
                             ProgressLineHeight);
    btnCancelar->raise();
}
