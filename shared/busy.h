#pragma once

#include <functional>

namespace perumina {

// What a screen shows while the program waits on a lock or the share: the windowed programs install
// a busy pointer here at start; without them (tests, the set-up) waiting shows nothing.
void setBusyIndicator(std::function<void()> begin, std::function<void()> end);

// One wait: the first waiting() shows the sign, the end of the scope takes it away again, so a lock
// taken at once never makes the pointer flicker.
class BusyWait
{
public:
    BusyWait() = default;
    ~BusyWait();
    BusyWait(const BusyWait &) = delete;
    BusyWait &operator=(const BusyWait &) = delete;

    void waiting();

private:
    bool shown_ = false;
};

} // namespace perumina
