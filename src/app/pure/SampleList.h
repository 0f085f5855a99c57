// The sample list's own rules: the filter's extension list, which names it lets through and as
// what kind, a line's text, the sorted list's order and merging, and the status of a scan.
#pragma once
#include <string>
#include <vector>

class TObject;

constexpr int MaxExtensions = 32;

// "." followed by one extension of the filter, upper-cased; ExtensionCount entries are valid.
// Rebuilt by ParseFilter, consulted by the scan.
extern std::string ExtensionList[MaxExtensions];
extern int ExtensionCount;

struct TFilterSeen {
    bool Wav = false;                  // ".WAV" is among the extensions
    bool Mid = false;                  // ".MID" is among them
};

// Rebuilds ExtensionList from a filter such as "wav;mid". Entries are taken as typed (a blank
// stays part of its extension), empty entries are skipped, a given dot doubles (".wav" becomes
// "..WAV" and matches nothing), and entries after the 32nd are ignored.
TFilterSeen ParseFilter(const std::string& text);

// The filter text after the settings dialog's "WAV files" or "MIDI files" box is ticked or
// unticked (name "wav" or "mid"): the entries equal to the name, in any letter case, leave; the
// others keep their order, however they are spelt ("xwav" stays); a ticked name joins at the
// end, in lower case.
std::string ToggledFilter(const std::string& text, const std::string& name, bool ticked);

// A line's record kinds.
constexpr int KindOther = -1, KindWAV = 0, KindMIDI = 1;

// From the name's last "." on, with the dot, upper-cased; empty when the name has no dot.
std::string FileExtension(const std::string& name);
// True when the name's extension is in ExtensionList (searched from the last entry down), with
// kind KindWAV for ".WAV", KindMIDI for ".MID", KindOther for any other listed extension.
bool MatchExtension(const std::string& name, int& kind);
// The text of a line: the name without everything from its last "." on.
std::string DisplayName(const std::string& name);

// The status line after a scan: "Found 1 WAV file" and a carriage return, "Found 3 MIDI files",
// "No WAV file in this directory..." or "Search canceled..".
std::string ScanStatusText(int wavCount, int midiCount, bool canceled);

// A line as the scan finds it. Key is filled by the sort: the text's AnsiSortKey (the user
// locale's collation ignoring case, turned into bytes once per line so that sorting a large
// library stays cheap).
struct TSampleLine {
    std::string Text;
    TObject* Record = nullptr;
    std::string Key;
};

// Puts the lines in the order of a sorted list that had them added one by one in scan order:
// ordered as AnsiCompareText orders their texts, and a line whose text equals one already
// present keeps that earlier line's place and text but takes its own record (the file found
// last wins). Lines without a place of their own are dropped; the records no line refers to
// any more are returned.
std::vector<TObject*> SortSampleLines(std::vector<TSampleLine>& lines);

// The folder to watch for a listed folder (which ends in "\"): without its trailing "\",
// except for a drive's root, where "C:" would name the drive's current folder instead.
std::string WatchFolderOf(const std::string& listed);
