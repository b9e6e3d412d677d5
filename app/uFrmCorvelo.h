#pragma once
// The main window: five tab pages over the data grid, the editor panel, and
// the components every page works with.
#include "app/LongWork.h"
#include "app/form/CorveloControls.h"
#include "db/TDataSource.h"
#include "db/TIBDatabase.h"
#include "db/TIBQuery.h"
#include "db/TIBTable.h"
#include "db/TIBTransaction.h"
#include "ops/OperationHost.h"

#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>

class DataGridModel;
class QAbstractButton;
class QLabel;
class QPushButton;
class QFileDialog;
class QTimer;
class TIBDataSetBase;

class TfrmCorvelo : public QWidget, public CorveloControls, public OperationHost {
    Q_OBJECT
public:
    TfrmCorvelo();
    ~TfrmCorvelo() override;

    // Handlers of the frame.
    void FormActivate(QObject* sender);
    void PageControl1Change(QObject* sender);
    void FormClose(QObject* sender);

    // Connection and transaction controls.
    void btnconClick(QObject* sender);
    void SpeedButton6Click(QObject* sender);
    void btnFecharClick(QObject* sender);
    void SpeedButton9Click(QObject* sender);
    void SpeedButton10Click(QObject* sender);
    void SpeedButton11Click(QObject* sender);
    // Table browsing and the editor panel.
    void btnAbrirClick(QObject* sender);
    void btnAtivaClick(QObject* sender);
    void btnDesativaClick(QObject* sender);
    void OrdemClick(QObject* sender);
    void DBDadosCellClick(int column);
    void btnConfMemoClick(QObject* sender);
    void btnCancMemoClick(QObject* sender);
    void Button4Click(QObject* sender);

    // The commit step of every operation. Returns false when the commit failed
    // and the work was rolled back (the user has been told); raises only when
    // that rollback failed too.
    bool dtmSuporteCommit(TIBDataSetBase* dataSet);
    bool CommitStep(TIBDataSetBase* dataSet) override { return dtmSuporteCommit(dataSet); }

    // The "+  -  * / " page.
    void SpeedButton5Click(QObject* sender);

    // The "Grava Campo" page.
    // (handlers: Grava Campo)
    void btnProcessarClick(QObject* sender);
    void SpeedButton2Click(QObject* sender);
    void SpeedButton3Click(QObject* sender);
    void Button5Click(QObject* sender);

    // The "Cruzar Campo" page.
    // (handlers: Cruzar Campo)
    void SpeedButton4Click(QObject* sender);

    // Record elimination on the "Arquivo" page.
    // (handlers: elimination)
    void SpeedButton1Click(QObject* sender);
    void SpeedButton7Click(QObject* sender);
    void SpeedButton8Click(QObject* sender);
    // The progress line of the operations is Label13.
    void ShowProgress(const std::string& text) override;
    // Rows done by long work, in the progress line over the grid.
    void ShowRowsDone(std::int64_t rowsDone) override;
    bool CancelRequested() const override;

    // Runs the work of a handler on a thread of its own while the window
    // keeps turning (see LongWork); its error reaches the handler.
    void RunLong(const std::function<void()>& work, LongWork::Stop stop,
                 const QString& unit = QStringLiteral("registros"));
    LongWork& longWork() { return *longWork_; }

    // Closes the window as its close box does once nothing is under way, for
    // the program asked to end from outside: long work is cancelled (a commit
    // is waited for) and the boxes that show meanwhile get the answer of
    // Escape, which changes nothing.
    void CloseWhenIdle();

    // The "Scripst Sql" page.
    // (handlers: SQL console)
    void Button1Click(QObject* sender);
    void Button2Click(QObject* sender);
    void btnExecutClick(QObject* sender);
    void Button3Click(QObject* sender);

    // The spreadsheet export of the query (btnExcel) and of the table (SpeedButton12).
    // (handlers: export)
    void btnExcelClick(QObject* sender);
    void SpeedButton12Click(QObject* sender);
    // The script file dialog, made on first use, and the last file accepted in it.
    QFileDialog* AbrirArq = nullptr;
    QString lastChosenScriptFile_;

    // The connection and the one transaction every dataset works in. The
    // transaction is declared after the connection so that it ends first when
    // the window goes: a started transaction is then committed.
    TIBDatabase dtbSuporte;
    TIBTransaction ibtSuporte;
    // The table every operation works on, and the data sources the grid shows.
    TIBTable table{"table", &dtbSuporte, &ibtSuporte};
    TDataSource dtstable{"dtstable", &table};
    // Generated statements of the bulk operations, and the SQL console's query;
    // both follow the table as their master.
    TIBQuery sql{"sql", &dtbSuporte, &ibtSuporte};
    TIBQuery qryScript{"qryScript", &dtbSuporte, &ibtSuporte};
    TDataSource dtsScript{"dtsScript", &qryScript};
    QFileDialog* OpenDialog1 = nullptr;

    // Name of the column being edited in the editor panel.
    std::string campoMemo;

    // What the grid shows.
    void ShowInGrid(TDataSource* source);
    TDataSource* GridDataSource() const;

    // Where the settings file lives: beside the program when its folder is
    // writable, else in the user's configuration folder.
    static std::string ConfigPath();

    static constexpr int PageHeightScript = 250;
    static constexpr int PageHeightOthers = 160;
    static constexpr int ProgressLineHeight = 22;
    static constexpr int ProgressLineWidth = 360;
    static constexpr int CancelButtonWidth = 90;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void connectHandlers();
    // Every handler of the window runs through here: the grid's open cell
    // editor is closed first, then the handler runs inside the error guard.
    template <class Handler> void runHandler(QObject* sender, Handler&& handler);
    void onClick(QAbstractButton* button, void (TfrmCorvelo::*handler)(QObject*));
    void createComponents();
    void runFirstActivation();
    void layoutFrame();
    // Switching pages from code is not a user's tab change.
    void setCurrentPageFromCode(QWidget* page);

    DataGridModel* gridModel_ = nullptr;
    QLabel* lblProgresso = nullptr;
    QPushButton* btnCancelar = nullptr;
    LongWork* longWork_ = nullptr;
    QTimer* closeWhenIdle_ = nullptr;
    // The database file chosen last with "....", kept across cancelled choices.
    QString lastChosenDatabaseFile_;
    // The value the editor panel was loaded with, and how it was shown.
    std::string memoOriginal_;
    QString memoShown_;
    int pageHeight_ = PageHeightScript;
    bool pageChangeFromCode_ = false;
    bool activated_ = false;
};

extern TfrmCorvelo* frmCorvelo;
