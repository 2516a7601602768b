#include "ui/main/qt_connection.h"

#include "ui/common/engine_guard.h"
#include "ui/main/connection.h"

namespace dv::ui {

QtConnection::QtConnection(QObject* parent) : QObject(parent) {
    setObjectName("Winsock1");
    // Winsock1_ConnectionRequest: the request is accepted; that alone shows nothing.
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* request = server_.nextPendingConnection())
            accepted_ = request;
    });
    connect(&socket_, &QTcpSocket::connected, this, [this] {
        bool changed = false;
        RunCommand("SetConnection", [&] { changed = SetConnection(); });
        if (changed) emit Connected();
    });
}

}  // namespace dv::ui
