// The rules of the list's file operations that need no system: which paths may go to the
// shell's delete, the list the shell is given, where the selection goes after a deletion, and
// when the watched folder's changes are shown.
#pragma once
#include <string>

// The longest path the shell's delete is handed; a longer one could have been cut by whoever
// passed it on, and a cut path can name another file.
constexpr size_t DeletablePathMax = 259;

// True when the path may be handed to the shell's delete as it stands: not empty, shorter than
// the system's path limit (counted as the system counts, in UTF-16 units), and without "*" or
// "?", which the shell would take as wildcards (a name listed with "?" in place of characters
// outside the code page would take its neighbours with it).
bool DeletablePath(const std::string& path);
// The message for a file that is not handed to the shell's delete: its name is not deletable
// as it stands, or no file answers to it.
std::string DeleteRefusalText(const std::string& path, bool deletable);
// The shell's list of files to delete: the one path, a zero byte, and the closing zero byte.
std::string ShellFileList(const std::string& path);
// The line to select after the selected line idx was removed, countAfter lines remaining:
// the line that took its place, or the one before it when it was the last but one; -1 for none.
int SelectionAfterDelete(int idx, int countAfter);

// Changes in the watched folder come one report a file: a sample pack copied in makes a
// thousand. They are shown together, in one rebuild, once the folder has been quiet for
// RereadQuietMs, and during a long copy at the latest RereadLatestMs after the first change
// not yet shown. Times are the system's millisecond tick, which wraps.
constexpr unsigned RereadQuietMs = 300;
constexpr unsigned RereadLatestMs = 10000;
bool RereadDue(unsigned now, unsigned firstChange, unsigned lastChange);
