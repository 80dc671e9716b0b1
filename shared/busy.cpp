#include "shared/busy.h"

#include <utility>

namespace perumina {

namespace {
std::function<void()> &beginHook()
{
    static std::function<void()> hook;
    return hook;
}
std::function<void()> &endHook()
{
    static std::function<void()> hook;
    return hook;
}
} // namespace

void setBusyIndicator(std::function<void()> begin, std::function<void()> end)
{
    beginHook() = std::move(begin);
    endHook() = std::move(end);
}

void BusyWait::waiting()
{
    if (shown_)
        return;
    shown_ = true;
    if (beginHook())
        beginHook()();
}

BusyWait::~BusyWait()
{
    if (shown_ && endHook())
        endHook()();
}

} // namespace perumina
