#include "ui/win/text.h"

#include <windows.h>

namespace kavlo::ui {

std::wstring Widen(std::string_view text) {
    if (text.empty()) return {};
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::string Narrow(std::wstring_view text) {
    if (text.empty()) return {};
    const int length =
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), narrow.data(), length, nullptr, nullptr);
    return narrow;
}

std::wstring WindowText(void* hwnd) {
    const int length = GetWindowTextLengthW(static_cast<HWND>(hwnd));
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(static_cast<HWND>(hwnd), text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

}  // namespace kavlo::ui

namespace kavlo::ui {

std::string EditText(void* edit) { return Narrow(WindowText(edit)); }

void SetEditText(void* edit, std::string_view text) {
    std::wstring out;
    for (wchar_t c : Widen(text)) {
        if (c == L'\n' && (out.empty() || out.back() != L'\r')) out += L'\r';
        out += c;
    }
    SetWindowTextW(static_cast<HWND>(edit), out.c_str());
}

}  // namespace kavlo::ui
