#include "device/upload.h"

#include <cerrno>
#include <exception>

#include "shell/language.h"
#include "device/line_errors.h"
#include "recording/decoder.h"

namespace pulvitra {

namespace {

constexpr int kSectionBlocks = 1000;  // "y" before every 1000th block
constexpr int kProgressStep = 20;     // the progress bar moves every 20 blocks

}  // namespace

Upload::Upload(Link& link, BaudSelector& CB_MaxBaud, TEKG& ekg, DecoderState& decoder)
    : link_(link), CB_MaxBaud_(CB_MaxBaud), ekg_(ekg), decoder_(decoder) {}

QCoro::Task<std::optional<UploadOutcome>> Upload::start_or_stop() {
  if (UploadRunning != 0) {
    StopRequested = true;  // the block loop takes it after the current block
    co_return std::nullopt;
  }
  // A communication test holds the link: its dialogue must not be interleaved with another.
  if (!link_.claim(Dialogue::Upload)) co_return std::nullopt;
  const UploadOutcome outcome = co_await run();
  co_return outcome;
}

bool Upload::window_closing(std::function<void()> close_again) {
  if (UploadRunning == 0) return true;
  link_.wind_down(std::move(close_again));
  return false;
}

void Upload::abandon() {
  if (UploadRunning == 0) return;
  abandoned_ = true;
  if (phase_ == Phase::Pacing) {
    link_.stop_pacing();
    try {
      link_.v24_send(QByteArrayLiteral("t"));
    } catch (const std::exception&) {
      // The port is already gone; the recorder leaves its read mode when it is switched off.
    }
  }
  UploadRunning = 0;
  phase_ = Phase::Idle;
}

QCoro::Task<UploadOutcome> Upload::run() {
  UploadRunning = kUploadRunningMark;
  phase_ = Phase::Starting;
  abandoned_ = false;
  link_.host().lock();
  progress(0);
  StopRequested = false;
  link_.com_stat_clear();
  link_.forget_line_trouble();

  UploadOutcome outcome = UploadOutcome::PortFailed;
  QString port_failure;
  try {
    outcome = co_await transfer();
  } catch (const std::exception& e) {
    // A port that fails before the transfer (not open, write refused) ends the upload; the
    // window must not stay locked.
    port_failure = QString::fromUtf8(e.what());
  }
  if (abandoned_) co_return UploadOutcome::Abandoned;
  if (!port_failure.isEmpty()) {
    link_.stop_pacing();
    log_failure(UploadOutcome::PortFailed, port_failure);
    finish();
    link_.report(port_failure);
    co_return UploadOutcome::PortFailed;
  }
  if (outcome == UploadOutcome::Complete) take_image();
  log_failure(outcome, QString());
  show_outcome(outcome);
  finish();
  co_return outcome;
}

QCoro::Task<UploadOutcome> Upload::transfer() {
  co_await link_.v24_open(kBaseBaud);
  if (abandoned_) co_return UploadOutcome::Abandoned;
  const bool identified = co_await link_.v24_handshake();
  if (abandoned_) co_return UploadOutcome::Abandoned;
  if (!identified) co_return UploadOutcome::NoDevice;

  link_.v24_clear();
  link_.v24_send(QByteArray("r\0", 2));
  co_await link_.v24_wait(60);
  if (abandoned_) co_return UploadOutcome::Abandoned;
  link_.v24_clear();

  RecorderRate rate{};
  const bool rate_changed = co_await change_rate(rate);
  if (abandoned_) co_return UploadOutcome::Abandoned;
  if (!rate_changed) {
    co_await link_.v24_reset();
    co_return UploadOutcome::RateRefused;
  }

  link_.v24_send(QByteArrayLiteral("i"));
  co_await link_.v24_wait(100);
  if (abandoned_) co_return UploadOutcome::Abandoned;
  link_.v24_clear();

  blocks_received_ = 0;
  link_.CommError = false;
  link_.start_pacing(rate.pacing_ms);
  phase_ = Phase::Pacing;
  bool no_data = false;
  try {
    co_await block_loop(no_data);
  } catch (const std::exception& e) {
    // A port that fails in the middle of the transfer is a line error like any other.
    link_.CommError = true;
    link_.note_port_error(e);
  }
  if (abandoned_) co_return UploadOutcome::Abandoned;
  const bool comm_error = link_.CommError;
  link_.stop_pacing();

  const bool closed = co_await end_block_read();
  if (abandoned_) co_return UploadOutcome::Abandoned;
  if (comm_error || !closed) co_return UploadOutcome::CommError;
  if (StopRequested) co_return UploadOutcome::Stopped;
  if (no_data) co_return UploadOutcome::LinkLost;
  co_return UploadOutcome::Complete;
}

QCoro::Task<bool> Upload::change_rate(RecorderRate& rate) {
  std::optional<RecorderRate> row = recorder_rate(link_.MaxBaud);
  if (!row) {
    // A rate the recorder does not know (an old or edited setting): take the slowest fast one.
    link_.MaxBaud = kFallbackBaud;
    CB_MaxBaud_.set_text(QString::number(kFallbackBaud));
    row = recorder_rate(kFallbackBaud);
  }
  rate = *row;
  link_.v24_send(QByteArray("B") + static_cast<char>(rate.code));
  co_await link_.v24_wait(60);
  if (abandoned_) co_return false;
  co_await link_.v24_open(link_.MaxBaud);
  co_return link_.pul_com.connected();
}

QCoro::Task<> Upload::block_loop(bool& no_data) {
  // The pacing sends "s" on its own; the loop only collects what arrives. Blocks that come
  // faster than it runs wait in RxBuffer, and the wait returns at once for them. A block's
  // 50 ms count from the moment its request was written: a pacing tick that comes late on
  // a busy machine is no sign of a lost recorder.
  int block = 0;
  do {
    if (block % kSectionBlocks == 0) link_.v24_send(QByteArrayLiteral("y"));
    const bool arrived = co_await link_.v24_avail_reply(block, 50, kUploadBlockBytes);
    if (abandoned_) co_return;
    if (arrived) {
      for (int i = 0; i < kUploadBlockBytes; ++i)
        receive_area_[static_cast<std::size_t>(block * kUploadBlockBytes + i)] = link_.v24_read_byte();
      blocks_received_ = block + 1;
    } else {
      no_data = true;
    }
    if (block % kProgressStep == 0) progress(block);
    ++block;
    // The window is closing: stop as if the user had clicked stop, but say nothing.
    if (link_.winding_down()) StopRequested = true;
  } while (block <= kUploadBlocks - 1 && !no_data && !StopRequested && !link_.CommError && !abandoned_);
}

QCoro::Task<bool> Upload::end_block_read() {
  bool sent = false;
  try {
    link_.v24_clear();
    link_.v24_send(QByteArrayLiteral("t"));
    sent = true;
  } catch (const std::exception&) {
    // The port failed; the caller reports the broken link.
  }
  if (!sent) co_return false;
  phase_ = Phase::Closing;
  bool reopened = false;
  try {
    co_await link_.v24_wait(60);
    if (abandoned_) co_return false;
    co_await link_.v24_open(kBaseBaud);
    reopened = true;
  } catch (const std::exception&) {
  }
  co_return reopened;
}

void Upload::take_image() {
  for (int k = 0; k < kImageSize; ++k) ekg_.Image[static_cast<std::size_t>(k + 1)] = receive_area_[static_cast<std::size_t>(k)];
  DecodeRecording(ekg_, decoder_);
  host_->decoded();
}

void Upload::show_outcome(UploadOutcome outcome) {
  if (link_.winding_down()) return;  // the user is closing the window and has been asked
  LinkHost& host = link_.host();
  switch (outcome) {
    case UploadOutcome::NoDevice: host.notify(DialogueNotice::UploadNoDevice); return;
    case UploadOutcome::CommError: host.notify(DialogueNotice::UploadCommError); return;
    case UploadOutcome::Stopped: host.notify(DialogueNotice::UploadStopped); return;
    case UploadOutcome::LinkLost: host.notify(DialogueNotice::UploadLinkLost); return;
    case UploadOutcome::Complete:
      host.notify(DialogueNotice::UploadComplete);
      host_->succeeded();
      return;
    case UploadOutcome::RateRefused:  // ComStat holds "crit.error Baudrate"; nothing else to say
    case UploadOutcome::PortFailed:
    case UploadOutcome::Abandoned:
      return;
  }
}

// The log says which port and device the upload used, what went wrong, and what to do where
// the user can do something: the message boxes cannot name the port, and a box is gone once
// it is confirmed, while the log stays until the next dialogue.
void Upload::log_failure(UploadOutcome outcome, const QString& port_failure) {
  if (link_.winding_down()) return;
  const QString port = link_.pul_com.port();
  const QString device = link_.pul_com.device();
  const QString where = device.isEmpty() ? port : QStringLiteral("%1 (%2)").arg(port, device);
  const QString cable = lang_text(QStringLiteral("Kabel prüfen und Kordamat einschalten."),
                                  QStringLiteral("Check the cable and switch the Kordamat on."));
  QString cause;
  QString remedy;
  switch (outcome) {
    case UploadOutcome::NoDevice:
      if (link_.handshake_heard) {
        cause = lang_text(QStringLiteral("das Gerät an dieser Schnittstelle antwortet nicht wie ein Kordamat"),
                          QStringLiteral("the device on this port does not answer as a Kordamat"));
        remedy = lang_text(QStringLiteral("Kordamat an diese Schnittstelle anschließen oder seine Schnittstelle wählen."),
                           QStringLiteral("Connect the Kordamat to this port or choose its port."));
      } else {
        cause = lang_text(QStringLiteral("keine Antwort vom Kordamat"), QStringLiteral("no answer from the Kordamat"));
        remedy = cable;
      }
      break;
    case UploadOutcome::RateRefused:
      cause = lang_text(QStringLiteral("die Schnittstelle nimmt %1 Baud nicht an"),
                        QStringLiteral("the port does not take %1 baud"))
                  .arg(link_.MaxBaud);
      if (!link_.port_error_text.isEmpty()) cause += QStringLiteral(": ") + link_.port_error_text;
      remedy = lang_text(QStringLiteral("Niedrigere Baudrate wählen."), QStringLiteral("Choose a lower rate."));
      break;
    case UploadOutcome::LinkLost:
      cause = lang_text(QStringLiteral("keine Daten vom Kordamat nach %1 von %2 Blöcken"),
                        QStringLiteral("no data from the Kordamat after %1 of %2 blocks"))
                  .arg(blocks_received_)
                  .arg(kUploadBlocks);
      remedy = cable;
      break;
    case UploadOutcome::CommError: {
      // The weightiest error only: the bytes that follow a lost line or a break come garbled.
      const int errors = link_.line_errors_seen;
      QString what = link_.port_error_text;
      if (errors & kLineFailed) {
        what = lang_text(QStringLiteral("Verbindung abgerissen"), QStringLiteral("connection lost"));
      } else if (errors & kLineBreak) {
        what = lang_text(QStringLiteral("Unterbrechung (Break) auf der Leitung"), QStringLiteral("a break on the line"));
      } else if (errors & kLineFrameOrParity) {
        what = lang_text(QStringLiteral("verfälschte Bytes"), QStringLiteral("garbled bytes"));
      } else if (errors & kLineOverrun) {
        what = lang_text(QStringLiteral("Bytes verloren (Überlauf)"), QStringLiteral("bytes lost (overrun)"));
      }
      cause = lang_text(QStringLiteral("Übertragungsfehler nach %1 von %2 Blöcken"),
                        QStringLiteral("transmission error after %1 of %2 blocks"))
                  .arg(blocks_received_)
                  .arg(kUploadBlocks);
      if (!what.isEmpty()) cause += QStringLiteral(": ") + what;
      // Bytes that arrive spoilt come from a poor cable or a rate too fast for it.
      remedy = errors & (kLineFrameOrParity | kLineBreak | kLineOverrun)
                   ? lang_text(QStringLiteral("Kabel prüfen oder eine niedrigere Baudrate wählen."),
                               QStringLiteral("Check the cable or choose a lower rate."))
                   : cable;
      break;
    }
    case UploadOutcome::PortFailed:
      if (!valid_port_name(port)) {
        link_.com_stat_add(lang_text(QStringLiteral("COM nicht verfügbar"), QStringLiteral("COM not available")));
        link_.com_stat_add(cable);
        return;
      }
      // The port that did not open explains the write that failed after it.
      cause = link_.port_error_text.isEmpty() ? port_failure : link_.port_error_text;
      if (link_.port_error_number == EBUSY) {
        remedy = lang_text(QStringLiteral("Das Programm beenden, das diese Schnittstelle benutzt."),
                           QStringLiteral("Close the program that uses this port."));
      } else if (link_.port_error_number != EACCES) {  // the log names the remedy for that already
        remedy = cable;
      }
      break;
    case UploadOutcome::Complete:
    case UploadOutcome::Stopped:
    case UploadOutcome::Abandoned:
      return;
  }
  link_.com_stat_add(where + QStringLiteral(": ") + cause);
  if (!remedy.isEmpty()) link_.com_stat_add(remedy);
}

void Upload::finish() {
  progress(0);
  UploadRunning = 0;
  phase_ = Phase::Idle;
  link_.host().unlock();
  link_.release();
}

void Upload::progress(int position) {
  if (!abandoned_) host_->progress(position);
}

}  // namespace pulvitra
