#include "toolkit/pure/StringList.h"
#include <algorithm>
#include "toolkit/pure/StrUtils.h"
#include "toolkit/pure/SysUtils.h"

void TStringList::Check(int i) const
{
    if (i < 0 || i >= Count()) throw Exception(Format("List index out of bounds (%d)", i));
}

const std::string& TStringList::Strings(int i) const { Check(i); return FItems[i].S; }
TObject* TStringList::Objects(int i) const { Check(i); return FItems[i].O; }
void TStringList::SetObject(int i, TObject* o) { Check(i); FItems[i].O = o; }

bool TStringList::Find(const std::string& s, int& index) const
{
    int lo = 0, hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        int mid = (lo + hi) / 2;
        int c = AnsiCompareText(FItems[mid].S, s);
        if (c < 0) lo = mid + 1;
        else {
            hi = mid - 1;
            if (c == 0) { found = true; if (Duplicates != dupAccept) lo = mid; }
        }
    }
    index = lo;
    return found;
}

int TStringList::AddObject(const std::string& s, TObject* o)
{
    return AddObject(std::string(s), o);
}

int TStringList::AddObject(std::string&& s, TObject* o)
{
    int i = Count();
    if (FSorted) {
        if (Find(s, i)) {
            if (Duplicates == dupIgnore) return i;
            if (Duplicates == dupError) throw Exception("String list does not allow duplicates");
        }
    }
    FItems.insert(FItems.begin() + i, Item{std::move(s), o});
    return i;
}

void TStringList::Insert(int i, const std::string& s, TObject* o)
{
    if (FSorted) throw Exception("Operation not allowed on sorted list");
    if (i < 0 || i > Count()) throw Exception(Format("List index out of bounds (%d)", i));
    FItems.insert(FItems.begin() + i, Item{s, o});
}

void TStringList::Delete(int i)
{
    Check(i);
    FItems.erase(FItems.begin() + i);
}

int TStringList::IndexOf(const std::string& s) const
{
    if (FSorted) {
        int i;
        return Find(s, i) ? i : -1;
    }
    for (int i = 0; i < Count(); ++i)
        if (AnsiCompareText(FItems[i].S, s) == 0) return i;
    return -1;
}

void TStringList::SetSorted(bool on)
{
    if (on && !FSorted)
        std::stable_sort(FItems.begin(), FItems.end(),
                         [](const Item& a, const Item& b) { return AnsiCompareText(a.S, b.S) < 0; });
    FSorted = on;
}
