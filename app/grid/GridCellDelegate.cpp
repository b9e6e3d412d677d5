#include "app/grid/GridCellDelegate.h"

#include <QMetaProperty>

GridCellDelegate::GridCellDelegate(BeforeEdit beforeEdit, Assign assign, QObject* parent)
    : QStyledItemDelegate(parent), beforeEdit_(std::move(beforeEdit)), assign_(std::move(assign)) {}

QWidget* GridCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const {
    if (!beforeEdit_(index))
        return nullptr;
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (editor)
        ++openEditors_;
    return editor;
}

void GridCellDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const {
    --openEditors_;
    QStyledItemDelegate::destroyEditor(editor, index);
}

void GridCellDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const {
    const QByteArray property = editor->metaObject()->userProperty().name();
    assign_(index, editor->property(property.constData()).toString());
}
