#pragma once
// What the catalogue says about the tables datasets read: computed columns and
// defaults, indexes, whether rows can be written. The connection keeps it
// until it detaches or its DatabaseName changes, so opening a table again
// costs no catalogue reads.
#include <map>
#include <optional>
#include <string>
#include <vector>

struct TRelationColumn {
    bool Computed = false;
    bool HasDefault = false;
};

// Only columns that are computed or have a default appear.
using TRelationColumns = std::map<std::string, TRelationColumn>;

struct TIndexDef {
    std::string Name;
    std::string Fields; // ";"-separated, in segment order
    bool Primary = false;
    bool Unique = false;
    bool Descending = false;
};

// Of one table, by the name the catalogue stores.
struct TTableFacts {
    std::optional<std::vector<TIndexDef>> Indexes;
    std::optional<int> SystemFlag;
    std::optional<int> DBKeyLength;
};

class RelationFieldCache {
public:
    TTableFacts& Table(const std::string& stored) { return tables_[stored]; }

    const TRelationColumns* Find(const std::string& relation) const {
        const auto found = relations_.find(relation);
        return found == relations_.end() ? nullptr : &found->second;
    }
    const TRelationColumns& Store(const std::string& relation, TRelationColumns columns) {
        return relations_[relation] = std::move(columns);
    }
    void Clear() {
        relations_.clear();
        tables_.clear();
    }

private:
    std::map<std::string, TRelationColumns> relations_;
    std::map<std::string, TTableFacts> tables_;
};
