// A program folder of its own whose [Ports] section points COM1 at a line, and, when asked,
// recorder-sim serving that line. Header only, so the window tests can use it as well.
#pragma once

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include "device/port_names.h"
#include "tests/support/program_folder.h"

namespace pulvitra::test {

class ProgramFolderWithPorts : public TemporaryProgramFolder {
 public:
  // Writes Pulvitra.ini with the given lines after "[Ports]" (and the settings before it).
  void write_ini(const QStringList& ports, const QString& settings = QString()) const {
    QFile ini(home.filePath("Pulvitra.ini"));
    ini.open(QIODevice::WriteOnly);
    ini.write((settings + "[Ports]\n" + ports.join('\n') + "\n").toUtf8());
  }
  // The [Ports] mapping of the folder's settings file.
  PortMap ports() const { return read_port_map(home.filePath("Pulvitra.ini")); }
};

// A bare pseudo-terminal: the test holds the master side, COM1 is the slave.
class PseudoTerminal {
 public:
  PseudoTerminal() {
    master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return;
    slave_path = QString::fromLocal8Bit(ptsname(master));
    // Held open so the line does not hang up while the program closes and reopens it.
    slave_keeper = ::open(ptsname(master), O_RDWR | O_NOCTTY);
  }
  ~PseudoTerminal() {
    if (slave_keeper >= 0) ::close(slave_keeper);
    if (master >= 0) ::close(master);
  }
  bool ok() const { return master >= 0 && slave_keeper >= 0; }

  int master = -1;
  int slave_keeper = -1;
  QString slave_path;
};

// recorder-sim on a line of its own, reached as COM1.
class RecorderSim {
 public:
  explicit RecorderSim(const QStringList& args, const QString& settings = QString()) {
    link_path = folder.home.filePath("ttyKordamat");
    folder.write_ini({"COM1=" + link_path}, settings);
    process.start(QStringLiteral(PULVITRA_BIN_DIR "/recorder-sim"),
                  QStringList{"--link", link_path, "--log", log_path()} + args);
    started = process.waitForStarted(5000) && process.waitForReadyRead(5000);
  }
  ~RecorderSim() {
    process.terminate();
    process.waitForFinished(5000);
  }

  QString log_path() const { return folder.home.filePath("sim.log"); }
  QString log() const {
    QFile file(log_path());
    file.open(QIODevice::ReadOnly);
    return QString::fromLatin1(file.readAll());
  }

  ProgramFolderWithPorts folder;
  QString link_path;
  QProcess process;
  bool started = false;
};

}  // namespace pulvitra::test
