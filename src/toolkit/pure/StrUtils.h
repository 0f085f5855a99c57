// Text helpers shared by the settings reader, the list and the file operations.
#pragma once
#include <string>

// The settings file's number rule: optional blanks and sign, then decimal digits, or "$" or
// "0x"/"0X" and at least one hexadecimal digit; anything else (or out of the 32-bit range)
// fails.
bool TryStrToInt(const std::string& text, int& value);
int StrToIntDef(const std::string& text, int def);

std::string UpperCase(std::string s);        // ASCII letters only, as the program compares paths
// Equal when upper-cased that way, without making the upper-cased copies.
bool SamePath(const std::string& a, const std::string& b);
std::string IntToStr(int v);
// Locale-aware comparison ignoring case (the user locale's collation on Windows; defined per
// platform: the Windows build uses CompareStringA, the native tests a plain ASCII fold).
int AnsiCompareText(const std::string& a, const std::string& b);
// A key whose bytes, compared as unsigned, order texts as AnsiCompareText does (equal keys for
// texts it finds equal): computed once per text, it makes sorting many texts cheap. Defined per
// platform like AnsiCompareText.
std::string AnsiSortKey(const std::string& s);
