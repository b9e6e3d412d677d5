#pragma once
// The main window: five tab pages over the data grid, the editor panel, and
// the components every page works with.
#include "app/form/CorveloControls.h"
#include "db/TDataSource.h"

#include <QWidget>
#include <string>

class DataGridModel;

class TfrmCorvelo : public QWidget, public CorveloControls {
    Q_OBJECT
public:
    TfrmCorvelo();
    ~TfrmCorvelo() override;

    // Handlers.
    void FormActivate(QObject* sender);
    void PageControl1Change(QObject* sender);
    void FormClose(QObject* sender);

    // The data sources the grid can show.
    TDataSource dtstable{"dtstable", nullptr};
    TDataSource dtsScript{"dtsScript", nullptr};

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
    void runFirstActivation();
    void layoutFrame();
    // Switching pages from code is not a user's tab change.
    void setCurrentPageFromCode(QWidget* page);

    DataGridModel* gridModel_ = nullptr;
    int pageHeight_ = PageHeightScript;
    bool pageChangeFromCode_ = false;
    bool activated_ = false;
};

extern TfrmCorvelo* frmCorvelo;
