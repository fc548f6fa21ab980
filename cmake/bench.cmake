# The benchmark (./dev bench): not part of the tests.
add_executable(baseline_window WIN32 bench/baseline_window.cpp)
target_link_options(baseline_window PRIVATE -municode)
add_executable(benchmark bench/benchmark.cpp)
target_link_libraries(benchmark PRIVATE driver verondel_win32 psapi)
add_dependencies(benchmark Verondel baseline_window)
