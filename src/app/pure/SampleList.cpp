#include "app/pure/SampleList.h"
#include <algorithm>
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

std::vector<TObject*> SortSampleLines(std::vector<TSampleLine>& lines)
{
    std::vector<TObject*> unlisted;
    // A stable sort keeps equal keys in scan order, so the first of a run is the line that a
    // sorted list would have kept and the last holds the record it would have ended with.
    std::stable_sort(lines.begin(), lines.end(), [](const TSampleLine& a, const TSampleLine& b) { return a.Key < b.Key; });
    size_t out = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (out > 0 && lines[out - 1].Key == lines[i].Key) {
            unlisted.push_back(lines[out - 1].Record);
            lines[out - 1].Record = lines[i].Record;
            continue;
        }
        if (out != i) lines[out] = std::move(lines[i]);
        ++out;
    }
    lines.resize(out);
    return unlisted;
}

std::string WatchFolderOf(const std::string& listed)
{
    if (listed.size() == 3 && listed[1] == ':' && listed[2] == '\\') return listed;
    if (!listed.empty() && listed.back() == '\\') return listed.substr(0, listed.size() - 1);
    return listed;
}
