// Resource ids shared by verondel.rc and the C++ code.
// Keep this file to plain #defines: windres runs it through the preprocessor
// as well, and its parser understands nothing else.
#pragma once

// Icon group id; the window code loads it with
// LoadIconW(instance, MAKEINTRESOURCEW(IDI_VERONDEL)).
// Explorer shows the icon group with the lowest id as the exe's icon.
#define IDI_VERONDEL 1
