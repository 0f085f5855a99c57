// The program carries every text and path as bytes of the process code page: UTF-8 where the
// system honours the program's manifest, the machine's own ANSI code page elsewhere. These
// convert at the few places that need UTF-16: GDI's text functions (their ANSI variants read
// the font's code page, not the process's), and what other programs are given in a set form.
#pragma once
#include <windows.h>
#include <string>

std::wstring WideText(const std::string& s);
std::string NarrowText(const std::wstring& s);
// The machine's own ANSI code page (1252 on a Western system), which programs without such a
// manifest, the companion among them, read their bytes in.
unsigned LegacyCodePage();
// The text in the legacy code page, or false when one of its characters has no place there.
bool LegacyText(const std::string& s, std::string& legacy);
// DrawText for the program's text.
int DrawTextOf(HDC dc, const std::string& text, RECT* r, UINT format);
