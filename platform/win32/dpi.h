#pragma once
#include <windows.h>

// DPI functions of newer Windows, looked up at run time so the program
// still starts on Windows 7, where the screen's DPI is the system's.
int DpiOfWindow(HWND window);

// The window rectangle for a client area of width x height at dpi.
SIZE WindowSizeForClient(int width, int height, DWORD style, DWORD exStyle, int dpi);
