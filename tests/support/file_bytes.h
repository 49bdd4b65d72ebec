// A file's bytes as a test reads and writes them: the whole file, or nothing when it cannot
// be read; a write that must succeed for the test to mean anything; writes that fail part way.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <algorithm>
#include <csignal>
#include <sys/resource.h>

namespace pulvitra::test {

inline QByteArray read_all(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void write_all(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  ASSERT_EQ(f.write(bytes), bytes.size());
}

// Runs WRITE with files limited to BYTES, so that its writes fail part way as on a full disk;
// unlike folder permissions the limit binds the superuser too.
template <typename Write>
void with_file_size_limit(rlim_t bytes, Write&& write) {
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old_limit{};
  getrlimit(RLIMIT_FSIZE, &old_limit);
  const rlimit small{std::min(bytes, old_limit.rlim_max), old_limit.rlim_max};
  setrlimit(RLIMIT_FSIZE, &small);
  write();
  setrlimit(RLIMIT_FSIZE, &old_limit);
}

}  // namespace pulvitra::test
