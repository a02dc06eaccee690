#include "ui/print_cell_codes.h"

#include <optional>

namespace ui {

namespace {

struct Code {
    char kind;  // 'B' or 'T'
    int number;
    size_t length;
};

// A code that starts at `at`: "{", B or T, a number without leading zero in range, "}".
std::optional<Code> CodeAt(std::string_view text, size_t at) {
    if (at + 3 >= text.size() || text[at] != '{')
        return std::nullopt;
    const char kind = text[at + 1];
    const int highest = kind == 'B' ? 24 : kind == 'T' ? 10 : 0;
    size_t end = at + 2;
    int number = 0;
    while (end < text.size() && end - at <= 4 && text[end] >= '0' && text[end] <= '9') {
        number = number * 10 + (text[end] - '0');
        ++end;
    }
    if (end == at + 2 || text[at + 2] == '0' || end >= text.size() || text[end] != '}')
        return std::nullopt;
    if (number < 1 || number > highest)
        return std::nullopt;
    return Code{kind, number, end + 1 - at};
}

}  // namespace

std::string CellColorCodes(COLORREF bkColor, COLORREF textColor) {
    std::string codes;
    switch (bkColor) {
        case kPrintYellow:
            codes += "{B1}";
            break;
        case kPrintRed:
            codes += "{B2}";
            break;
        case kPrintGreen:
            codes += "{B3}";
            break;
        default:
            break;
    }
    if (textColor == kPrintBlue)
        codes += "{T1}";
    else if (textColor == kPrintRed)
        codes += "{T2}";
    return codes;
}

PrintedCell DecodeCell(std::string_view text) {
    PrintedCell cell;
    bool b[4] = {}, t[3] = {};
    for (size_t i = 0; i < text.size();) {
        if (const auto code = CodeAt(text, i)) {
            if (code->kind == 'B' && code->number <= 3)
                b[code->number] = true;
            if (code->kind == 'T' && code->number <= 2)
                t[code->number] = true;
            i += code->length;
            continue;
        }
        cell.text += text[i++];
    }
    // Each code is looked for in turn, so the last of a kind wins.
    if (b[1])
        cell.bkColor = kPrintYellow;
    if (b[2])
        cell.bkColor = kPrintRed;
    if (b[3])
        cell.bkColor = kPrintGreen;
    if (t[1])
        cell.textColor = kPrintBlue;
    if (t[2])
        cell.textColor = kPrintRed;
    return cell;
}

std::string StripCellCodes(std::string_view text) {
    return DecodeCell(text).text;
}

}  // namespace ui
