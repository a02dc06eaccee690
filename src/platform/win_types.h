#pragma once
// The handful of Windows names that callers compare with: dialog results, message-box types,
// error codes and colour values keep their Windows numbers.

#include <cstdint>

using BOOL = int;
using BYTE = std::uint8_t;
using COLORREF = std::uint32_t;  // 0x00BBGGRR: blue in the high byte, as on Windows

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GetGValue(COLORREF c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int GetBValue(COLORREF c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

// Dialog and message-box results.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Message-box types: buttons in the low nibble, icon in the next one, the default button in
// the one after.
constexpr unsigned MB_OK = 0x00;
constexpr unsigned MB_OKCANCEL = 0x01;
constexpr unsigned MB_YESNOCANCEL = 0x03;
constexpr unsigned MB_YESNO = 0x04;
constexpr unsigned MB_ICONSTOP = 0x10;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONEXCLAMATION = 0x30;
constexpr unsigned MB_ICONINFORMATION = 0x40;
constexpr unsigned MB_DEFBUTTON2 = 0x100;

// Error codes of the serial classes.
constexpr int ERROR_SUCCESS = 0;
constexpr int ERROR_INVALID_HANDLE = 6;
constexpr int ERROR_ALREADY_INITIALIZED = 1247;
constexpr int ERROR_TIMEOUT = 1460;
constexpr int E_INVALIDARG = static_cast<int>(0x80070057);
