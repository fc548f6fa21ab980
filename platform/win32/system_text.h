#pragma once
#include <windows.h>

#include <string>

// The system's own description of a Win32 error code, in the system's
// language, without the trailing line break. Some descriptions name their
// subject as "%1" ("%1 is not a valid application"); subject stands there.
std::wstring SystemReason(DWORD error, const std::wstring& subject = L"");

// Bytes of the system ANSI code page, UTF-8 or UTF-16 LE to text.
std::wstring WideFromBytes(const char* bytes, size_t size, UINT codePage);
