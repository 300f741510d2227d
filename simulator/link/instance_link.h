#pragma once
// The local socket between a running simulator and whoever hands it a file:
// the simulator listens on one name per user; a client writes
// "OPEN <absolute path>\n" and the simulator answers "OK\n" once it has the
// file. A connection that says nothing is the running check.
#include <QObject>
#include <QString>

class QLocalServer;

namespace simvo {

// The name the simulator listens on (one per user).
QString instance_name();

// True when a simulator answers on the socket within `timeout_ms`.
bool simulator_answers(int timeout_ms = 500);

// Hands the file to the running simulator; true when it acknowledged it.
bool hand_file_to_simulator(const QString& path, int timeout_ms = 2000);

// The simulator's end: listens, and reports every file handed to it.
class InstanceServer : public QObject {
    Q_OBJECT
public:
    explicit InstanceServer(QObject* parent = nullptr);
    // False when the name could not be taken (another simulator has it).
    bool listen();

signals:
    void fileHanded(const QString& path);

private:
    void accept_connection();
    QLocalServer* server_ = nullptr;
};

} // namespace simvo
