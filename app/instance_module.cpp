// The instance channel over QLocalServer and QLocalSocket; see instance_channel.h.
#include <QByteArray>
#include <QLocalServer>
#include <QLocalSocket>
#include <memory>

#include "app/instance_channel.h"

namespace zendra {
namespace {

// What a later start says; the running copy answers with the same word.
constexpr char kRaise[] = "raise\n";

class LocalInstanceChannel final : public InstanceChannel {
 public:
  bool Listen(const QString& name, std::function<void()> raise, QString* error) override {
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(name);  // the lock is ours: a socket left there is stale
    if (!server_->listen(name)) {
      if (error) *error = server_->errorString();
      server_.reset();
      return false;
    }
    QObject::connect(server_.get(), &QLocalServer::newConnection, [this, raise] {
      while (QLocalSocket* socket = server_->nextPendingConnection()) {
        QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket, raise] {
          if (!socket->canReadLine()) return;
          const QByteArray line = socket->readLine(64);
          if (line == kRaise) {
            raise();
            socket->write(kRaise);
            socket->flush();
          }
          socket->disconnectFromServer();
        });
      }
    });
    return true;
  }

  bool AskToRaise(const QString& name, int timeoutMs, QString* error) override {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs)) {
      if (error) *error = socket.errorString();
      return false;
    }
    socket.write(kRaise);
    if (!socket.waitForBytesWritten(timeoutMs)) {
      if (error) *error = socket.errorString();
      return false;
    }
    // The answer says the running copy read the request, not just its operating system.
    while (!socket.canReadLine()) {
      if (!socket.waitForReadyRead(timeoutMs)) {
        if (error) *error = "no answer: " + socket.errorString();
        return false;
      }
    }
    return socket.readLine(64) == kRaise;
  }

 private:
  std::unique_ptr<QLocalServer> server_;
};

}  // namespace
}  // namespace zendra

extern "C" Q_DECL_EXPORT zendra::InstanceChannel* zendra_make_instance_channel() {
  return new zendra::LocalInstanceChannel;
}
