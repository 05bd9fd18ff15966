#include "rigctlserver.h"

#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <algorithm>

struct RigctlServer::Client
{
    QPointer<QTcpSocket> socket;
    QByteArray received; // not answered yet: whole lines, then perhaps the start of one
    bool serving = false; // serve() is on the stack for this client
    bool gone = false; // closed: nothing more is read, answered or sent
};

namespace {

// Commands are printable ASCII; line ends and tabs aside, anything else is not this protocol.
bool isText(char c)
{
    return (c >= 0x20 && c < 0x7F) || c == '\n' || c == '\r' || c == '\t';
}

// Whether every line, the unfinished last one included, fits the limit.
bool linesFit(QByteArrayView bytes, int limit)
{
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = bytes.indexOf('\n', start);
        if ((end < 0 ? bytes.size() : end + 1) - start > limit)
            return false;
        if (end < 0)
            return true;
        start = end + 1;
    }
}

} // namespace

RigctlServer::RigctlServer(rigctl::Rig &rig, QObject *parent)
    : QObject(parent)
    , m_rig(rig)
    , m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, &RigctlServer::accept);
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &RigctlServer::serveWaiting);
}

RigctlServer::~RigctlServer()
{
    for (const auto &client : m_clients) {
        if (client->socket) {
            client->socket->disconnect(this);
            client->socket->abort();
        }
    }
}

bool RigctlServer::listen(const QHostAddress &address, quint16 port)
{
    return m_server->listen(address, port);
}

QAbstractSocket::SocketError RigctlServer::serverError() const
{
    return m_server->serverError();
}

QString RigctlServer::causeInFrench(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::AddressInUseError:
        return QStringLiteral("port déjà utilisé");
    case QAbstractSocket::SocketAccessError:
        return QStringLiteral("accès refusé");
    case QAbstractSocket::SocketAddressNotAvailableError:
        return QStringLiteral("adresse absente de cette machine");
    default:
        return QStringLiteral("erreur du réseau");
    }
}

quint16 RigctlServer::port() const
{
    return m_server->serverPort();
}

int RigctlServer::clientCount() const
{
    return int(std::count_if(m_clients.begin(), m_clients.end(), [](const auto &c) { return !c->gone; }));
}

void RigctlServer::accept()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        if (clientCount() >= kMaxClients) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto client = std::make_unique<Client>();
        client->socket = socket;
        Client *c = client.get();
        m_clients.push_back(std::move(client));
        connect(socket, &QTcpSocket::readyRead, this, [this, c] { receive(*c); });
        connect(socket, &QTcpSocket::disconnected, this, [this, c] { drop(*c); });
        connect(socket, &QTcpSocket::errorOccurred, this, [this, c] { drop(*c); });
    }
}

void RigctlServer::receive(Client &client)
{
    if (client.gone || !client.socket)
        return;
    const QByteArray bytes = client.socket->readAll();
    // Only the line left unfinished and the new bytes can be too long: the lines before were checked as they came.
    const qsizetype unfinished = client.received.lastIndexOf('\n') + 1;
    client.received += bytes;
    if (!std::all_of(bytes.begin(), bytes.end(), isText)
        || !linesFit(QByteArrayView(client.received).sliced(unfinished), kMaxLine)) {
        drop(client);
        return;
    }
    // Served from the event loop rather than from inside the socket's signal, where the socket would not notice
    // its client leaving while a set is being sent.
    if (client.received.contains('\n'))
        m_retry.start(0);
}

void RigctlServer::serve(Client &client)
{
    // A set sends and lets the event loop run meanwhile: more of this client's lines wait for this loop.
    if (client.serving)
        return;
    client.serving = true;
    ++m_busy;
    for (;;) {
        const qsizetype end = client.received.indexOf('\n');
        if (end < 0 || client.gone)
            break;
        const auto request = rigctl::parse(QString::fromLatin1(client.received.left(end)));
        // A set goes out only where a click would: not into the middle of another command. It waits, and the
        // client's later requests with it.
        if (request && request->isSet && m_rig.linkOn() && !m_rig.readyForSet()) {
            m_retry.start(1);
            break;
        }
        client.received.remove(0, end + 1);
        if (!request)
            continue;
        const rigctl::Reply reply = rigctl::answer(*request, m_rig);
        if (client.gone || !client.socket)
            break; // left while its set was being sent: the command went out whole, the answer has nowhere to go
        client.socket->write(reply.text);
        if (client.socket->bytesToWrite() > kMaxUnread) {
            drop(client); // not reading its answers
            break;
        }
        if (reply.close) {
            client.gone = true;
            client.socket->disconnectFromHost();
            break;
        }
    }
    client.serving = false;
    --m_busy;
    forget();
}

void RigctlServer::serveWaiting()
{
    // Serving one client may let the event loop close another: walk a copy.
    ++m_busy;
    std::vector<Client *> waiting;
    for (const auto &client : m_clients) {
        if (!client->gone && client->received.contains('\n'))
            waiting.push_back(client.get());
    }
    for (Client *client : waiting) {
        if (!client->gone)
            serve(*client);
    }
    --m_busy;
    forget();
}

void RigctlServer::drop(Client &client)
{
    if (client.gone)
        return;
    client.gone = true;
    if (client.socket) {
        client.socket->abort();
        client.socket->deleteLater();
    }
    forget();
}

void RigctlServer::forget()
{
    // Clients are forgotten only once nothing is walking the list or serving one of them.
    if (m_busy > 0)
        return;
    m_clients.remove_if([this](const auto &client) {
        if (!client->gone)
            return false;
        if (client->socket) {
            client->socket->disconnect(this);
            client->socket->deleteLater();
        }
        return true;
    });
}
