#include "commandline.h"

namespace {

std::optional<quint16> portNumber(const QString &text)
{
    bool ok = false;
    const uint port = text.toUInt(&ok);
    if (!ok || port < 1 || port > 65535)
        return std::nullopt;
    return quint16(port);
}

// "PORT", "ADDRESS:PORT" or "[IPv6]:PORT".
std::optional<CommandLine::Listen> listenValue(const QString &value)
{
    CommandLine::Listen listen {QHostAddress(QHostAddress::LocalHost)};
    QString port = value;
    if (value.startsWith(u'[')) {
        const qsizetype close = value.indexOf(QStringLiteral("]:"));
        if (close < 0 || !listen.address.setAddress(value.mid(1, close - 1)))
            return std::nullopt;
        port = value.mid(close + 2);
    } else if (value.contains(u':')) {
        const QString host = value.section(u':', 0, -2);
        if (host == u"localhost")
            listen.address = QHostAddress(QHostAddress::LocalHost);
        else if (!listen.address.setAddress(host) || host.contains(u':'))
            return std::nullopt;
        port = value.section(u':', -1);
    }
    const auto number = portNumber(port);
    if (!number)
        return std::nullopt;
    listen.port = *number;
    return listen;
}

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments)
{
    CommandLine line;
    for (const QString &argument : arguments) {
        if (argument == u"-h" || argument == u"--help") {
            line.help = true;
        } else if (argument == u"--rigctld") {
            line.share = Listen {QHostAddress(QHostAddress::LocalHost), kDefaultPort};
        } else if (argument.startsWith(QStringLiteral("--rigctld="))) {
            line.share = listenValue(argument.mid(10));
            if (!line.share) {
                line.error = QStringLiteral("orvane : adresse de partage illisible « %1 » "
                                            "(attendu : PORT, ADRESSE:PORT ou [ADRESSE IPv6]:PORT)")
                                 .arg(argument.mid(10));
                return line;
            }
        } else {
            line.error
                = QStringLiteral("orvane : option inconnue « %1 » (orvane --help les donne toutes)").arg(argument);
            return line;
        }
    }
    return line;
}

QString CommandLine::helpText()
{
    return QStringLiteral(
        "Utilisation : orvane [--rigctld[=[ADRESSE:]PORT]]\n"
        "\n"
        "Panneau de commande du transceiver FT-847 par la liaison CAT.\n"
        "\n"
        "Options :\n"
        "  --rigctld[=[ADRESSE:]PORT]  partage la radio avec d'autres programmes (carnets de trafic, modes\n"
        "                              numériques) par le protocole réseau de Hamlib, comme rigctld\n"
        "                              (« NET rigctl », modèle 2) ; sur 127.0.0.1:4532 sans valeur.\n"
        "                              Toute autre adresse que la boucle locale laisse les machines du\n"
        "                              réseau commander la radio, émission comprise.\n"
        "  -h, --help                  affiche cette aide.\n"
        "\n"
        "Les options communes aux programmes Qt (-platform, -style...) restent acceptées.\n");
}
