#pragma once
// The registry a connection or transaction keeps of the objects bound to it.
// Removing leaves an empty slot instead of shifting, so a walk over the list
// stays valid while the objects it notifies register or unregister others.
#include <algorithm>
#include <cstddef>
#include <iterator>
#include <vector>

template <class T> class SlotList {
public:
    void Add(T* item) {
        if (Contains(item))
            return;
        auto empty = std::find(slots_.begin(), slots_.end(), nullptr);
        if (empty != slots_.end())
            *empty = item;
        else
            slots_.push_back(item);
    }

    void Remove(T* item) noexcept {
        std::replace(slots_.begin(), slots_.end(), item, static_cast<T*>(nullptr));
    }

    bool Contains(const T* item) const {
        return std::find(slots_.begin(), slots_.end(), item) != slots_.end();
    }

    // Calls f for every registered item in slot order, skipping empty slots;
    // items added during the walk are visited when they land after the cursor.
    template <class F> void ForEach(F f) const {
        for (std::size_t i = 0; i < slots_.size(); ++i)
            if (T* item = slots_[i])
                f(item);
    }

    // A copy of the registered items, for walks that may destroy them.
    std::vector<T*> Items() const {
        std::vector<T*> items;
        std::copy_if(slots_.begin(), slots_.end(), std::back_inserter(items),
                     [](T* p) { return p != nullptr; });
        return items;
    }

private:
    std::vector<T*> slots_;
};
