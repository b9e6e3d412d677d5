#include "app/widgets/CheckListBox.h"

#include <QApplication>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>

namespace {

// Rows as tight as the design's, but never shorter than the text or the
// check box needs, so neighbouring boxes do not touch.
class CompactRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
        const int box = style->pixelMetric(QStyle::PM_IndicatorHeight, &option, option.widget) + 2;
        size.setHeight(std::max({CheckListBox::itemHeight, option.fontMetrics.height(), box}));
        return size;
    }
};

} // namespace

CheckListBox::CheckListBox(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new CompactRowDelegate(this));
    setUniformItemSizes(true);
}

void CheckListBox::addCheckItem(const QString& text) {
    auto* entry = new QListWidgetItem(text, this);
    entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    entry->setCheckState(Qt::Unchecked);
}

bool CheckListBox::isChecked(int row) const {
    const QListWidgetItem* entry = item(row);
    return entry && entry->checkState() == Qt::Checked;
}

void CheckListBox::setChecked(int row, bool checked) {
    if (QListWidgetItem* entry = item(row))
        entry->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}
