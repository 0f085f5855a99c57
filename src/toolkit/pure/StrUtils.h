// Text helpers shared by the settings reader, the list and the file operations.
#pragma once
#include <string>
#include <string_view>

// The settings file's number rule: optional blanks and sign, then decimal digits, or "$" or
// "0x"/"0X" and at least one hexadecimal digit; anything else (or out of the 32-bit range)
// fails.
bool TryStrToInt(const std::string& text, int& value);
int StrToIntDef(const std::string& text, int def);

std::string UpperCase(std::string s);        // ASCII letters only, as the program compares paths
// Equal as the file system compares names: character by character, letters without regard to
// case (ASCII, and in UTF-8 also the Latin, Greek and Cyrillic letters whose two cases have two
// bytes each). Bytes that are no UTF-8 (a text of a legacy code page) compare one by one, with
// ASCII letters folded.
bool SamePath(const std::string& a, const std::string& b);

// Texts and paths are bytes of the process code page, which is UTF-8 where the program's
// manifest is honoured. These read them as UTF-8 where they are valid UTF-8, and as one byte a
// character otherwise (a legacy code page's text then keeps today's byte rules).
bool ValidUtf8(const std::string& s);
// The length in UTF-16 units, as the system counts its path limit.
size_t Utf16Length(const std::string& s);
// The first character boundary at or after pos: a cut there never splits a character.
size_t CharBoundary(const std::string& s, size_t pos);
std::string IntToStr(int v);
// Locale-aware comparison ignoring case (the user locale's collation on Windows; defined per
// platform: the Windows build uses CompareStringA, the native tests a plain ASCII fold).
int AnsiCompareText(const std::string& a, const std::string& b);
// A key whose bytes, compared as unsigned, order texts as AnsiCompareText does (equal keys for
// texts it finds equal): computed once per text, it makes sorting many texts cheap. Defined per
// platform like AnsiCompareText.
std::string AnsiSortKey(const std::string& s);
// Appends the text's AnsiSortKey to keys: many keys in one block, no allocation per text.
void AppendSortKey(std::string& keys, std::string_view s);
