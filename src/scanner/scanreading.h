#pragma once

// What the range scanner heard at one step: the range it sweeps, the step it stood on, and the poll's reading
// there. Those who draw the band's activity take it from the scanner, so that looking costs the radio nothing.

#include "fixeddecimal.h"

namespace scanner {

struct ScanReading
{
    FixedDecimal start, end, step; // the range being swept, kHz
    FixedDecimal at; // the step the radio stood on, kHz
    FixedDecimal threshold; // S units; 0 is busy-state detection ("Buzy")
    double level = 0; // S units, as SignalLevel: 0 to 15.5
    bool found = false; // what the scanner records: busy there with "Buzy", else the threshold reached
};

} // namespace scanner
