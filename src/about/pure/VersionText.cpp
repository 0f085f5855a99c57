#include "about/pure/VersionText.h"

std::string VersionCaption(int major, int minor, int patch)
{
    std::string s = "v" + std::to_string(major) + "." + std::to_string(minor);
    if (patch != 0) s += "." + std::to_string(patch);
    return s;
}
