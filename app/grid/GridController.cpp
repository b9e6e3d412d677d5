#include "app/grid/GridController.h"

#include "app/DataGridModel.h"
#include "app/Dialogs.h"
#include "app/ErrorHandling.h"
#include "app/grid/GridCellDelegate.h"
#include "db/TField.h"
#include "db/TIBCustomDataSet.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>
#include <QTimer>

#include <algorithm>

const char* const GridController::DeleteQuestion = "Delete record?";

GridController* GridController::attach(QTableView* view) {
    if (auto* existing = view->findChild<GridController*>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new GridController(view);
}

GridController::GridController(QTableView* view)
    : QObject(view), view_(view), model_(qobject_cast<DataGridModel*>(view->model())), delegate_(nullptr) {
    Q_ASSERT(model_);
    setObjectName(QStringLiteral("gridController"));

    delegate_ = new GridCellDelegate(
        [this](const QModelIndex& index) { return beforeEdit(index); },
        [this](const QModelIndex& index, const QString& text) { assign(index, text); }, view_);
    view_->setItemDelegate(delegate_);
    view_->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);

    // The indicator column: narrow, one mark per row, rows of one height.
    QHeaderView* indicator = view_->verticalHeader();
    indicator->setSectionResizeMode(QHeaderView::Fixed);
    indicator->setDefaultSectionSize(view_->fontMetrics().height() + 6);
    indicator->setDefaultAlignment(Qt::AlignCenter);
    const QFontMetrics marks = indicator->fontMetrics();
    indicator->setFixedWidth(std::max({marks.horizontalAdvance(DataGridModel::BrowseMark),
                                       marks.horizontalAdvance(DataGridModel::EditMark),
                                       marks.horizontalAdvance(DataGridModel::InsertMark)}) +
                             10);

    view_->installEventFilter(this);
    // The view's own slot on currentChanged hands an open editor's text to
    // the row first; the move follows on currentRowChanged.
    connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { viewRowChanged(current); });
    connect(view_, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index) { viewClicked(index); });
    connect(delegate_, &QAbstractItemDelegate::closeEditor, this,
            [this](QWidget*, QAbstractItemDelegate::EndEditHint hint) {
                if (hint == QAbstractItemDelegate::RevertModelCache)
                    abandonChange();
            });
    connect(model_, &DataGridModel::currentRecordChanged, this, [this] { scheduleSync(); });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { fitColumns(); });
    // Rows are read while the view lays itself out; the error is shown once that is over.
    connect(model_, &DataGridModel::fetchFailed, this, [this](std::exception_ptr error) {
        QTimer::singleShot(0, this, [this, error] { HandleApplicationError(view_, error); });
    });
    fitColumns();
    scheduleSync();
}

template <class Call> void GridController::run(Call&& call) {
    guarded(view_, std::forward<Call>(call));
    scheduleSync();
}

TIBCustomDataSet* GridController::dataSet() const {
    return model_->openDataSet();
}

void GridController::viewRowChanged(const QModelIndex& current) {
    TIBCustomDataSet* shown = dataSet();
    if (!current.isValid() || !shown || current.row() == shown->RecNo())
        return;
    run([&] { shown->MoveTo(current.row()); });
}

void GridController::viewClicked(const QModelIndex& index) {
    TIBCustomDataSet* shown = dataSet();
    if (!cellClick_ || !shown || index.row() != shown->RecNo())
        return;
    guarded(view_, [&] { cellClick_(index.column()); });
}

bool GridController::beforeEdit(const QModelIndex& index) {
    bool editing = false;
    run([&] {
        TIBCustomDataSet* shown = dataSet();
        if (!shown)
            return;
        if (index.row() != shown->RecNo())
            shown->MoveTo(index.row());
        shown->Edit();
        editing = shown->RecNo() == index.row() && (shown->State() == dsEdit || shown->State() == dsInsert);
    });
    return editing;
}

void GridController::assign(const QModelIndex& index, const QString& text) {
    run([&] { model_->setCellText(index, text); });
}

void GridController::finishEditing() {
    if (!delegate_->editing())
        return;
    QWidget* editor = view_->indexWidget(view_->currentIndex());
    if (!editor)
        return;
    // What the view itself does when the editor loses the focus.
    emit delegate_->commitData(editor);
    emit delegate_->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void GridController::abandonChange() {
    run([&] {
        if (TIBCustomDataSet* shown = dataSet())
            shown->Cancel();
    });
}

void GridController::insertRow() {
    run([&] {
        if (TIBCustomDataSet* shown = dataSet())
            shown->Insert();
    });
}

void GridController::deleteRow() {
    TIBCustomDataSet* shown = dataSet();
    if (!shown || shown->RecordCount() == 0)
        return;
    run([&] {
        // The dataset may have closed while the question was open.
        if (WarningOkCancel(DeleteQuestion) && dataSet() == shown)
            shown->Delete();
    });
}

bool GridController::eventFilter(QObject* watched, QEvent* event) {
    // Keys an open editor leaves alone come up to the view; they are the editor's.
    if (watched != view_ || event->type() != QEvent::KeyPress || delegate_->editing())
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (key->key() == Qt::Key_Insert && modifiers == Qt::NoModifier) {
        insertRow();
        return true;
    }
    if (key->key() == Qt::Key_Delete && modifiers == Qt::ControlModifier) {
        deleteRow();
        return true;
    }
    if (key->key() == Qt::Key_Escape && modifiers == Qt::NoModifier) {
        abandonChange();
        return true;
    }
    return false;
}

// Deferred: the view may be in the middle of a mouse press or a layout when the
// dataset moves, and many moves in a row need only the last.
void GridController::scheduleSync() {
    if (syncPending_)
        return;
    syncPending_ = true;
    QTimer::singleShot(0, this, [this] { syncView(); });
}

void GridController::syncView() {
    syncPending_ = false;
    TIBCustomDataSet* shown = dataSet();
    const int row = shown ? shown->RecNo() : -1;
    if (row < 0 || row >= model_->rowCount() || delegate_->editing())
        return;
    const QModelIndex current = view_->currentIndex();
    if (current.isValid() && current.row() == row)
        return;
    view_->setCurrentIndex(model_->index(row, current.isValid() ? current.column() : 0));
}

void GridController::fitColumns() {
    TIBCustomDataSet* shown = dataSet();
    if (!shown)
        return;
    for (int i = 0; i < shown->FieldCount() && i < model_->columnCount(); ++i)
        view_->setColumnWidth(i, columnWidth(*shown->FieldAt(i)));
}

// Wide enough for the title and for a typical value of the field's type.
int GridController::columnWidth(const TField& field) const {
    int characters = 10;
    switch (field.DataType()) {
    case ftString:
        characters = std::clamp(field.Size(), 4, 40);
        break;
    case ftSmallint:
        characters = 6;
        break;
    case ftDateTime:
        characters = 19;
        break;
    case ftTime:
        characters = 8;
        break;
    case ftBlob:
    case ftMemo:
        characters = 7;
        break;
    default:
        break;
    }
    const QFontMetrics metrics = view_->fontMetrics();
    const int title = view_->horizontalHeader()->fontMetrics().horizontalAdvance(
        model_->headerData(field.Index(), Qt::Horizontal).toString());
    // Numbers and dates are digits, among the widest characters of a proportional font.
    const int value = field.DataType() == ftString ? metrics.averageCharWidth() * characters
                                                   : metrics.horizontalAdvance(QString(characters, u'0'));
    return std::max(title + 16, value + 12);
}
