// A collection owns items; an item knows its collection and leaves it when freed.
#pragma once
#include <functional>
#include <vector>
#include "toolkit/Classes.h"

class TCollection;

class TCollectionItem : public TObject {
public:
    explicit TCollectionItem(TCollection* collection);
    ~TCollectionItem() override;          // leaves its collection
    TCollectionItem(const TCollectionItem&) = delete;
    TCollectionItem& operator=(const TCollectionItem&) = delete;
    TCollection* Collection() const { return FCollection; }
private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
};

class TCollection : public TObject {
public:
    TCollection() = default;
    ~TCollection() override;              // frees every item
    TCollection(const TCollection&) = delete;
    TCollection& operator=(const TCollection&) = delete;
    int Count() const { return static_cast<int>(FItems.size()); }
    TCollectionItem* Items(int i) const;
    void Reserve(int n) { FItems.reserve(static_cast<size_t>(n)); }
    void Clear();
    // Frees every item for which drop(item) is true, in one pass (a large library's records
    // are released together, not one search per item).
    void FreeWhere(const std::function<bool(TCollectionItem*)>& drop);
private:
    friend class TCollectionItem;
    std::vector<TCollectionItem*> FItems;
};
