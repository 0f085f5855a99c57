#include "toolkit/Collection.h"
#include <algorithm>

TCollectionItem::TCollectionItem(TCollection* collection) : FCollection(collection)
{
    if (FCollection) FCollection->FItems.push_back(this);
}

TCollectionItem::~TCollectionItem()
{
    if (!FCollection) return;
    auto& items = FCollection->FItems;
    // The newest items are the likeliest to go first.
    auto it = std::find(items.rbegin(), items.rend(), this);
    if (it != items.rend()) items.erase(std::next(it).base());
}

TCollection::~TCollection() { Clear(); }

TCollectionItem* TCollection::Items(int i) const
{
    if (i < 0 || i >= Count()) throw Exception(Format("List index out of bounds (%d)", i));
    return FItems[i];
}

void TCollection::Clear()
{
    FreeWhere([](TCollectionItem*) { return true; });
}

void TCollection::FreeWhere(const std::function<bool(TCollectionItem*)>& drop)
{
    std::vector<TCollectionItem*> gone;
    auto keep = std::stable_partition(FItems.begin(), FItems.end(), [&](TCollectionItem* i) { return !drop(i); });
    gone.assign(keep, FItems.end());
    FItems.erase(keep, FItems.end());
    for (TCollectionItem* i : gone) {
        i->FCollection = nullptr;         // already out of the list
        delete i;
    }
}
