#pragma once
// What the window tests and window_probe.dll, loaded into Verondel.exe by a
// window hook, agree on. The tests send kProbeMessage to a control of the
// program; the probe, running in the program's thread, writes the control's
// font into the shared memory named kProbeMemory. kProbeSysColor (wParam a
// COLOR_ index, lParam a COLORREF) sets a system colour as the program's
// process sees it; Wine keeps them per process.
inline constexpr wchar_t kProbeMessage[] = L"VerondelTestProbeFont";
inline constexpr wchar_t kProbeMemory[] = L"VerondelTestProbeFontMemory";
inline constexpr wchar_t kProbeSysColor[] = L"VerondelTestProbeSysColor";
inline constexpr char kProbeHook[] = "ProbeHook";
