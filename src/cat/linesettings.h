#pragma once

// The line settings text of a serial port, "9600,n,8,2": speed, parity letter, data bits, stop bits.

#include <QString>

#include <chrono>
#include <optional>

struct LineSettings
{
    enum class StopBits { One, OneAndHalf, Two };

    int baud = 0;
    char parity = 'n'; // n, e, o, m, s
    int dataBits = 8; // 5 to 8
    StopBits stopBits = StopBits::One;

    static std::optional<LineSettings> parse(const QString &text);

    // How long one byte takes on the line: start bit, data bits, parity bit, stop bits (1.5 counted as 2).
    std::chrono::nanoseconds byteTime() const;
};
