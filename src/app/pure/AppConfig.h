// The settings record, its keys and defaults, the command line and the start-folder rule.
#pragma once
#include <functional>
#include <string>
#include <vector>

struct AppSettingsType {
    bool UseMedia = true;
    bool Subdir = true;
    bool Sort = true;
    bool Wallpaper = true;
    bool Streaming = true;
    bool HiRes = false;                // 24-bit, 32-bit and float samples play, converted to 16-bit
    bool Waveform = true;              // the position bar shows the sample's waveform
    bool SmoothStops = true;           // DirectSound sounds ramp down when stopped, up when started mid-way
    bool SwapPanels = false;
    bool LeftCollapsed = false;
    bool RightCollapsed = false;
    std::string Path;                  // the current working directory at start when missing
    bool AllowDeletion = true;
    bool Reread = false;
    bool Snap = true;
    bool DblClick = true;
    std::string Filter = "wav;mid";
    int Colors[3] = {14742776, 13164776, 8421504};
    int WindowX = 272;
    int WindowY = 23;
};

extern AppSettingsType AppSettings;

constexpr const char* SettingsFileName = "Sonidex.ini";
constexpr const char* SettingsSection = "Sonidex settings";
constexpr const char* DefaultFilter = "wav;mid";
constexpr int MaxFilterOverride = 1000;

// What the command line changes for this run.
struct CommandLineResult {
    std::string FilterOverride;        // empty: none
    bool StayOnTop = false;
};

// Applies arguments 1 to the last (args excludes the program's own name) by the switch table:
// each argument upper-cased, compared whole with "/SUBDIR", "/SORT", "/W", "/T", "/M", then as
// a prefix with "/F"; anything else is the start folder.
CommandLineResult ApplyCommandLine(const std::vector<std::string>& args, AppSettingsType& s);

// The start folder: a path naming a file becomes its folder part (up to and including the last
// "\" or ":"); an empty path becomes the program's folder. attributes(path) gives -1 when the
// path cannot be read, else its attribute bits (0x10: a directory).
std::string ResolveStartFolder(const std::string& path, const std::function<long(const std::string&)>& attributes,
                               const std::string& exeFolder);

// The folder part of a path: everything up to and including its last "\" or ":".
std::string ExtractFilePath(const std::string& path);

// "Color#0" ...
std::string ColorKey(int index);
