#pragma once

// The program's command line: without options it is the panel alone; --rigctld shares the radio over Hamlib's
// network protocol, on the loopback unless an address is given.

#include <QHostAddress>
#include <QString>
#include <QStringList>

#include <optional>

struct CommandLine
{
    static constexpr quint16 kDefaultPort = 4532; // rigctld's own

    struct Listen
    {
        QHostAddress address;
        quint16 port = kDefaultPort;
    };

    bool help = false;
    std::optional<Listen> share;
    QString error; // in French, when the arguments cannot be understood

    // The arguments after the program's name, once Qt has taken its own (-platform, -style...).
    static CommandLine parse(const QStringList &arguments);
    static QString helpText();
};
