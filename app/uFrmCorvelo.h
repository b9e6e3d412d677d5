#pragma once
// The main window: five tab pages over the data grid, the editor panel, and
// the components every page works with.
#include "app/form/CorveloControls.h"
#include "db/TDataSource.h"
#include "db/TIBDatabase.h"
#include "db/TIBTable.h"
#include "db/TIBTransaction.h"

#include <QWidget>
#include <string>

class DataGridModel;
class QAbstractButton;
class QFileDialog;
class TIBDataSetBase;

class TfrmCorvelo : public QWidget, public CorveloControls {
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
    // The commit step of every operation. Returns false when the commit failed
    // and the work was rolled back (the user has been told); raises only when
    // that rollback failed too.
    bool dtmSuporteCommit(TIBDataSetBase* dataSet);

    // The connection and the one transaction every dataset works in. The
    // transaction is declared after the connection so that it ends first when
    // the window goes: a started transaction is then committed.
    TIBDatabase dtbSuporte;
    TIBTransaction ibtSuporte;
    // The table every operation works on, and the data sources the grid shows.
    TIBTable table{"table", &dtbSuporte, &ibtSuporte};
    TDataSource dtstable{"dtstable", &table};
    TDataSource dtsScript{"dtsScript", nullptr};
    QFileDialog* OpenDialog1 = nullptr;

    // Name of the column being edited in the editor panel.
    std::string campoMemo;

    // What the grid shows.
    void ShowInGrid(TDataSource* source);
    TDataSource* GridDataSource() const;

    // Where the settings file lives: beside the program.
    static std::string ConfigPath();

    static constexpr int PageHeightScript = 250;
    static constexpr int PageHeightOthers = 160;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void connectHandlers();
    void onClick(QAbstractButton* button, void (TfrmCorvelo::*handler)(QObject*));
    void createComponents();
    void runFirstActivation();
    void layoutFrame();
    // Switching pages from code is not a user's tab change.
    void setCurrentPageFromCode(QWidget* page);

    DataGridModel* gridModel_ = nullptr;
    // The database file chosen last with "....", kept across cancelled choices.
    QString lastChosenDatabaseFile_;
    int pageHeight_ = PageHeightScript;
    bool pageChangeFromCode_ = false;
    bool activated_ = false;
};

extern TfrmCorvelo* frmCorvelo;
