# Windows-side tests. Each test program runs under Wine through
# tests/wine/run-in-wine.sh, in a fresh copy of a prefix made once per build,
# with the Wine loader that matches this build's architecture. They carry the
# label "wine"; the checks of the shipped exe itself need no Wine and exist
# only in the 32-bit build.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(RUN_IN_WINE ${CMAKE_SOURCE_DIR}/tests/wine/run-in-wine.sh)
set(WINE_TEMPLATE "VERONDEL_WINE_TEMPLATE=${CMAKE_BINARY_DIR}/wine-template"
                  "VERONDEL_WINE_ARCH=${CMAKE_SYSTEM_PROCESSOR}")

# The platform layer on real Win32 (as Wine provides it).
add_executable(platform_tests
    tests/windows/runtime_test.cpp
    tests/windows/lists_test.cpp
    tests/windows/test_drive.cpp)
target_link_libraries(platform_tests PRIVATE verondel_win32 gtest_main)
add_test(NAME platform_tests COMMAND ${RUN_IN_WINE} $<TARGET_FILE:platform_tests>)
set_tests_properties(platform_tests PROPERTIES ENVIRONMENT "${WINE_TEMPLATE}" TIMEOUT 300)

# planted.dll beside platform_tests.exe, as a DLL planted beside the exe on
# the drive: after HardenProcess it must not load by its bare name.
add_library(planted_dll SHARED tests/windows/planted_dll.cpp)
set_target_properties(planted_dll PROPERTIES PREFIX "" OUTPUT_NAME planted)
add_custom_command(TARGET planted_dll POST_BUILD
                   COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:planted_dll> $<TARGET_FILE_DIR:platform_tests>)
add_dependencies(platform_tests planted_dll)


# The real exe, driven from outside with real input.
add_executable(recorder WIN32 tests/windows/recorder.cpp)
target_link_options(recorder PRIVATE -municode)
add_library(driver STATIC tests/windows/driver.cpp tests/windows/test_drive.cpp)
target_link_libraries(driver PUBLIC gtest)
target_include_directories(driver PUBLIC ${CMAKE_SOURCE_DIR}/tests/windows)

set(DRIVER_ENVIRONMENT "${WINE_TEMPLATE}" "VERONDEL_EXE=$<TARGET_FILE:Verondel>"
    "VERONDEL_RECORDER=$<TARGET_FILE:recorder>")

add_executable(end_to_end_tests tests/windows/startup_e2e_test.cpp tests/windows/clicks_e2e_test.cpp)
target_link_libraries(end_to_end_tests PRIVATE driver gtest_main ole32 uuid)
add_dependencies(end_to_end_tests Verondel recorder)
add_test(NAME end_to_end_tests COMMAND ${RUN_IN_WINE} $<TARGET_FILE:end_to_end_tests>)
set_tests_properties(end_to_end_tests PROPERTIES ENVIRONMENT "${DRIVER_ENVIRONMENT}" TIMEOUT 600)
# Again where a Linux desktop's opener stands behind Wine (tests/windows/desktop/xdg-open).
add_test(NAME end_to_end_desktop_tests COMMAND ${RUN_IN_WINE} $<TARGET_FILE:end_to_end_tests> --gtest_filter=*LinuxDesktop*)
set_tests_properties(end_to_end_desktop_tests PROPERTIES TIMEOUT 300 ENVIRONMENT
                     "${DRIVER_ENVIRONMENT};VERONDEL_DESKTOP=${CMAKE_SOURCE_DIR}/tests/windows/desktop")

# Form1 on the screen at two DPIs; screenshots of each run go to screenshots/.
set(WINDOW_ARTIFACTS ${CMAKE_BINARY_DIR}/screenshots)
file(MAKE_DIRECTORY ${WINDOW_ARTIFACTS})
add_executable(window_tests tests/windows/window_test.cpp)
target_link_libraries(window_tests PRIVATE driver gtest_main)
# window_probe.dll, beside window_tests.exe: a window hook loads it into the
# program to read a control's font, which no other process can.
add_library(window_probe SHARED tests/windows/window_probe.cpp)
set_target_properties(window_probe PROPERTIES PREFIX "")
target_link_options(window_probe PRIVATE -Wl,--kill-at)  # exported as "ProbeHook", not "ProbeHook@12", on i686
add_custom_command(TARGET window_probe POST_BUILD
                   COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:window_probe> $<TARGET_FILE_DIR:window_tests>)
add_dependencies(window_tests Verondel window_probe)
foreach(dpi 96 144)
    set(environment ${DRIVER_ENVIRONMENT} "VERONDEL_DPI=${dpi}" "VERONDEL_ARTIFACTS=${WINDOW_ARTIFACTS}")
    add_test(NAME window_at_${dpi}_dpi COMMAND ${RUN_IN_WINE} $<TARGET_FILE:window_tests>)
    set_tests_properties(window_at_${dpi}_dpi PROPERTIES ENVIRONMENT "${environment}" TIMEOUT 300)
endforeach()

# Faults the real exe must survive. E:\huge (100,000 files) is made on the
# Linux side before Wine starts; through Wine it would take minutes.
add_executable(fault_tests tests/windows/faults_e2e_test.cpp)
target_link_libraries(fault_tests PRIVATE driver gtest_main)
add_dependencies(fault_tests Verondel recorder)
set(FAULT_ENVIRONMENT ${DRIVER_ENVIRONMENT}
    "VERONDEL_PREPARE_DRIVE=/usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/windows/make_fault_drive.py")
add_test(NAME fault_tests COMMAND ${RUN_IN_WINE} $<TARGET_FILE:fault_tests>)
set_tests_properties(fault_tests PROPERTIES ENVIRONMENT "${FAULT_ENVIRONMENT}" TIMEOUT 600)

set_tests_properties(platform_tests end_to_end_tests end_to_end_desktop_tests window_at_96_dpi window_at_144_dpi fault_tests
                     PROPERTIES LABELS wine)

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    # What the shipped exe carries: resources, manifest, imports, ASLR and DEP.
    add_test(NAME exe_contents COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/windows/check_exe.py
                                       $<TARGET_FILE:Verondel> ${PROJECT_VERSION} ${VERONDEL_VERSION_TEXT})

    # The release zip: two builds give the same bytes.
    set(make_release "python3 '${CMAKE_SOURCE_DIR}/release/make_release.py' '$<TARGET_FILE:Verondel>' ${VERONDEL_VERSION_TEXT}")
    add_test(NAME release_zip_is_reproducible
             COMMAND sh -c "${make_release} a.zip && ${make_release} b.zip && cmp a.zip b.zip && unzip -l a.zip | grep -q '快速入门.txt'"
             WORKING_DIRECTORY ${CMAKE_BINARY_DIR})

    # ./dev release
    add_custom_target(release
        COMMAND python3 ${CMAKE_SOURCE_DIR}/release/make_release.py $<TARGET_FILE:Verondel> ${VERONDEL_VERSION_TEXT}
                ${CMAKE_SOURCE_DIR}/dist/Verondel-${VERONDEL_VERSION_TEXT}.zip
        DEPENDS Verondel VERBATIM)
endif()
