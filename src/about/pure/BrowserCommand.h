// The browser command that the web-page association names, made ready to launch: its
// argument placeholders taken out and split into the program and its own parameters.
#pragma once
#include <string>

// Takes every "%" out together with the character after it (the "%1" of an association). A
// placeholder standing alone in double quotes, as in "%1", goes with its quotes: left behind,
// they would pass an empty argument before the address.
std::string StripPlaceholders(const std::string& command);

struct TBrowserCommand {
    std::string Program;           // upper-cased, without its opening quote
    std::string Parameters;        // what followed the program, trimmed, opening quotes removed
};
// Splits an upper-cased copy of the command after its last ".EXE", ".BAT" or ".COM". A command
// with none of them is all program.
TBrowserCommand SplitBrowserCommand(const std::string& command);
