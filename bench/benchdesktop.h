#pragma once

// A benchmark run again on a private desktop (tests/a11y/atspisession.h), with these arguments. With a screen reader,
// the accessibility bus is on and a stand-in for the reader asks for every event and reads the name and role of
// each event's source. Returns the program's exit status; what it prints goes to this program's output.

#include <QStringList>

int runOnDesktop(const QString &program, const QStringList &arguments, bool withScreenReader);
