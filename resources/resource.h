// Resource ids and version numbers shared by verondel.rc and the C++ code.
// Keep this file to plain #defines: windres runs it through the preprocessor
// as well, and its parser understands nothing else.
#pragma once

// Icon group id; the window code loads it with
// LoadIconW(instance, MAKEINTRESOURCEW(IDI_VERONDEL)).
// Explorer shows the icon group with the lowest id as the exe's icon.
#define IDI_VERONDEL 1

#define VERONDEL_VERSION_MAJOR 1
#define VERONDEL_VERSION_MINOR 0
#define VERONDEL_VERSION_PATCH 0
#define VERONDEL_VERSION_BUILD 0
// Shown in the file's properties; keep it in step with the numbers above.
#define VERONDEL_VERSION_TEXT "1.00"
