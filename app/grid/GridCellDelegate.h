#pragma once
// The grid's cell editor: before an editor opens the row must enter edit
// state, and the editor's text goes to the field through the controller, so
// both run inside the error guard (the view calls a delegate outside any).
#include <QStyledItemDelegate>

#include <functional>

class GridCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // False: no editor opens.
    using BeforeEdit = std::function<bool(const QModelIndex& index)>;
    using Assign = std::function<void(const QModelIndex& index, const QString& text)>;

    GridCellDelegate(BeforeEdit beforeEdit, Assign assign, QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;

    // An editor is open (the view keeps that to itself).
    bool editing() const { return openEditors_ > 0; }

private:
    BeforeEdit beforeEdit_;
    Assign assign_;
    mutable int openEditors_ = 0;
};
