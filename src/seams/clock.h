#pragma once

// The one place the program reads the date and time, so that a test can fix them.

#include <QDateTime>

#include <functional>

namespace ui {

QDateTime now();
void setClockOverride(std::function<QDateTime()> clock); // empty restores the system clock

} // namespace ui
