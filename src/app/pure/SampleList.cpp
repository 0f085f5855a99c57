#include "app/pure/SampleList.h"
#include <algorithm>
#include <atomic>
#include <thread>
#include "toolkit/pure/StrUtils.h"

std::string ExtensionList[MaxExtensions];
int ExtensionCount = 0;

TFilterSeen ParseFilter(const std::string& text)
{
    TFilterSeen seen;
    ExtensionCount = 0;
    size_t pos = 0;
    while (pos < text.size() && ExtensionCount < MaxExtensions) {
        size_t semi = text.find(';', pos);
        if (semi == pos) { ++pos; continue; }                  // an empty entry
        if (semi == std::string::npos) semi = text.size();
        std::string entry = "." + UpperCase(text.substr(pos, semi - pos));
        if (entry == ".WAV") seen.Wav = true;
        else if (entry == ".MID") seen.Mid = true;
        ExtensionList[ExtensionCount++] = entry;
        pos = semi + 1;
    }
    return seen;
}

std::string ToggledFilter(const std::string& text, const std::string& name, bool ticked)
{
    const std::string key = UpperCase(name);
    std::vector<std::string> kept;
    for (size_t pos = 0;;) {
        const size_t semi = text.find(';', pos);
        std::string entry = text.substr(pos, semi == std::string::npos ? std::string::npos : semi - pos);
        if (UpperCase(entry) != key) kept.push_back(std::move(entry));
        if (semi == std::string::npos) break;
        pos = semi + 1;
    }
    if (!kept.empty() && kept.back().empty()) kept.pop_back();      // a closing ";"
    if (ticked) {
        kept.emplace_back();
        for (char c : name) kept.back() += char(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    }
    std::string out;
    for (size_t i = 0; i < kept.size(); ++i) out += (i ? ";" : "") + kept[i];
    return out;
}

std::string FileExtension(const std::string& name)
{
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : UpperCase(name.substr(dot));
}

bool MatchExtension(std::string_view name, int& kind)
{
    // The extension upper-cased as FileExtension does, without making a text of it.
    const size_t dot = name.rfind('.');
    const std::string_view ext = dot == std::string_view::npos ? std::string_view() : name.substr(dot);
    auto sameUpper = [&](const std::string& entry) {
        if (entry.size() != ext.size()) return false;
        for (size_t i = 0; i < ext.size(); ++i) {
            const char c = ext[i];
            if ((c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c) != entry[i]) return false;
        }
        return true;
    };
    for (int i = ExtensionCount - 1; i >= 0; --i) {
        if (!sameUpper(ExtensionList[i])) continue;
        kind = ExtensionList[i] == ".WAV" ? KindWAV : ExtensionList[i] == ".MID" ? KindMIDI : KindOther;
        return true;
    }
    return false;
}

std::string DisplayName(const std::string& name)
{
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string ScanStatusText(int wavCount, int midiCount, bool canceled)
{
    if (canceled) return "Search canceled..";
    std::string s;
    if (wavCount > 0) s = "Found " + IntToStr(wavCount) + " WAV file" + (wavCount >= 2 ? "s" : "") + "\r";
    else if (midiCount <= 0) s = "No WAV file in this directory...";
    if (midiCount > 0) s += "Found " + IntToStr(midiCount) + " MIDI file" + (midiCount >= 2 ? "s" : "");
    return s;
}

void TScanFiles::Add(std::string_view name, uint32_t folder, int kind)
{
    const size_t dot = name.rfind('.');
    Files.push_back({static_cast<uint32_t>(Names.size()), static_cast<uint32_t>(name.size()),
                     static_cast<uint32_t>(dot == std::string_view::npos ? name.size() : dot), folder, kind});
    Names.append(name);
}

void TScanFiles::Clear()
{
    Folders.clear();
    Names.clear();
    Files.clear();
}

namespace {
// A text's place in the sort: the first sixteen bytes of its key as two numbers, so that most
// comparisons end there, and the whole key in its half's block of keys.
struct TSortEntry {
    unsigned long long Prefix[2];
    const unsigned char* Key;
    uint32_t KeyLength;
    uint32_t Index;
};

// Eight bytes of a key as a number that orders as the bytes do.
unsigned long long Word(const unsigned char* p)
{
    unsigned long long w = 0;
    for (int b = 0; b < 8; ++b) w = (w << 8) | p[b];
    return w;
}

// The keys' bytes after the first sixteen, which the prefixes hold: negative, zero or positive
// as a's come before, equal or after b's; a key that is the start of the other comes first.
int CompareRest(const TSortEntry& a, const TSortEntry& b)
{
    const uint32_t n = std::min(a.KeyLength, b.KeyLength);
    uint32_t i = 16;
    for (; i + 8 <= n; i += 8) {
        const unsigned long long x = Word(a.Key + i), y = Word(b.Key + i);
        if (x != y) return x < y ? -1 : 1;
    }
    for (; i < n; ++i)
        if (a.Key[i] != b.Key[i]) return a.Key[i] < b.Key[i] ? -1 : 1;
    return a.KeyLength == b.KeyLength ? 0 : a.KeyLength < b.KeyLength ? -1 : 1;
}

bool SameKey(const TSortEntry& a, const TSortEntry& b)
{
    return a.Prefix[0] == b.Prefix[0] && a.Prefix[1] == b.Prefix[1] && CompareRest(a, b) == 0;
}

// By key; equal keys in the order the texts were added, as a stable sort keeps them.
bool Before(const TSortEntry& a, const TSortEntry& b)
{
    if (a.Prefix[0] != b.Prefix[0]) return a.Prefix[0] < b.Prefix[0];
    if (a.Prefix[1] != b.Prefix[1]) return a.Prefix[1] < b.Prefix[1];
    const int c = CompareRest(a, b);
    return c != 0 ? c < 0 : a.Index < b.Index;
}

// The keys of texts from..to, one after another in one block, and their entries sorted.
struct THalf {
    std::string Keys;
    std::vector<TSortEntry> Order;
    void Prepare(size_t from, size_t to, const std::function<std::string_view(size_t)>& text)
    {
        Order.resize(to - from);
        Keys.reserve((to - from) * 48);
        for (size_t i = from; i < to; ++i) {
            const size_t at = Keys.size();
            AppendSortKey(Keys, text(i));
            Order[i - from].KeyLength = static_cast<uint32_t>(Keys.size() - at);
            Order[i - from].Index = static_cast<uint32_t>(i);
        }
        // The block no longer moves: each entry gets its key's address and first bytes.
        const auto* key = reinterpret_cast<const unsigned char*>(Keys.data());
        for (TSortEntry& e : Order) {
            e.Key = key;
            e.Prefix[0] = e.Prefix[1] = 0;
            for (uint32_t b = 0; b < 16; ++b)
                e.Prefix[b / 8] = (e.Prefix[b / 8] << 8) | (b < e.KeyLength ? key[b] : 0u);
            key += e.KeyLength;
        }
        std::sort(Order.begin(), Order.end(), Before);
    }
};
}

std::vector<TSortedLine> SortedLines(size_t count, const std::function<std::string_view(size_t)>& text,
                                     std::vector<uint32_t>* dropped)
{
    // A large list is prepared in two halves at once, on two processors where there are two,
    // then merged.
    const size_t half = count >= 8192 ? count / 2 : count;
    THalf first, second;
    std::thread helper;
    std::atomic<bool> helped{false};
    if (half < count) {
        try {
            helper = std::thread([&] {
                try { second.Prepare(half, count, text); helped = true; } catch (...) {}
            });
        } catch (...) {
        }
    }
    first.Prepare(0, half, text);
    if (helper.joinable()) helper.join();
    if (half < count && !helped) second.Prepare(half, count, text);

    // The halves are merged as the lines are made. Each run of equal keys is one line: the
    // first text added keeps its place, the last object added is the one it ends with.
    std::vector<TSortedLine> lines;
    lines.reserve(count);
    auto a = first.Order.cbegin(), b = second.Order.cbegin();
    const TSortEntry* previous = nullptr;
    while (a != first.Order.cend() || b != second.Order.cend()) {
        const bool fromSecond = a == first.Order.cend() || (b != second.Order.cend() && Before(*b, *a));
        const TSortEntry& e = fromSecond ? *b++ : *a++;
        if (previous && SameKey(*previous, e)) {
            if (dropped) dropped->push_back(lines.back().Last);
            lines.back().Last = e.Index;
        } else {
            lines.push_back({e.Index, e.Index});
        }
        previous = &e;
    }
    return lines;
}

std::vector<TObject*> SortSampleLines(std::vector<TSampleLine>& lines)
{
    std::vector<uint32_t> dropped;
    const auto sorted = SortedLines(lines.size(), [&](size_t i) { return std::string_view(lines[i].Text); }, &dropped);
    std::vector<TObject*> unlisted;
    unlisted.reserve(dropped.size());
    for (uint32_t i : dropped) unlisted.push_back(lines[i].Record);
    std::vector<TSampleLine> out;
    out.reserve(sorted.size());
    for (const TSortedLine& l : sorted) out.push_back({std::move(lines[l.First].Text), lines[l.Last].Record});
    lines.swap(out);
    return unlisted;
}

std::string WatchFolderOf(const std::string& listed)
{
    if (listed.size() == 3 && listed[1] == ':' && listed[2] == '\\') return listed;
    if (!listed.empty() && listed.back() == '\\') return listed.substr(0, listed.size() - 1);
    return listed;
}
