#include "library/remark_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace zendra {

std::vector<std::string> RemarkLines(std::string_view bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size() && lines.size() < kMaxRemarkLines) {
    size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    size_t stop = end;
    while (stop > start && bytes[stop - 1] == '\r') --stop;
    lines.emplace_back(bytes.substr(start, stop - start));
    start = end + 1;
  }
  return lines;
}

bool LoadRemarkFile(const std::string& path, std::vector<std::string>* lines, std::string* error) {
  lines->clear();
  auto fail = [&](const std::string& why) {
    if (error) *error = "Cannot read the remark file \"" + path + "\": " + why;
    return false;
  };
  // Opened without waiting, then checked: a FIFO opened for reading would wait for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return fail(std::strerror(errno));
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return fail("not a regular file");
  }
  std::string bytes(std::min<size_t>(static_cast<size_t>(st.st_size), kMaxRemarkFileBytes), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  ::close(fd);
  bytes.resize(done);
  *lines = RemarkLines(bytes);
  return true;
}

}  // namespace zendra
