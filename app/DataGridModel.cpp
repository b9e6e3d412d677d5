#include "app/DataGridModel.h"

DataGridModel::DataGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void DataGridModel::setDataSource(TDataSource* source) {
    if (source == source_)
        return;
    beginResetModel();
    source_ = source;
    endResetModel();
}

// Until a dataset is bound to the source there is nothing to show.
int DataGridModel::rowCount(const QModelIndex&) const {
    return 0;
}

int DataGridModel::columnCount(const QModelIndex&) const {
    return 0;
}

QVariant DataGridModel::data(const QModelIndex&, int) const {
    return {};
}
