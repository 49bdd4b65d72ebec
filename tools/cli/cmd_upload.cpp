// pulvitra-cli upload: reads the recorder's memory over a serial port with the program's own
// upload and writes it as a recording file (empty patient fields), only when every block came.
// With --repeat N it uploads N times in a row over the same link, for a long run: each
// upload's result and the process's resident memory afterwards are printed.
#include <unistd.h>

#include <QCoroTask>
#include <QFile>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <memory>

#include "shell/language.h"
#include "shell/output_target.h"
#include "shell/settings.h"
#include "device/serial_port.h"
#include "device/upload.h"
#include "files/recording_file.h"
#include "tools/cli/command.h"
#include "tools/cli/options.h"
#include "tools/cli/output_check.h"

namespace pulvitra::cli {

namespace {

volatile std::sig_atomic_t interrupted = 0;

void on_interrupt(int) { interrupted = 1; }

void print_err(const QString& text) { std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData()); }

// Progress on the terminal: one line redrawn in place, or a line per 1000 blocks in a log.
class ProgressPrinter final : public UploadHost {
 public:
  void progress(int block) override {
    if (terminal_) {
      std::fprintf(stderr, "\rblock %4d of %d", block, kUploadBlocks);
    } else if (block % 1000 == 0 && block > 0) {
      std::fprintf(stderr, "block %d of %d\n", block, kUploadBlocks);
    }
  }

 private:
  const bool terminal_ = isatty(STDERR_FILENO) != 0;
};

// No window to lock; a port error and the window's message box of a dialogue's end are lines
// on the terminal.
class TerminalLinkHost final : public LinkHost {
 public:
  void lock() override {}
  void unlock() override {}
  void report(const QString& text) override { print_err(QStringLiteral("port error: ") + text); }
  void notify(DialogueNotice notice) override {
    const NoticeMessage box = notice_message(notice, cur_lang);
    QString flat = box.text;
    flat.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    print_err(box.caption + QStringLiteral(": ") + flat);
  }
};

struct UploadArgs {
  QString port;
  std::int32_t max_baud = 0;  // 0: the settings file's Max_Baudrate
  QString output;
  int repeat = 1;
  bool force = false;  // may replace an existing recording file
};

// The resident memory of this process in kB (VmRSS), 0 where the system does not tell.
long resident_kb() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
  return 0;
}

const char* outcome_name(std::optional<UploadOutcome> outcome) {
  if (!outcome) return "not started";
  switch (*outcome) {
    case UploadOutcome::NoDevice: return "no device";
    case UploadOutcome::RateRefused: return "rate refused";
    case UploadOutcome::CommError: return "communication error";
    case UploadOutcome::Stopped: return "stopped";
    case UploadOutcome::LinkLost: return "link lost";
    case UploadOutcome::Complete: return "complete";
    case UploadOutcome::PortFailed: return "port failed";
    case UploadOutcome::Abandoned: return "abandoned";
  }
  return "?";
}

std::optional<UploadArgs> parse(const QStringList& args, int& exit_code) {
  UploadArgs parsed;
  auto max_baud = [&parsed](const QStringList& values) {
    bool ok = false;
    parsed.max_baud = values.first().toInt(&ok);
    if (!ok || parsed.max_baud <= 0) return QStringLiteral("takes a rate in baud, not '%1'").arg(values.first());
    return QString();
  };
  auto repeat = [&parsed](const QStringList& values) {
    bool ok = false;
    parsed.repeat = values.first().toInt(&ok);
    if (!ok || parsed.repeat <= 0) return QStringLiteral("takes a number of uploads, not '%1'").arg(values.first());
    return QString();
  };
  QString error;
  const auto line = parse_command_line(QStringLiteral("upload"), args,
                                       {{"--port", 1, text_into(parsed.port)}, {"--max-baud", 1, max_baud},
                                        {"-o", 1, text_into(parsed.output)}, {"--repeat", 1, repeat},
                                        {"--force", 0, switch_on(parsed.force)}},
                                       0, error);
  if (!line) {
    exit_code = usage_error(error);
    return std::nullopt;
  }
  parsed.port = parsed.port.toUpper();
  if (parsed.port.size() != 4 || !parsed.port.startsWith("COM") || parsed.port[3] < '1' || parsed.port[3] > '8') {
    exit_code = usage_error(QStringLiteral("upload: --port takes COM1 to COM8"));
    return std::nullopt;
  }
  if (parsed.output.isEmpty()) {
    exit_code = usage_error(QStringLiteral("upload: no output file given (-o OUT.pul)"));
    return std::nullopt;
  }
  if (is_standard_output(parsed.output)) {
    exit_code = usage_error(QStringLiteral("upload: a recording goes to a file, not to standard output"));
    return std::nullopt;
  }
  return parsed;
}

// Before the recorder is asked for anything: a transfer of many seconds must not end in an
// output that cannot be written or that would take the place of a recording unasked.
bool output_ready(const UploadArgs& args) {
  if (!output_acceptable(args.output, {}, args.force ? OverRecording::kForced : OverRecording::kNeedsForce)) return false;
  QString reason;
  if (output_folder_writable(args.output, reason)) return true;
  print_write_error(args.output, reason);
  return false;
}

int run_upload(const QStringList& args) {
  int exit_code = 0;
  const auto parsed = parse(args, exit_code);
  if (!parsed) return exit_code;
  if (!output_ready(*parsed)) return 2;

  const Settings settings = read_settings(settings_path());
  const QString note = settings_note(settings);
  if (!note.isEmpty()) print_err(QStringLiteral("pulvitra-cli: ") + note);
  QString port_name = parsed->port;
  TComPortN port;
  port.set_port_map(PortMap(settings.Ports));
  port.set_port(port_name);
  QTimer timer1;
  Link link(port, timer1, port_name);
  link.MaxBaud = parsed->max_baud > 0 ? parsed->max_baud : settings.MaxBaud;
  TerminalLinkHost terminal_host;
  link.set_host(terminal_host);
  // The log of the link tells why a port did not open or a rate was refused.
  QObject::connect(&link, &Link::com_stat_line_added, [](const QString& line) { print_err(QStringLiteral("  ") + line); });

  BaudList baud;
  auto ekg = std::make_unique<TEKG>();
  clear_recording(*ekg);
  DecoderState decoder;
  Upload upload(link, baud, *ekg, decoder);
  ProgressPrinter progress_printer;
  upload.set_host(progress_printer);

  // Ctrl-C stops after the current block, so the recorder still leaves its read mode.
  interrupted = 0;
  auto previous = std::signal(SIGINT, on_interrupt);
  QTimer stop_watch;
  QObject::connect(&stop_watch, &QTimer::timeout, [&] {
    if (interrupted != 0 && upload.UploadRunning != 0) upload.StopRequested = true;
  });
  stop_watch.start(50);

  std::optional<UploadOutcome> outcome;
  int failed = 0;
  for (int run = 1; run <= parsed->repeat && interrupted == 0; ++run) {
    outcome = QCoro::waitFor(upload.start_or_stop());
    if (parsed->repeat == 1) break;
    if (outcome != UploadOutcome::Complete) ++failed;
    if (isatty(STDERR_FILENO) != 0) std::fprintf(stderr, "\n");
    std::printf("upload %d of %d: %s after %d blocks, resident %ld kB\n", run, parsed->repeat, outcome_name(outcome),
                upload.blocks_received(), resident_kb());
    std::fflush(stdout);
  }
  std::signal(SIGINT, previous);
  if (isatty(STDERR_FILENO) != 0) std::fprintf(stderr, "\n");
  try {
    port.close();
  } catch (const std::exception&) {
  }

  if (failed > 0) print_err(QStringLiteral("pulvitra-cli: %1 of %2 uploads failed").arg(failed).arg(parsed->repeat));
  if (outcome != UploadOutcome::Complete) {
    if (outcome == UploadOutcome::RateRefused)
      print_err(QStringLiteral("pulvitra-cli: the port does not take %1 baud").arg(link.MaxBaud));
    print_err(QStringLiteral("pulvitra-cli: upload failed after %1 of %2 blocks; no file written")
                  .arg(upload.blocks_received())
                  .arg(kUploadBlocks));
    return 1;
  }
  const WriteResult written = save_recording_file(parsed->output, PatientFields{}, 0, *ekg);
  if (!written.ok) {
    print_write_error(parsed->output, written.system_error);
    return 1;
  }
  std::printf("%s: %d blocks at %d baud, %d beats\n", parsed->output.toLocal8Bit().constData(), kUploadBlocks,
              link.MaxBaud, static_cast<int>(ekg->BeatCount));
  return failed == 0 ? 0 : 1;
}

const Command kUpload("upload", "--port COMn [--max-baud R] [--repeat N] [--force] -o OUT.pul",
                      "Reads the recorder's memory over the serial port and writes it as a recording file "
                      "(the last of N uploads in a row); an existing recording is replaced only with --force",
                      run_upload);

}  // namespace

}  // namespace pulvitra::cli
