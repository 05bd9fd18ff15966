#pragma once

// The radio shared over Hamlib's network protocol: loggers and digital-mode programs connect as to rigctld (Hamlib's
// "NET rigctl") and reach the FT-847 through the running panel. Off unless the program is started with --rigctld.
//
// Reads answer at once from the panel's state. A set takes the road to the radio as a click does, in its turn (after
// the operator's actions, beside the other clients' sets: each client has one set at a time on the road), and is
// answered once sent. Each client's requests are answered in their order. Sockets live in the event loop and never
// block it, and a client that misbehaves (a line over 1 KiB, bytes that are not text, a client that stops reading)
// is closed alone.

#include "rigctlprotocol.h"

#include <QAbstractSocket>
#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <deque>
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
    // A client that comes while every place is taken waits this long for one to free before it is turned away: one
    // that has just closed may not have been seen leaving yet.
    static constexpr std::chrono::milliseconds kAdmissionWait {1000};

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
    using ClientPtr = std::shared_ptr<Client>;
    void accept();
    void admit();
    void receive(Client &client);
    void serve(const ClientPtr &client);
    // Sends an answer; false when the client is gone, or closed now for not reading its answers.
    bool deliver(Client &client, const rigctl::Reply &reply);
    void drop(Client &client);
    void serveWaiting();
    void forget();

    rigctl::Rig &m_rig;
    QTcpServer *m_server;
    // Shared with the sets on the road, which answer their client once sent.
    std::list<ClientPtr> m_clients;
    QTimer m_serveTimer; // requests to serve, from the event loop rather than inside a socket's signal
    struct Waiting
    {
        QPointer<QTcpSocket> socket;
        std::chrono::steady_clock::time_point until;
    };
    std::deque<Waiting> m_waiting; // connections not admitted yet, every place being taken
    QTimer m_admitTimer;
    int m_busy = 0; // serve() calls and walks of the client list on the stack
};
