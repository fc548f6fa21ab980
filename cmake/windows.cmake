# Windows build: one static 32-bit Verondel.exe, and the Windows-side tests
# that run under Wine.
enable_language(RC)

set(VERONDEL_WIN32_SOURCES
    platform/win32/dpi.cpp
    platform/win32/file_list_box.cpp
    platform/win32/folder_entries.cpp
    platform/win32/folder_list_box.cpp
    platform/win32/folder_scan.cpp
    platform/win32/folder_watch_win32.cpp
    platform/win32/hardening.cpp
    platform/win32/list_box.cpp
    platform/win32/paths.cpp
    platform/win32/runtime_win32.cpp
    platform/win32/system_collation.cpp
    platform/win32/system_dll.cpp
    platform/win32/system_icons.cpp
    platform/win32/system_text.cpp)

# Small, static, reproducible: no DLL beyond Windows' own, no timestamp.
# ASLR, DEP and stack canaries on; aware of Remote Desktop hosts, so Windows
# gives the program the real Windows folder.
add_compile_options(-ffunction-sections -fdata-sections -fstack-protector-strong -DUNICODE -D_UNICODE
                    -DWIN32_LEAN_AND_MEAN -D_WIN32_WINNT=0x0601 -DNOMINMAX)
add_link_options(-static -fstack-protector-strong -Wl,--gc-sections -Wl,--no-insert-timestamp
                 -Wl,--dynamicbase,--nxcompat,--tsaware)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    # Up to 4 GB of address space on 64-bit Windows instead of 2.
    add_link_options(-Wl,--large-address-aware)
endif()

# The platform on Win32: it implements the interfaces and knows nothing of
# the program's logic.
add_library(verondel_win32 STATIC ${VERONDEL_WIN32_SOURCES})
target_include_directories(verondel_win32 PUBLIC platform/win32)
target_link_libraries(verondel_win32 PUBLIC verondel_platform PRIVATE verondel_names comctl32)

# The version record and the manifest carry the project's version; the
# manifest also names the architecture, which must match the exe's.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(VERONDEL_MANIFEST_ARCH amd64)
else()
    set(VERONDEL_MANIFEST_ARCH x86)
endif()
configure_file(resources/version.h.in resources/version.h @ONLY)
configure_file(resources/verondel.manifest.in resources/verondel.manifest @ONLY)

# The window host: Form1 on the Win32 platform.
add_executable(Verondel WIN32 window/win32/main.cpp window/win32/form1_window.cpp window/win32/device_change.cpp
                        window/win32/form_frame.cpp window/win32/form_brushes.cpp window/win32/name_tip.cpp
                        resources/verondel.rc)
target_include_directories(Verondel PRIVATE window/win32 resources ${CMAKE_BINARY_DIR}/resources)
target_link_libraries(Verondel PRIVATE verondel_window verondel_win32 comctl32)
target_link_options(Verondel PRIVATE -municode $<$<CONFIG:Release,MinSizeRel>:-s>)
# Run from the page file when started from a USB stick (see the script).
add_custom_command(TARGET Verondel POST_BUILD
                   COMMAND python3 ${CMAKE_SOURCE_DIR}/tools/run_from_swap.py $<TARGET_FILE:Verondel> VERBATIM)

include(cmake/windows_tests.cmake)
include(cmake/bench.cmake)
