#pragma once
// The grid's model: it follows whichever data source the grid shows. Rows come
// from the dataset lazily, a batch at a time as the view needs them; the
// vertical header is the row indicator (the current row and its state).
//
// The model never shows anything itself: an error of the dataset reaches the
// caller of setCellText, or is handed out by fetchFailed for a guard to show.
#include <QAbstractTableModel>
#include <QHash>
#include <QStringList>

#include <exception>
#include <memory>

class TDataSource;
class TIBCustomDataSet;

class DataGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Rows read per fetchMore: a screenful or two at first, so opening a large
    // table reads little more than the view shows; then a quarter of the rows
    // read so far, so a long scroll takes few steps, none of them long.
    static constexpr int FetchBatch = 64;
    static constexpr int MaxFetchBatch = 4096;

    // Indicator texts of the current row.
    static const QString BrowseMark;
    static const QString EditMark;
    static const QString InsertMark;

    explicit DataGridModel(QObject* parent = nullptr);
    ~DataGridModel() override;

    void setDataSource(TDataSource* source);
    TDataSource* dataSource() const;
    // The shown dataset while it is open, else nullptr.
    TIBCustomDataSet* openDataSet() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    // While long work runs on another thread the model shows what it showed
    // (the rows from `first` to `last`) and never touches the dataset; at
    // thaw it catches up with whatever the work changed.
    void freeze(int first, int last);
    void thaw();
    bool frozen() const { return frozen_; }

    // Puts the row in edit state (no effect when already editing) and assigns
    // the text to the cell's field; nothing for a row that is not current. Raises
    // the dataset's errors and the conversion error of an unwritable character.
    void setCellText(const QModelIndex& index, const QString& text);

signals:
    // The current row or its state may have changed.
    void currentRecordChanged();
    // Reading more rows failed; no more are read until the dataset is reopened.
    void fetchFailed(std::exception_ptr error);

private:
    class Link;
    friend class Link;

    // ActiveChanged: fields and rows start over.
    void reload();
    // DataSetChanged: same fields, rows and values may differ.
    void refresh();
    // DataSetScrolled, EditingChanged.
    void followCurrent();
    void currentRowAssigned();
    // Rows the dataset read by moving (not through fetchMore) become visible.
    void catchUpRows();
    QStringList fieldHeaders() const;

    std::unique_ptr<Link> link_;
    // The frozen picture: cell texts by row and column, and the row marker.
    bool frozen_ = false;
    bool missedChange_ = false;
    QHash<quint64, QString> frozenCells_;
    QString frozenMark_;
    QStringList headers_;
    int rows_ = 0;
    int indicatorRow_ = -1;
    bool fetchFailed_ = false;
};
