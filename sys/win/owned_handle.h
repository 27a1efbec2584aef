#pragma once

#include <windows.h>

// A kernel handle closed when it goes. Either "no handle" value (null, INVALID_HANDLE_VALUE) holds none.
class OwnedHandle {
public:
    explicit OwnedHandle(HANDLE h = nullptr) : h(h) {}
    ~OwnedHandle() { close(); }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    HANDLE get() const { return h; }
    HANDLE* out() { return &h; }
    bool valid() const { return h && h != INVALID_HANDLE_VALUE; }
    // False when closing failed (a file's last write can fail there).
    bool close() {
        const HANDLE closing = h;
        const bool held = valid();
        h = nullptr;
        return !held || CloseHandle(closing);
    }

private:
    HANDLE h;
};
