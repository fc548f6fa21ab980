#include "system_text.h"

std::wstring SystemReason(DWORD error, const std::wstring& subject) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring reason = length ? std::wstring(text, length) : L"错误 " + std::to_wstring(error);
    LocalFree(text);
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' '))
        reason.pop_back();
    // Searched from after each replacement: the subject may hold "%1" itself.
    for (size_t at = reason.find(L"%1"); at != std::wstring::npos; at = reason.find(L"%1", at + subject.size()))
        reason.replace(at, 2, subject);
    return reason;
}

std::wstring WideFromBytes(const char* bytes, size_t size, UINT codePage) {
    if (size == 0) return {};
    const int length = MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(size), nullptr, 0);
    std::wstring text(length, L'\0');
    MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(size), text.data(), length);
    return text;
}
