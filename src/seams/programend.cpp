#include "programend.h"

#include <cstdio>
#include <cstdlib>

namespace ui {

namespace {
ProgramEndHandler &handler()
{
    static ProgramEndHandler h;
    return h;
}
} // namespace

void endProgram(int exitCode)
{
    if (handler()) {
        handler()(exitCode);
        return;
    }
    // The call comes from inside nested event handling; unwinding back to main() is not possible, and running
    // static destructors while the application object still lives would be unsafe.
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

ProgramEndHandler setProgramEndHandler(ProgramEndHandler h)
{
    ProgramEndHandler previous = std::move(handler());
    handler() = std::move(h);
    return previous;
}

} // namespace ui
