// Lines of text, each with an object pointer, whose texts lie one after another in one block:
// a list of a hundred thousand lines costs a few allocations, not one or two per line.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TObject;

struct TTextLines {
    struct TLine {
        uint32_t At;            // the text's first byte in Block
        uint32_t Length;
        TObject* Object;
    };
    std::string Block;
    std::vector<TLine> Lines;

    size_t Count() const { return Lines.size(); }
    std::string_view Text(size_t i) const { return {Block.data() + Lines[i].At, Lines[i].Length}; }
    TObject* Object(size_t i) const { return Lines[i].Object; }
    void Add(std::string_view text, TObject* object)
    {
        Lines.push_back({static_cast<uint32_t>(Block.size()), static_cast<uint32_t>(text.size()), object});
        Block.append(text);
    }
    // The line goes; its bytes stay in the block until the lines are replaced.
    void Erase(size_t i) { Lines.erase(Lines.begin() + static_cast<std::ptrdiff_t>(i)); }
    void Clear()
    {
        Block.clear();
        Lines.clear();
    }
};
