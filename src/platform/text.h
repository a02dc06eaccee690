#pragma once
// String helpers with the forgiving edges that the program's parsing relies on: slicing past
// either end yields what exists, never an exception; numbers are read from the leading digits.
// Text inside the program is Latin-1 bytes; qt_text.h is where it meets Qt.

#include <string>
#include <string_view>
#include <vector>

namespace platform {

std::string Mid(std::string_view s, int start, int count = -1);
std::string Left(std::string_view s, int count);
std::string Right(std::string_view s, int count);
// Position of `what` at or after `start`, or -1.
int Find(std::string_view s, std::string_view what, int start = 0);
int Find(std::string_view s, char what, int start = 0);
int ReverseFind(std::string_view s, char what);
bool Contains(std::string_view s, std::string_view what);
bool StartsWith(std::string_view s, std::string_view prefix);
bool EndsWith(std::string_view s, std::string_view suffix);

std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);
std::string Trim(std::string_view s);
// Every occurrence of `from` replaced by `to`; returns the new text.
std::string ReplaceAll(std::string_view s, std::string_view from, std::string_view to);
// Removes every occurrence of the character; returns the new text.
std::string Remove(std::string_view s, char c);
std::string ToUpper(std::string_view s);
std::string ToLower(std::string_view s);
std::vector<std::string> Split(std::string_view s, char separator);

// Numbers on the wire, in files and in logs are read and written in C's notation (decimal
// point, no grouping) whatever locale the desktop or Qt set for the process: QApplication takes
// it from LANG, and under it_IT C's own strtod would read "94.253" as 94.

// C's atoi/atof: leading white space, then the longest number; 0 when there is none.
int Atoi(std::string_view s);
long long Atoll(std::string_view s);
double Atof(std::string_view s);
// C's strtod: `*end`, when given, is set past the number read.
double StrToD(const char* text, char** end);

// printf-style formatting into a string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string Latin1ToUtf8(std::string_view latin1);
// Characters outside Latin-1 become '?'.
std::string Utf8ToLatin1(std::string_view utf8);

}  // namespace platform
