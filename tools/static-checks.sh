#!/usr/bin/env bash
# clang-tidy (checks in .clang-tidy) and cppcheck over the program's own
# code: the portable logic as the native build compiles it, the Win32 code
# as the MinGW build does. Any finding fails.
#   tools/static-checks.sh NATIVE_BUILD_DIR WINDOWS_BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
native=$1 windows=$2

portable=(names/*.cpp startup/*.cpp window/*.cpp)
win32=(platform/win32/*.cpp window/win32/*.cpp)

# clang reads the MinGW build's commands but must be told where that
# compiler keeps its C++ headers.
mingw_args=(--extra-arg=--target=i686-w64-mingw32 --extra-arg=-Wno-unknown-warning-option)
while read -r dir; do
    mingw_args+=("--extra-arg=-isystem$dir")
done < <(i686-w64-mingw32-g++-posix -xc++ -E -v /dev/null 2>&1 |
         sed -n '/#include <...> search starts here/,/End of search list/p' | grep '^ ' | sed 's/^ //')

echo "clang-tidy: portable code"
clang-tidy -p "$native" --quiet "${portable[@]}" 2>/dev/null
echo "clang-tidy: Win32 code"
clang-tidy -p "$windows" --quiet "${mingw_args[@]}" "${win32[@]}" 2>/dev/null

echo "cppcheck"
cppcheck --quiet --error-exitcode=1 --std=c++20 --language=c++ --inline-suppr \
         --enable=warning,performance,portability --suppress=missingIncludeSystem \
         -I platform -I platform/win32 -I names -I startup -I window -I window/win32 -I resources \
         -D_WIN32 -DUNICODE platform names startup window
echo "static checks: clean"
