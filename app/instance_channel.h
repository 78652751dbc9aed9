// The line between two starts of the program: the running copy listens on a local socket, a
// later start asks it to come to the front, handing it the SGF files and folders it was given. It needs Qt Network (QLocalServer, QLocalSocket),
// whose libraries the program does not load before its first window: the channel lives in a
// module of its own (zendra_instance_module, beside the program) that SingleInstance loads
// with QLibrary once the window is up, or when a later start has something to ask.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace zendra {

class InstanceChannel {
 public:
  virtual ~InstanceChannel() = default;
  // Listens on the local socket `name` (a path), taking over a socket a crashed copy left
  // behind; `raise` runs on the window thread for each later start that asks, with the files
  // it hands over (absolute paths, none for a plain start). False with `error` when it cannot
  // listen.
  virtual bool Listen(const QString& name, std::function<void(const QStringList& files)> raise,
                      QString* error) = 0;
  // Asks the copy listening on `name` to come to the front and take `files`; false with
  // `error` when none answers within `timeoutMs`.
  virtual bool AskToRaise(const QString& name, int timeoutMs, const QStringList& files,
                          QString* error) = 0;
};

// The module's one exported function: a new channel, owned by the caller. The module stays
// loaded for the rest of the process.
using InstanceChannelFactory = InstanceChannel* (*)();
inline constexpr char kInstanceChannelFactory[] = "zendra_make_instance_channel";

}  // namespace zendra
