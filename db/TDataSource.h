#pragma once
// The link between a dataset and whatever shows or follows it (the grid, a
// query that takes the dataset as its master).
#include <string>

class TIBCustomDataSet;

class TDataSource {
public:
    TDataSource(std::string name, TIBCustomDataSet* dataSet) : Name(std::move(name)), DataSet(dataSet) {}
    TDataSource(const TDataSource&) = delete;
    TDataSource& operator=(const TDataSource&) = delete;

    std::string Name;
    TIBCustomDataSet* DataSet = nullptr;
};
