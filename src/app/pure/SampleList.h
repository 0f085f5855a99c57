// The sample list's own rules: the filter's extension list, which names it lets through and as
// what kind, a line's text, the sorted list's order and merging, and the status of a scan.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
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
bool MatchExtension(std::string_view name, int& kind);
// The text of a line: the name without everything from its last "." on.
std::string DisplayName(const std::string& name);

// The status line after a scan: "Found 1 WAV file" and a carriage return, "Found 3 MIDI files",
// "No WAV file in this directory..." or "Search canceled..".
std::string ScanStatusText(int wavCount, int midiCount, bool canceled);

// The files one scan found, without an allocation per file: every name in one block, and per
// file where its name lies, how much of it is the line's text, its folder and its kind.
struct TScanFile {
    uint32_t At;                        // the name's first byte in Names
    uint32_t Length;                    // the name's length
    uint32_t TextLength;                // the line's text: the name without its extension
    uint32_t Folder;                    // in Folders
    int Kind;
};
struct TScanFiles {
    std::vector<std::string> Folders;   // ending in "\"
    std::string Names;
    std::vector<TScanFile> Files;
    void Add(std::string_view name, uint32_t folder, int kind);
    std::string_view Name(const TScanFile& f) const { return {Names.data() + f.At, f.Length}; }
    std::string_view Text(const TScanFile& f) const { return {Names.data() + f.At, f.TextLength}; }
    void Clear();
};

// A line of a sorted list, as indexes of what was added: its text is that of First, the first
// of the equal texts added, and its object that of Last, the last of them.
struct TSortedLine {
    uint32_t First;
    uint32_t Last;
};

// The lines of a sorted list that had count texts added one by one: ordered as AnsiCompareText
// orders them, equal texts making one line. text(i) gives the i-th text. The indexes whose
// objects no line keeps go to dropped, when given.
std::vector<TSortedLine> SortedLines(size_t count, const std::function<std::string_view(size_t)>& text,
                                     std::vector<uint32_t>* dropped = nullptr);

// A line with its record.
struct TSampleLine {
    std::string Text;
    TObject* Record = nullptr;
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
