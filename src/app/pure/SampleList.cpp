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

bool MatchExtension(const std::string& name, int& kind)
{
    std::string ext = FileExtension(name);
    for (int i = ExtensionCount - 1; i >= 0; --i) {
        if (ExtensionList[i] != ext) continue;
        kind = ext == ".WAV" ? KindWAV : ext == ".MID" ? KindMIDI : KindOther;
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

namespace {
// A line's place in the sort: the first sixteen bytes of its key beside its index, so that
// most comparisons end without reaching into the texts.
struct TSortEntry {
    unsigned long long Prefix[2];
    unsigned Index;
};

TSortEntry SortEntry(const std::string& key, unsigned index)
{
    TSortEntry e = {{0, 0}, index};
    for (size_t b = 0; b < 16; ++b)
        e.Prefix[b / 8] = (e.Prefix[b / 8] << 8) | (b < key.size() ? static_cast<unsigned char>(key[b]) : 0u);
    return e;
}
}

std::vector<TObject*> SortSampleLines(std::vector<TSampleLine>& lines)
{
    auto less = [&](const TSortEntry& a, const TSortEntry& b) {
        if (a.Prefix[0] != b.Prefix[0]) return a.Prefix[0] < b.Prefix[0];
        if (a.Prefix[1] != b.Prefix[1]) return a.Prefix[1] < b.Prefix[1];
        return lines[a.Index].Key < lines[b.Index].Key;
    };
    std::vector<TSortEntry> order(lines.size());
    // Keys for a range of lines, then the range sorted. A stable sort keeps equal keys in scan
    // order, so the first of a run is the line that a sorted list would have kept and the last
    // holds the record it would have ended with.
    auto prepare = [&](size_t from, size_t to) {
        for (size_t i = from; i < to; ++i) {
            lines[i].Key = AnsiSortKey(lines[i].Text);
            order[i] = SortEntry(lines[i].Key, static_cast<unsigned>(i));
        }
        std::stable_sort(order.begin() + from, order.begin() + to, less);
    };
    // A large list is prepared in two halves at once, on two processors where there are two;
    // merging keeps the first half's lines ahead of equal ones of the second.
    size_t half = lines.size() >= 8192 ? lines.size() / 2 : lines.size();
    std::thread helper;
    std::atomic<bool> helped{false};
    if (half < lines.size()) {
        try {
            helper = std::thread([&] {
                try { prepare(half, lines.size()); helped = true; } catch (...) {}
            });
        } catch (...) {
        }
    }
    prepare(0, half);
    if (helper.joinable()) helper.join();
    if (half < lines.size()) {
        if (!helped) prepare(half, lines.size());
        std::inplace_merge(order.begin(), order.begin() + half, order.end(), less);
    }

    std::vector<TObject*> unlisted;
    std::vector<TSampleLine> sorted;
    sorted.reserve(lines.size());
    for (const TSortEntry& e : order) {
        TSampleLine& line = lines[e.Index];
        if (!sorted.empty() && sorted.back().Key == line.Key) {
            unlisted.push_back(sorted.back().Record);
            sorted.back().Record = line.Record;
            continue;
        }
        sorted.push_back(std::move(line));
    }
    lines.swap(sorted);
    return unlisted;
}

std::string WatchFolderOf(const std::string& listed)
{
    if (listed.size() == 3 && listed[1] == ':' && listed[2] == '\\') return listed;
    if (!listed.empty() && listed.back() == '\\') return listed.substr(0, listed.size() - 1);
    return listed;
}
