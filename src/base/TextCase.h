#pragma once
#include <string>
#include <string_view>

namespace pixmond {

// Names compare in upper case, byte by byte; only ASCII letters fold (names are single-byte Windows-1252 text).
inline char ToUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
inline char ToLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }
std::string ToUpper(std::string_view text);
std::string ToLower(std::string_view text);
bool EqualIgnoringCase(std::string_view a, std::string_view b);
// <0, 0, >0 as strcmp on the upper-case forms.
int CompareIgnoringCase(std::string_view a, std::string_view b);
bool ContainsIgnoringCase(std::string_view text, std::string_view part);
// Windows-1252 bytes as UTF-8, for showing names and descriptions.
std::string Latin1ToUtf8(std::string_view text);
// UTF-8 text as Windows-1252 bytes; false when the text is not UTF-8 or holds a character Windows-1252 lacks.
bool Utf8ToWindows1252(std::string_view utf8, std::string& out);
// Cuts a line end (LF, CRLF or a lone CR) from the end of a line read from a Windows text file.
std::string_view TrimLineEnd(std::string_view line);

}  // namespace pixmond
