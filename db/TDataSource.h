#pragma once
// The link between a dataset and whatever shows or follows it (the grid, a
// query that takes the dataset as its master). A dataset tells every data
// source bound to it what happened; the source passes it on to its links.
#include "db/SlotList.h"

#include <string>

class TField;
class TIBCustomDataSet;
class TDataSource;

enum TDataEvent {
    deActiveChanged,   // opened or closed
    deDataSetChanged,  // rows or their values changed; reread everything
    deDataSetScrolled, // the current row moved (rows may have been fetched)
    deRecordChanged,   // a field of the current row was assigned
    deEditingChanged,  // the state went to or from edit or insert
};

// An observer of one data source. The notifications run on the dataset's
// caller; what a link raises reaches that caller.
class TDataLink {
public:
    TDataLink() = default;
    virtual ~TDataLink();
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;

    TDataSource* DataSource() const { return dataSource_; }
    void SetDataSource(TDataSource* source);
    // The source's dataset, or nullptr.
    TIBCustomDataSet* DataSet() const;

    virtual void ActiveChanged() {}
    virtual void DataSetChanged() {}
    virtual void DataSetScrolled() {}
    // `field` is the assigned field.
    virtual void RecordChanged(TField* /*field*/) {}
    virtual void EditingChanged() {}

private:
    friend class TDataSource;
    TDataSource* dataSource_ = nullptr;
};

class TDataSource {
public:
    explicit TDataSource(std::string name, TIBCustomDataSet* dataSet = nullptr);
    ~TDataSource();
    TDataSource(const TDataSource&) = delete;
    TDataSource& operator=(const TDataSource&) = delete;

    const std::string& Name() const { return name_; }
    TIBCustomDataSet* DataSet() const { return dataSet_; }
    // Links hear ActiveChanged when the dataset is replaced.
    void SetDataSet(TIBCustomDataSet* dataSet);

private:
    friend class TDataLink;
    friend class TIBCustomDataSet;

    // From the dataset. Every link hears it; the first failure of a link is
    // raised once all have heard.
    void notify(TDataEvent event, TField* field);
    static void notifyLink(TDataLink& link, TDataEvent event, TField* field);
    void dataSetDestroyed() noexcept;

    std::string name_;
    TIBCustomDataSet* dataSet_ = nullptr;
    SlotList<TDataLink> links_;
};
