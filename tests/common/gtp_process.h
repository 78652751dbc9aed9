// A GTP engine (GNU Go) driven over two pipes, for the tests that ask it to referee or to read.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace zendra::test {

struct GtpReply {
  bool ok = false;   // "=" (success) or "?" (failure)
  std::string text;  // the text after the status character, trimmed
};

// Starts a program with stdin/stdout on pipes, talks GTP to it and stops it in the destructor
// ("quit", then SIGKILL to that one pid if it does not leave in time).
class GtpProcess {
 public:
  GtpProcess() = default;
  GtpProcess(const GtpProcess&) = delete;
  GtpProcess& operator=(const GtpProcess&) = delete;
  ~GtpProcess() { Stop(); }

  bool Start(const std::vector<std::string>& args, std::string* error) {
    // A dead child must show up as a failed write, not as a SIGPIPE that ends the test binary.
    signal(SIGPIPE, SIG_IGN);
    int toChild[2], fromChild[2];
    if (pipe2(toChild, O_CLOEXEC) != 0) return Fail(error, "pipe");
    if (pipe2(fromChild, O_CLOEXEC) != 0) {
      close(toChild[0]);
      close(toChild[1]);
      return Fail(error, "pipe");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, args[0].c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(toChild[0]);
    close(fromChild[1]);
    if (rc != 0) {
      close(toChild[1]);
      close(fromChild[0]);
      *error = std::string("posix_spawn: ") + std::strerror(rc);
      return false;
    }
    pid_ = pid;
    to_ = toChild[1];
    from_ = fromChild[0];
    return true;
  }

  // Writes the command lines (each ended by '\n') in one go and reads `count` replies.
  bool Exchange(const std::string& commands, int count, std::vector<GtpReply>* replies,
                std::string* error) {
    replies->clear();
    if (!WriteAll(commands, error)) return false;
    for (int i = 0; i < count; ++i) {
      GtpReply reply;
      if (!ReadReply(&reply, error)) return false;
      replies->push_back(std::move(reply));
    }
    return true;
  }

  bool Command(const std::string& command, GtpReply* reply, std::string* error) {
    std::vector<GtpReply> replies;
    if (!Exchange(command + "\n", 1, &replies, error)) return false;
    *reply = replies[0];
    return true;
  }

  void Stop() {
    if (pid_ <= 0) return;
    if (to_ >= 0) {
      std::string ignored;
      WriteAll("quit\n", &ignored);
      close(to_);
      to_ = -1;
    }
    bool exited = false;
    for (int i = 0; i < 200 && !exited; ++i) {  // up to 2 s for a clean exit
      const pid_t r = waitpid(pid_, nullptr, WNOHANG);
      if (r == pid_ || (r < 0 && errno == ECHILD)) {
        exited = true;
      } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
    }
    if (!exited) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (from_ >= 0) close(from_);
    from_ = -1;
    pid_ = -1;
  }

 private:
  static bool Fail(std::string* error, const char* what) {
    *error = std::string(what) + ": " + std::strerror(errno);
    return false;
  }

  bool WriteAll(const std::string& data, std::string* error) {
    std::size_t done = 0;
    while (done < data.size()) {
      const ssize_t n = write(to_, data.data() + done, data.size() - done);
      if (n < 0) {
        if (errno == EINTR) continue;
        return Fail(error, "write to GNU Go");
      }
      done += static_cast<std::size_t>(n);
    }
    return true;
  }

  // A GTP reply ends with an empty line.
  bool ReadReply(GtpReply* reply, std::string* error) {
    std::size_t end;
    while ((end = buffer_.find("\n\n")) == std::string::npos) {
      pollfd pfd{from_, POLLIN, 0};
      const int ready = poll(&pfd, 1, 20000);
      if (ready < 0 && errno == EINTR) continue;
      if (ready <= 0) {
        *error = "GNU Go did not answer within 20 s";
        return false;
      }
      char chunk[4096];
      const ssize_t n = read(from_, chunk, sizeof chunk);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        *error = "GNU Go closed its output";
        return false;
      }
      for (ssize_t i = 0; i < n; ++i)
        if (chunk[i] != '\r') buffer_ += chunk[i];
    }
    std::string raw = buffer_.substr(0, end);
    buffer_.erase(0, end + 2);
    // Stray empty lines between replies are allowed by GTP.
    raw.erase(0, raw.find_first_not_of('\n') == std::string::npos ? raw.size()
                                                                  : raw.find_first_not_of('\n'));
    if (raw.empty() || (raw[0] != '=' && raw[0] != '?')) {
      *error = "malformed GTP reply: '" + raw + "'";
      return false;
    }
    reply->ok = raw[0] == '=';
    std::size_t from = 1;
    while (from < raw.size() && std::isdigit(static_cast<unsigned char>(raw[from]))) ++from;
    const std::size_t first = raw.find_first_not_of(" \t\n", from);
    reply->text = first == std::string::npos ? std::string() : raw.substr(first);
    while (!reply->text.empty() && std::isspace(static_cast<unsigned char>(reply->text.back())))
      reply->text.pop_back();
    return true;
  }

  pid_t pid_ = -1;
  int to_ = -1;
  int from_ = -1;
  std::string buffer_;
};

}  // namespace zendra::test
