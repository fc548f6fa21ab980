# Native build: the portable logic and its unit tests, driven with fakes.
find_package(GTest REQUIRED)

add_executable(logic_tests
    tests/native/list_items_test.cpp
    tests/native/settings_reader_test.cpp
    tests/native/form_load_test.cpp
    tests/native/handlers_test.cpp
    tests/native/name_order_test.cpp)
target_link_libraries(logic_tests PRIVATE verondel_logic GTest::gtest_main)
target_include_directories(logic_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/native)
add_test(NAME logic_tests COMMAND logic_tests)

# The settings reader's fuzz target: clang with libFuzzer and sanitizers.
option(VERONDEL_FUZZ "Build the settings reader's fuzz target (needs clang)" OFF)
if(VERONDEL_FUZZ)
    add_executable(settings_fuzz tests/fuzz/settings_fuzz.cpp
        startup/settings_reader.cpp)
    target_include_directories(settings_fuzz PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests/native)
    target_compile_options(settings_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(settings_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
endif()
