# Native build: the portable logic and its unit tests, driven with fakes.

# The settings reader's fuzz target, alone in a build of its own made with
# clang (tests/fuzz/run-fuzz.sh makes it).
option(VERONDEL_FUZZ "Build only the settings reader's fuzz target (needs clang)" OFF)
if(VERONDEL_FUZZ)
    add_executable(settings_fuzz tests/fuzz/settings_fuzz.cpp startup/settings_reader.cpp ${NAMES_SOURCES})
    target_include_directories(settings_fuzz PRIVATE startup platform names tests/native)
    target_compile_options(settings_fuzz PRIVATE -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
    target_link_options(settings_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
    return()
endif()

find_package(GTest REQUIRED)

set(LOGIC_TEST_SOURCES
    tests/native/list_items_test.cpp
    tests/native/settings_reader_test.cpp
    tests/native/form_load_test.cpp
    tests/native/handlers_test.cpp
    tests/native/names_test.cpp
    tests/native/long_names_test.cpp
    tests/native/form_colours_test.cpp)

add_executable(logic_tests ${LOGIC_TEST_SOURCES})
target_link_libraries(logic_tests PRIVATE verondel_window verondel_names GTest::gtest_main)
target_include_directories(logic_tests PRIVATE tests/native)
add_test(NAME logic_tests COMMAND logic_tests)

# The same tests once more under AddressSanitizer and UndefinedBehaviorSanitizer.
set(SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
# The program's sources are compiled again, instrumented.
add_executable(logic_tests_sanitized ${LOGIC_TEST_SOURCES} ${NAMES_SOURCES} ${STARTUP_SOURCES} ${WINDOW_SOURCES})
target_link_libraries(logic_tests_sanitized PRIVATE GTest::gtest_main)
target_include_directories(logic_tests_sanitized PRIVATE tests/native window startup platform names)
target_compile_options(logic_tests_sanitized PRIVATE ${SANITIZE})
target_link_options(logic_tests_sanitized PRIVATE ${SANITIZE})
add_test(NAME logic_tests_sanitized COMMAND logic_tests_sanitized)

# Sixty seconds of fuzzing the settings reader from the seed corpus.
add_test(NAME settings_fuzz COMMAND ${CMAKE_SOURCE_DIR}/tests/fuzz/run-fuzz.sh ${CMAKE_BINARY_DIR}/fuzz 60)
set_tests_properties(settings_fuzz PROPERTIES TIMEOUT 600)
