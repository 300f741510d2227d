#include "instance_link.h"

#include "simulator/core/tool_table.h"

#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

namespace simvo {

QString instance_name() {
    return QString::fromStdString(instance_socket_name());
}

bool simulator_answers(int timeout_ms) {
    QLocalSocket socket;
    socket.connectToServer(instance_name());
    const bool up = socket.waitForConnected(timeout_ms);
    socket.abort();
    return up;
}

bool hand_file_to_simulator(const QString& path, int timeout_ms) {
    QLocalSocket socket;
    socket.connectToServer(instance_name());
    if (!socket.waitForConnected(timeout_ms)) return false;
    socket.write("OPEN " + QFileInfo(path).absoluteFilePath().toUtf8() + "\n");
    if (!socket.waitForBytesWritten(timeout_ms)) return false;
    QByteArray answer;
    while (!answer.contains('\n')) {
        if (!socket.waitForReadyRead(timeout_ms)) return false;
        answer += socket.readAll();
    }
    return answer.startsWith("OK");
}

InstanceServer::InstanceServer(QObject* parent) : QObject(parent), server_(new QLocalServer(this)) {
    connect(server_, &QLocalServer::newConnection, this, [this] { accept_connection(); });
}

bool InstanceServer::listen() {
    if (server_->listen(instance_name())) return true;
    // A socket file left by a simulator that died is taken over; a live one is not.
    if (simulator_answers(300)) return false;
    QLocalServer::removeServer(instance_name());
    return server_->listen(instance_name());
}

void InstanceServer::accept_connection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
            while (socket->canReadLine()) {
                const QByteArray line = socket->readLine().trimmed();
                if (!line.startsWith("OPEN ")) {
                    socket->write("ERROR unknown request\n");
                    continue;
                }
                const QString path = QString::fromUtf8(line.mid(5));
                socket->write("OK\n");
                socket->flush();
                emit fileHanded(path);
            }
        });
    }
}

} // namespace simvo
