#include "app/pure/FileOps.h"
#include "toolkit/pure/StrUtils.h"

bool DeletablePath(const std::string& path)
{
    return !path.empty() && Utf16Length(path) <= DeletablePathMax &&
           path.find_first_of("*?") == std::string::npos && path.find('\0') == std::string::npos;
}

std::string DeleteRefusalText(const std::string& path, bool deletable)
{
    const char* why = deletable ? "No file can be found under this name:\r"
                                : "This file's name cannot be passed to the shell:\r";
    return why + path + "\r\rThe file was not deleted.";
}

std::string ShellFileList(const std::string& path) { return path + std::string(2, '\0'); }

int SelectionAfterDelete(int idx, int countAfter)
{
    const int pick = idx < countAfter - 1 ? idx : idx - 1;
    return pick < 0 ? -1 : pick;
}

bool RereadDue(unsigned now, unsigned firstChange, unsigned lastChange)
{
    return now - lastChange >= RereadQuietMs || now - firstChange >= RereadLatestMs;
}
