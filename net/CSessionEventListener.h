#pragma once

#include <string>

// Session events reported by the users of the relay channel to their owner. Implementations may be
// called from any thread and must return at once. The four operations keep their slot order.
class CSessionEventListener {
public:
    virtual void on_message(int number, const std::string& text) = 0;
    virtual void on_event(int code, int value) = 0;
    virtual void on_event5() = 0;
    virtual void on_event11(int value) = 0;

protected:
    ~CSessionEventListener() = default;
};
