#include "app/DataGridModel.h"

#include "app/ScreenText.h"
#include "db/TDataSource.h"
#include "db/TField.h"
#include "db/TIBCustomDataSet.h"

#include <algorithm>

const QString DataGridModel::BrowseMark = QStringLiteral("\u25B6");
const QString DataGridModel::EditMark = QStringLiteral("\u270E");
const QString DataGridModel::InsertMark = QStringLiteral("*");

class DataGridModel::Link : public TDataLink {
public:
    explicit Link(DataGridModel& model) : model_(model) {}

    // While frozen the notifications come from the work's thread: only noted.
    void ActiveChanged() override {
        if (!missed())
            model_.reload();
    }
    void DataSetChanged() override {
        if (!missed())
            model_.refresh();
    }
    void DataSetScrolled() override {
        if (!missed())
            model_.followCurrent();
    }
    void RecordChanged(TField*) override {
        if (!missed())
            model_.currentRowAssigned();
    }
    void EditingChanged() override {
        if (!missed())
            model_.followCurrent();
    }

private:
    bool missed() {
        if (!model_.frozen_)
            return false;
        model_.missedChange_ = true;
        return true;
    }

    DataGridModel& model_;
};

namespace {
quint64 cellKey(int row, int column) {
    return (static_cast<quint64>(static_cast<quint32>(row)) << 32) | static_cast<quint32>(column);
}
} // namespace

DataGridModel::DataGridModel(QObject* parent)
    : QAbstractTableModel(parent), link_(std::make_unique<Link>(*this)) {}

DataGridModel::~DataGridModel() = default;

void DataGridModel::setDataSource(TDataSource* source) {
    if (source == link_->DataSource())
        return;
    link_->SetDataSource(source);
    reload();
}

TDataSource* DataGridModel::dataSource() const {
    return link_->DataSource();
}

void DataGridModel::freeze(int first, int last) {
    frozenCells_.clear();
    for (int row = std::max(first, 0); row <= last && row < rows_; ++row)
        for (int column = 0; column < static_cast<int>(headers_.size()); ++column)
            frozenCells_.insert(cellKey(row, column), data(index(row, column)).toString());
    frozenMark_ = indicatorRow_ >= 0 ? headerData(indicatorRow_, Qt::Vertical).toString() : QString();
    missedChange_ = false;
    frozen_ = true;
}

void DataGridModel::thaw() {
    frozen_ = false;
    frozenCells_.clear();
    if (missedChange_)
        refresh();
    else
        emit currentRecordChanged();
}

TIBCustomDataSet* DataGridModel::openDataSet() const {
    if (frozen_)
        return nullptr;
    TIBCustomDataSet* dataSet = link_->DataSet();
    return dataSet && dataSet->Active() ? dataSet : nullptr;
}

QStringList DataGridModel::fieldHeaders() const {
    QStringList headers;
    if (TIBCustomDataSet* dataSet = openDataSet())
        for (int i = 0; i < dataSet->FieldCount(); ++i)
            headers << toScreen(dataSet->FieldAt(i)->HeaderName());
    return headers;
}

void DataGridModel::reload() {
    beginResetModel();
    headers_ = fieldHeaders();
    TIBCustomDataSet* dataSet = openDataSet();
    rows_ = dataSet ? dataSet->RecordCount() : 0;
    indicatorRow_ = dataSet ? dataSet->RecNo() : -1;
    fetchFailed_ = false;
    endResetModel();
    emit currentRecordChanged();
}

// Not a reset: the view keeps its scroll position and a mouse press in
// progress keeps its cell, which a post made by that press would otherwise drop.
void DataGridModel::refresh() {
    if (fieldHeaders() != headers_) {
        reload();
        return;
    }
    TIBCustomDataSet* dataSet = openDataSet();
    const int count = dataSet ? dataSet->RecordCount() : 0;
    if (count > rows_) {
        beginInsertRows(QModelIndex(), rows_, count - 1);
        rows_ = count;
        endInsertRows();
    } else if (count < rows_) {
        beginRemoveRows(QModelIndex(), count, rows_ - 1);
        rows_ = count;
        endRemoveRows();
    }
    if (rows_ > 0) {
        if (!headers_.isEmpty())
            emit dataChanged(index(0, 0), index(rows_ - 1, static_cast<int>(headers_.size()) - 1));
        emit headerDataChanged(Qt::Vertical, 0, rows_ - 1);
    }
    indicatorRow_ = dataSet ? dataSet->RecNo() : -1;
    emit currentRecordChanged();
}

void DataGridModel::followCurrent() {
    catchUpRows();
    TIBCustomDataSet* dataSet = openDataSet();
    const int current = dataSet ? dataSet->RecNo() : -1;
    if (indicatorRow_ >= 0 && indicatorRow_ < rows_)
        emit headerDataChanged(Qt::Vertical, indicatorRow_, indicatorRow_);
    indicatorRow_ = current;
    if (current >= 0 && current < rows_)
        emit headerDataChanged(Qt::Vertical, current, current);
    emit currentRecordChanged();
}

void DataGridModel::currentRowAssigned() {
    TIBCustomDataSet* dataSet = openDataSet();
    const int current = dataSet ? dataSet->RecNo() : -1;
    if (current >= 0 && current < rows_ && !headers_.isEmpty())
        emit dataChanged(index(current, 0), index(current, static_cast<int>(headers_.size()) - 1));
}

void DataGridModel::catchUpRows() {
    TIBCustomDataSet* dataSet = openDataSet();
    const int count = dataSet ? dataSet->RecordCount() : 0;
    if (count <= rows_)
        return;
    beginInsertRows(QModelIndex(), rows_, count - 1);
    rows_ = count;
    endInsertRows();
}

int DataGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int DataGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant DataGridModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    if (frozen_)
        return frozenCells_.value(cellKey(index.row(), index.column()));
    TIBCustomDataSet* dataSet = openDataSet();
    if (!dataSet || !index.isValid())
        return {};
    return toScreen(dataSet->DisplayText(index.row(), index.column()));
}

QVariant DataGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < headers_.size() ? QVariant(headers_[section]) : QVariant();
    if (frozen_)
        return section == indicatorRow_ ? frozenMark_ : QString();
    TIBCustomDataSet* dataSet = openDataSet();
    if (!dataSet || section != dataSet->RecNo())
        return QString();
    switch (dataSet->State()) {
    case dsEdit:
        return EditMark;
    case dsInsert:
        return InsertMark;
    default:
        return BrowseMark;
    }
}

Qt::ItemFlags DataGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    TIBCustomDataSet* dataSet = openDataSet();
    if (!dataSet || !dataSet->CanModify() || index.column() >= dataSet->FieldCount())
        return flags;
    const TField* field = dataSet->FieldAt(index.column());
    // Large objects show a placeholder, not their content; the editor panel takes them.
    const bool largeObject = field->DataType() == ftBlob || field->DataType() == ftMemo;
    if (!largeObject && !field->ReadOnly() && !field->Calculated())
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool DataGridModel::canFetchMore(const QModelIndex& parent) const {
    if (parent.isValid() || fetchFailed_)
        return false;
    TIBCustomDataSet* dataSet = openDataSet();
    return dataSet && (!dataSet->AllFetched() || dataSet->RecordCount() > rows_);
}

void DataGridModel::fetchMore(const QModelIndex& parent) {
    TIBCustomDataSet* dataSet = openDataSet();
    if (parent.isValid() || !dataSet || fetchFailed_)
        return;
    try {
        dataSet->FetchMore(std::clamp(rows_ / 4, FetchBatch, MaxFetchBatch));
    } catch (...) {
        fetchFailed_ = true;
        catchUpRows();
        emit fetchFailed(std::current_exception());
        return;
    }
    catchUpRows();
}

void DataGridModel::setCellText(const QModelIndex& index, const QString& text) {
    TIBCustomDataSet* dataSet = openDataSet();
    if (!dataSet || !index.isValid() || index.row() != dataSet->RecNo())
        return;
    // Converted first: a character the code page lacks leaves the row as it was.
    const std::string value = fromScreen(text);
    // The editor started from the cell's text: handing it back unchanged is no change.
    if (dataSet->DisplayText(index.row(), index.column()) == value)
        return;
    TField* field = dataSet->FieldAt(index.column());
    dataSet->Edit();
    field->SetAsString(value);
}
