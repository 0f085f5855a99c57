// The program's version as the about box shows it.
#pragma once
#include <string>

// "v" with the major and minor number, and the third number only when it is not 0 ("v1.5",
// "v1.5.2"): the about box's version line has room for little more than four characters.
std::string VersionCaption(int major, int minor, int patch);
