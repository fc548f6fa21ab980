#pragma once
#include <windows.h>

// A function of a Windows DLL, loaded by full path from the system folder
// when first needed, or nullptr. shell32 and ole32 are used this way rather
// than imported: loading them would otherwise cost every start-up, and only
// the file icons and "打开文件" need them.
FARPROC SystemFunction(const wchar_t* dll, const char* name);

template <class Function>
Function SystemFunctionAs(const wchar_t* dll, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(SystemFunction(dll, name)));
}

// The shell may hand work to a COM server, which wants the calling thread in
// a single-threaded apartment: the window's thread joins one before it first
// asks the shell for anything (an icon, "打开文件"). For that thread only;
// done on first use, so that ole32 is not loaded before anything needs it.
void JoinSingleThreadedApartment();
