#include "rigctlserver.h"

#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <algorithm>

struct RigctlServer::Client
{
    QPointer<QTcpSocket> socket;
    QByteArray received; // not read yet: whole lines, then perhaps the start of one
    QList<rigctl::Request> pending; // the commands of the lines read, not answered yet
    bool serving = false; // serve() is on the stack for this client
    bool setOnRoad = false; // a set waits on the road or is being sent: the commands after it wait for its answer
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
    m_serveTimer.setSingleShot(true);
    connect(&m_serveTimer, &QTimer::timeout, this, &RigctlServer::serveWaiting);
    m_admitTimer.setSingleShot(true);
    connect(&m_admitTimer, &QTimer::timeout, this, &RigctlServer::admit);
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
    while (QTcpSocket *socket = m_server->nextPendingConnection())
        m_waiting.push_back({socket, std::chrono::steady_clock::now() + kAdmissionWait});
    admit();
}

void RigctlServer::admit()
{
    const auto now = std::chrono::steady_clock::now();
    while (!m_waiting.empty() && (clientCount() < kMaxClients || m_waiting.front().until <= now)) {
        QTcpSocket *socket = m_waiting.front().socket;
        m_waiting.pop_front();
        if (!socket)
            continue;
        if (clientCount() >= kMaxClients || socket->state() != QAbstractSocket::ConnectedState) {
            socket->abort(); // waited long enough, or left while waiting
            socket->deleteLater();
            continue;
        }
        auto client = std::make_shared<Client>();
        client->socket = socket;
        Client *c = client.get();
        m_clients.push_back(std::move(client));
        connect(socket, &QTcpSocket::readyRead, this, [this, c] { receive(*c); });
        connect(socket, &QTcpSocket::disconnected, this, [this, c] { drop(*c); });
        connect(socket, &QTcpSocket::errorOccurred, this, [this, c] { drop(*c); });
        if (socket->bytesAvailable() > 0) // what it sent while it waited
            receive(*c);
    }
    if (!m_waiting.empty()) {
        const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(m_waiting.front().until - now);
        m_admitTimer.start(std::max<qint64>(0, wait.count()));
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
        m_serveTimer.start(0);
}

void RigctlServer::serve(const ClientPtr &client)
{
    // A set sent at once lets the event loop run meanwhile: more of this client's lines wait for this loop.
    if (client->serving)
        return;
    client->serving = true;
    ++m_busy;
    while (!client->gone && !client->setOnRoad) {
        if (client->pending.isEmpty()) {
            const qsizetype end = client->received.indexOf('\n');
            if (end < 0)
                break;
            client->pending = rigctl::parseLine(QString::fromLatin1(client->received.left(end)));
            client->received.remove(0, end + 1);
            continue;
        }
        const rigctl::Request request = client->pending.takeFirst();
        if (!rigctl::sends(request, m_rig)) {
            if (!deliver(*client, rigctl::answer(request, m_rig)))
                break;
            continue;
        }
        // A set takes its turn on the road and is answered once sent; the client's later commands wait for it. It
        // goes out even if its client leaves meanwhile: it was asked for.
        client->setOnRoad = true;
        m_rig.queueSet([server = QPointer(this), client, request] {
            if (!server)
                return;
            const rigctl::Reply reply = rigctl::answer(request, server->m_rig);
            client->setOnRoad = false;
            if (server->deliver(*client, reply) && (!client->pending.isEmpty() || client->received.contains('\n')))
                server->m_serveTimer.start(0);
        });
    }
    client->serving = false;
    --m_busy;
    forget();
}

bool RigctlServer::deliver(Client &client, const rigctl::Reply &reply)
{
    if (client.gone || !client.socket)
        return false; // left while its set was being sent: the command went out whole, the answer has nowhere to go
    client.socket->write(reply.text);
    if (client.socket->bytesToWrite() > kMaxUnread) {
        drop(client); // not reading its answers
        return false;
    }
    if (reply.close) {
        client.gone = true;
        client.socket->disconnectFromHost();
        if (!m_waiting.empty())
            m_admitTimer.start(0); // a place is free
        return false;
    }
    return true;
}

void RigctlServer::serveWaiting()
{
    // Serving one client may let the event loop close another: walk a copy.
    ++m_busy;
    std::vector<ClientPtr> waiting;
    for (const auto &client : m_clients) {
        if (!client->gone && (!client->pending.isEmpty() || client->received.contains('\n')))
            waiting.push_back(client);
    }
    for (const ClientPtr &client : waiting)
        serve(client);
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
    if (!m_waiting.empty())
        m_admitTimer.start(0); // a place is free
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
