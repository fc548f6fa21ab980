#pragma once
#include <windows.h>

#include "form1.h"

// WM_DEVICECHANGE as the program's logic hears of it: Windows asks before it
// removes the drive (once for each watched folder), says how that ended,
// and tells of drives that arrive. Returns what the window answers: TRUE,
// the drive may go.
LRESULT RouteDeviceChange(Form1& form, WPARAM event, LPARAM data);
