#pragma once
#include <cstdint>
#include <string>

// What the user types into a list in quick succession, as Explorer reads it:
// each character extends the text to look for, and a pause of about a
// second starts a new one.
class TypeAhead {
public:
    // The text to look for once key is typed at nowMs; empty for a key that
    // is no part of a name (a control key, or a space to begin with).
    std::wstring Add(wchar_t key, uint64_t nowMs) {
        constexpr uint64_t kPauseMs = 1000;
        if (nowMs - lastKeyMs_ >= kPauseMs) typed_.clear();
        lastKeyMs_ = nowMs;
        if (key < L' ' || (key == L' ' && typed_.empty())) {
            typed_.clear();
            return {};
        }
        return typed_ += key;
    }

private:
    std::wstring typed_;
    uint64_t lastKeyMs_ = 0;
};
