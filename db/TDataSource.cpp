#include "db/TDataSource.h"

#include "db/TIBCustomDataSet.h"

#include <exception>

TDataLink::~TDataLink() {
    SetDataSource(nullptr);
}

void TDataLink::SetDataSource(TDataSource* source) {
    if (source == dataSource_)
        return;
    if (dataSource_)
        dataSource_->links_.Remove(this);
    dataSource_ = source;
    if (dataSource_)
        dataSource_->links_.Add(this);
}

TIBCustomDataSet* TDataLink::DataSet() const {
    return dataSource_ ? dataSource_->DataSet() : nullptr;
}

TDataSource::TDataSource(std::string name, TIBCustomDataSet* dataSet) : name_(std::move(name)) {
    SetDataSet(dataSet);
}

TDataSource::~TDataSource() {
    if (dataSet_)
        dataSet_->sources_.Remove(this);
    for (TDataLink* link : links_.Items())
        link->dataSource_ = nullptr;
}

void TDataSource::SetDataSet(TIBCustomDataSet* dataSet) {
    if (dataSet == dataSet_)
        return;
    if (dataSet_)
        dataSet_->sources_.Remove(this);
    dataSet_ = dataSet;
    if (dataSet_)
        dataSet_->sources_.Add(this);
    notify(deActiveChanged, nullptr);
}

void TDataSource::notify(TDataEvent event, TField* field) {
    // Every link hears the event, also when one before it fails (a query that
    // cannot run again must not keep the grid from following); the first
    // failure is passed on afterwards.
    std::exception_ptr firstFailure;
    links_.ForEach([event, field, &firstFailure](TDataLink* link) {
        try {
            notifyLink(*link, event, field);
        } catch (...) {
            if (!firstFailure)
                firstFailure = std::current_exception();
        }
    });
    if (firstFailure)
        std::rethrow_exception(firstFailure);
}

void TDataSource::notifyLink(TDataLink& link, TDataEvent event, TField* field) {
    switch (event) {
    case deActiveChanged:
        link.ActiveChanged();
        break;
    case deDataSetChanged:
        link.DataSetChanged();
        break;
    case deDataSetScrolled:
        link.DataSetScrolled();
        break;
    case deRecordChanged:
        link.RecordChanged(field);
        break;
    case deEditingChanged:
        link.EditingChanged();
        break;
    }
}

void TDataSource::dataSetDestroyed() noexcept {
    dataSet_ = nullptr;
    try {
        notify(deActiveChanged, nullptr);
    } catch (...) {
        // The dataset is going; a link that fails to follow has no one to tell.
    }
}
