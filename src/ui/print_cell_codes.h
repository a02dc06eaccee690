#pragma once
// The colour codes a printed list carries in its cell texts: "{B1}" to "{B3}" give a cell's
// background, "{T1}" and "{T2}" its text colour. "{B4}".."{B24}" and "{T3}".."{T10}" colour
// nothing and are only removed.

#include <string>
#include <string_view>

#include "platform/win_types.h"

namespace ui {

// Colours as on Windows (0x00BBGGRR).
constexpr COLORREF kPrintYellow = 0x00FFFF;
constexpr COLORREF kPrintRed = 0x0000FF;
constexpr COLORREF kPrintGreen = 0x00FF00;
constexpr COLORREF kPrintBlue = 0xFF0000;
constexpr COLORREF kPrintBlack = 0x000000;
constexpr COLORREF kPrintWhite = 0xFFFFFF;

struct PrintedCell {
    std::string text;  // without codes
    COLORREF textColor = kPrintBlack;
    COLORREF bkColor = kPrintWhite;
};

// The codes for a cell of these colours: one background code and one text code at most, the
// background first; empty for colours that have no code.
std::string CellColorCodes(COLORREF bkColor, COLORREF textColor);
// The text without any of the codes.
std::string StripCellCodes(std::string_view text);
// The colours the codes in the text ask for (a later code of one kind wins) and the bare text.
PrintedCell DecodeCell(std::string_view text);

}  // namespace ui
