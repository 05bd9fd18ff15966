#include "clock.h"

namespace ui {

namespace {
std::function<QDateTime()> &clockOverride()
{
    static std::function<QDateTime()> c;
    return c;
}
} // namespace

QDateTime now()
{
    return clockOverride() ? clockOverride()() : QDateTime::currentDateTime();
}

void setClockOverride(std::function<QDateTime()> clock)
{
    clockOverride() = std::move(clock);
}

} // namespace ui
