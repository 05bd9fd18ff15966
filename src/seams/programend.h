#pragma once

// The program ends from deep inside a serial wait when the radio stops answering. That end goes through here so
// tests can observe it instead of losing their process.

#include <functional>

namespace ui {

// Ends the program at once with the given exit code (files are never left open, so nothing is lost).
void endProgram(int exitCode);

using ProgramEndHandler = std::function<void(int exitCode)>;
ProgramEndHandler setProgramEndHandler(ProgramEndHandler handler);

} // namespace ui
