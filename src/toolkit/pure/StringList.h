// A list of texts, each with an object pointer. The sorted variant keeps its lines in the
// user locale's order ignoring case and refuses a line equal (ignoring case) to one present:
// Add then returns the position of the existing line.
#pragma once
#include <string>
#include <vector>

class TObject;

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    const std::string& Strings(int i) const;
    TObject* Objects(int i) const;
    void SetObject(int i, TObject* o);
    int Add(const std::string& s) { return AddObject(s, nullptr); }
    int AddObject(const std::string& s, TObject* o);
    int AddObject(std::string&& s, TObject* o);       // takes the text over
    void Insert(int i, const std::string& s, TObject* o = nullptr);
    void Delete(int i);
    void Clear() { FItems.clear(); }
    int IndexOf(const std::string& s) const;
    // Bisection over a sorted list: true and the line's index when found, else false and the
    // index where the text belongs.
    bool Find(const std::string& s, int& index) const;
    bool Sorted() const { return FSorted; }
    void SetSorted(bool on);
    TDuplicates Duplicates = dupIgnore;
private:
    struct Item { std::string S; TObject* O; };
    void Check(int i) const;
    std::vector<Item> FItems;
    bool FSorted = false;
};
