#pragma once
// The connection stub: a server that accepts a connection request and a socket whose connect
// event shows the chat panel. Nothing tells either to listen or to connect.

#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

namespace dv::ui {

class QtConnection : public QObject {
    Q_OBJECT

  public:
    explicit QtConnection(QObject* parent);

    QTcpServer& Server() { return server_; }
    QTcpSocket& Socket() { return socket_; }
    // The connection accepted last, if any.
    QTcpSocket* Accepted() const { return accepted_; }

  signals:
    // Winsock1_Connect: the window lays itself out again with the chat panel.
    void Connected();

  private:
    QTcpServer server_;
    QTcpSocket socket_;
    QPointer<QTcpSocket> accepted_;
};

}  // namespace dv::ui
