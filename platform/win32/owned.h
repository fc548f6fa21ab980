#pragma once
#include <windows.h>

#include <utility>

// Owns one Windows handle and closes it with Close when it goes: file and
// find handles, GDI objects, memory device contexts. Move-only, so a handle
// is closed exactly once, on every path out of a function.
template <class Handle, auto Close>
class Owned {
public:
    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    Owned& operator=(Owned&& other) noexcept {
        Reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned() { Reset(); }

    Handle Get() const { return handle_; }
    // File functions report failure as INVALID_HANDLE_VALUE, the others as null.
    explicit operator bool() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }

    void Reset(Handle handle = nullptr) {
        if (*this) Close(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

using OwnedFile = Owned<HANDLE, &CloseHandle>;  // also threads and processes
using OwnedFind = Owned<HANDLE, &FindClose>;
using OwnedFont = Owned<HFONT, &DeleteObject>;
using OwnedBrush = Owned<HBRUSH, &DeleteObject>;
using OwnedMemoryDc = Owned<HDC, &DeleteDC>;
