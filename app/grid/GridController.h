#pragma once
// What the data grid does with the mouse and the keyboard. The view's current
// row and the dataset's current row follow each other: a click or an arrow key
// moves the dataset (settling a pending edit like any move), a move of the
// dataset moves the view. Typing or F2 opens a cell's editor, Escape abandons
// the row's change, Insert starts a new row, Ctrl+Delete deletes the current
// row after asking. Every dataset call runs inside the error guard.
#include <QObject>

#include <functional>

class DataGridModel;
class GridCellDelegate;
class QModelIndex;
class QTableView;
class TField;
class TIBCustomDataSet;

class GridController : public QObject {
    Q_OBJECT
public:
    // Called with the clicked column; runs inside the error guard.
    using CellClickHandler = std::function<void(int column)>;

    // The view's controller, created at the first call; the view's model must
    // already be a DataGridModel.
    static GridController* attach(QTableView* view);

    QTableView* view() const { return view_; }
    DataGridModel* model() const { return model_; }

    // A left-button click on a data cell, after its row became current: not on
    // a header, not inside an open editor, not when the move to the row failed.
    void setCellClickHandler(CellClickHandler handler) { cellClick_ = std::move(handler); }

    // Closes an open cell editor, handing its text to the row as leaving the
    // cell would. Buttons that take no focus leave the editor open, and the
    // text must count before their handler runs.
    void finishEditing();

    // The question before Ctrl+Delete deletes the current row.
    static const char* const DeleteQuestion;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit GridController(QTableView* view);

    // Runs a dataset call in the guard; the view then follows the dataset,
    // also when the call failed halfway.
    template <class Call> void run(Call&& call);
    TIBCustomDataSet* dataSet() const;

    void viewRowChanged(const QModelIndex& current);
    void viewClicked(const QModelIndex& index);
    bool beforeEdit(const QModelIndex& index);
    void assign(const QModelIndex& index, const QString& text);
    void abandonChange();
    void insertRow();
    void deleteRow();
    void scheduleSync();
    void syncView();
    void fitColumns();
    int columnWidth(const TField& field) const;

    QTableView* view_;
    DataGridModel* model_;
    GridCellDelegate* delegate_;
    CellClickHandler cellClick_;
    bool syncPending_ = false;
};
