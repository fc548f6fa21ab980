#pragma once
#include <string>

#include "runtime.h"

// The last step of both buttons, once the checks before it have passed.
// On Windows, and for what Wine has a Windows program for, it is the shell
// and Explorer. Under Wine, what has none goes to the Linux desktop behind
// it, which opens it in its own programs; failing that, as on Windows.

// Opens file with its associated program. Under Wine, a type no program is
// associated with goes to the desktop before the "Open with" choice.
Result OpenFile(RunTime& runTime, const std::wstring& file);

// Shows folder in the file manager: under Wine the desktop's, else Explorer.
Result ShowFolder(RunTime& runTime, const std::wstring& folder);
