#include "app/pure/AppConfig.h"
#include "toolkit/pure/StrUtils.h"

AppSettingsType AppSettings;

CommandLineResult ApplyCommandLine(const std::vector<std::string>& args, AppSettingsType& s)
{
    CommandLineResult r;
    for (const std::string& arg : args) {
        std::string a = UpperCase(arg);
        if (a == "/SUBDIR") s.Subdir = true;
        else if (a == "/SORT") s.Sort = true;
        else if (a == "/W") s.Wallpaper = true;
        else if (a == "/T") r.StayOnTop = true;
        else if (a == "/M") s.UseMedia = true;
        else if (a.compare(0, 2, "/F") == 0) {
            // "/F" alone changes nothing; a later "/F..." replaces an earlier one.
            if (a.size() > 2) r.FilterOverride = a.substr(2, MaxFilterOverride);
        } else {
            s.Path = a;
        }
    }
    return r;
}

std::string ExtractFilePath(const std::string& path)
{
    size_t p = path.find_last_of("\\:");
    return p == std::string::npos ? std::string() : path.substr(0, p + 1);
}

std::string ResolveStartFolder(const std::string& path, const std::function<long(const std::string&)>& attributes,
                               const std::string& exeFolder)
{
    std::string p = path;
    long attr = p.empty() ? -1 : attributes(p);
    if (attr != -1 && !(attr & 0x10)) p = ExtractFilePath(p);
    if (p.empty()) p = exeFolder;
    return p;
}

std::string ColorKey(int index) { return "Color#" + std::to_string(index); }
