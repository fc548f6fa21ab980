#pragma once
#include <string>

// The outcome of a run-time service that can fail: on failure, the system's
// reason as text the user can read (for the third line of a message box).
struct Result {
    bool ok = true;
    std::wstring reason;
    bool noProgram = false;  // the system has no program for the file's type

    static Result Success() { return {}; }
    static Result Failure(std::wstring why) { return {false, std::move(why)}; }
    static Result NoProgram(std::wstring why) { return {false, std::move(why), true}; }
};
