// The instance channel over QLocalServer and QLocalSocket; see instance_channel.h.
//
// A later start writes one line "open <path>" per file it hands over (the absolute path,
// percent-encoded, so any name fits on one line), then "raise"; the running copy answers
// "raise" once it has taken the request. Anything else ends the connection unanswered.
#include <QByteArray>
#include <QLocalServer>
#include <QLocalSocket>
#include <QUrl>
#include <memory>

#include "app/instance_channel.h"

namespace zendra {
namespace {

// What a later start says last; the running copy answers with the same word.
constexpr char kRaise[] = "raise\n";
constexpr char kOpen[] = "open ";
// The longest line read, and the most files one start hands over: a connection cannot make
// the running copy hold more than that.
constexpr qint64 kMaxLine = 16 * 1024;
constexpr int kMaxFiles = 1000;

class LocalInstanceChannel final : public InstanceChannel {
 public:
  bool Listen(const QString& name, std::function<void(const QStringList&)> raise,
              QString* error) override {
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
        auto files = std::make_shared<QStringList>();
        QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket, raise, files] {
          while (socket->canReadLine()) {
            const QByteArray line = socket->readLine(kMaxLine);
            if (line == kRaise) {
              // Answered first: the later start may end while the files are imported.
              socket->write(kRaise);
              socket->flush();
              socket->disconnectFromServer();
              raise(*files);
              return;
            }
            if (!line.startsWith(kOpen) || !line.endsWith('\n') || files->size() >= kMaxFiles) {
              socket->disconnectFromServer();
              return;
            }
            const QByteArray path = line.mid(qsizetype(sizeof kOpen) - 1).chopped(1);
            files->push_back(QUrl::fromPercentEncoding(path));
          }
          // A line longer than any request is garbage.
          if (socket->bytesAvailable() >= kMaxLine) socket->disconnectFromServer();
        });
      }
    });
    return true;
  }

  bool AskToRaise(const QString& name, int timeoutMs, const QStringList& files,
                  QString* error) override {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs)) {
      if (error) *error = socket.errorString();
      return false;
    }
    QByteArray request;
    for (const QString& f : files) request += kOpen + QUrl::toPercentEncoding(f) + '\n';
    request += kRaise;
    socket.write(request);
    while (socket.bytesToWrite() > 0) {
      if (!socket.waitForBytesWritten(timeoutMs)) {
        if (error) *error = socket.errorString();
        return false;
      }
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
