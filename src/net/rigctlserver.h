#pragma once

// The radio shared over Hamlib's network protocol: loggers and digital-mode programs connect as to rigctld (Hamlib's
// "NET rigctl") and reach the FT-847 through the running panel. Off unless the program is started with --rigctld.
//
// Reads answer at once from the panel's state. A set takes the road of a click: it goes out when no command is
// being sent (it waits in its client's queue otherwise) and is answered once sent. Each client's requests are
// answered in their order. Sockets live in the event loop and never block it, and a client that misbehaves (a line
// over 1 KiB, bytes that are not text, a client that stops reading) is closed alone.

#include "rigctlprotocol.h"

#include <QAbstractSocket>
#include <QHostAddress>
#include <QObject>
#include <QTimer>

#include <list>
#include <memory>

class QTcpServer;
class QTcpSocket;

class RigctlServer : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMaxClients = 8;
    static constexpr int kMaxLine = 1024; // bytes, line end included
    static constexpr qint64 kMaxUnread = 64 * 1024; // answers a client has left unread before it is closed

    explicit RigctlServer(rigctl::Rig &rig, QObject *parent = nullptr);
    ~RigctlServer() override;

    bool listen(const QHostAddress &address, quint16 port);
    QAbstractSocket::SocketError serverError() const;
    // Why listening failed, in the operator's words.
    static QString causeInFrench(QAbstractSocket::SocketError error);
    quint16 port() const;
    int clientCount() const;

private:
    struct Client;
    void accept();
    void receive(Client &client);
    void serve(Client &client);
    void drop(Client &client);
    void serveWaiting();
    void forget();

    rigctl::Rig &m_rig;
    QTcpServer *m_server;
    std::list<std::unique_ptr<Client>> m_clients;
    QTimer m_retry; // requests to serve: at once when they arrive, shortly when a set waits for the link
    int m_busy = 0; // serve() calls and walks of the client list on the stack
};
