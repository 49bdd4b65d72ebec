// The upload of the recorder's stored memory: identify the recorder at 4800 baud, switch it
// and the port to MaxBaud, ask for 4096 blocks of 8 bytes paced by PrecTimer1, switch back to
// 4800 baud, and make a complete transfer the current recording. Anything less leaves the
// recording, its file name, the fixed interval and the patient data exactly as they were.
//
// The window side is reached through the link's host (lock, unlock, report), the rate
// selector and the upload's host (progress, decoded, succeeded); with the headless ones the
// same code runs without a window (pulvitra-cli upload).
#pragma once

#include <QCoroTask>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "device/link.h"
#include "recording/decoder.h"
#include "recording/tekg.h"

namespace pulvitra {

inline constexpr int kUploadBlocks = 4096;
inline constexpr int kUploadBlockBytes = 8;
// UploadRunning while a transfer runs: the character "0".
inline constexpr std::uint8_t kUploadRunningMark = 48;
// The rate used when MaxBaud is not one the recorder knows: the slowest fast one.
inline constexpr std::int32_t kFallbackBaud = kRecorderRates.front().baud;

enum class UploadOutcome {
  NoDevice,     // no or a wrong identification: "Connection error"
  RateRefused,  // the port did not open at the fast rate; only ComStat tells
  CommError,    // a line error or a failing port during the transfer: "error communication"
  Stopped,      // the user stopped it: "Transmission aborted"
  LinkLost,     // a block did not come in time: "Connection error", disconnected
  Complete,     // all blocks arrived; the recording holds them
  PortFailed,   // the port failed before the transfer; shown by the general error report
  Abandoned,    // the window went away in the middle; nothing shown
};

// What the upload tells the window besides the link's lock and reports.
class UploadHost {
 public:
  virtual ~UploadHost() = default;
  // ProgressBar1's position: the number of the block being read, 0 before and after.
  virtual void progress(int /*position*/) {}
  // A complete image was taken and decoded: the views show the new recording.
  virtual void decoded() {}
  // The user has confirmed the success box: the overview page comes to the front.
  virtual void succeeded() {}
};

class Upload {
 public:
  // The image goes into ekg and is decoded with the recording's decoder state.
  Upload(Link& link, BaudSelector& CB_MaxBaud, TEKG& ekg, DecoderState& decoder);
  Upload(const Upload&) = delete;
  Upload& operator=(const Upload&) = delete;

  std::uint8_t UploadRunning = 0;  // 0 idle, kUploadRunningMark while running
  bool StopRequested = false;

  // The window's side; one that does nothing until set. Must outlive the upload.
  void set_host(UploadHost& host) { host_ = &host; }

  // Starts the upload, or, while one runs, asks it to stop after the current block (then
  // the result is empty at once). Nothing starts while another dialogue holds the link.
  // The wizard starts the upload the same way.
  QCoro::Task<std::optional<UploadOutcome>> start_or_stop();

  // The window closes (the user has said yes). Idle: true, close now. Running: the upload is
  // told to stop without any message, close_again is called once it has ended properly
  // (recorder sent "t", port back at 4800 baud), and the answer is false. The same as the
  // link's wind_down.
  bool window_closing(std::function<void()> close_again);

  // The window is being destroyed with an upload still running: stop the pacing, tell the
  // recorder "t" when the block loop was reached, and touch nothing of the window any more.
  // The suspended dialogue is never resumed (its waits belong to the link, which goes too).
  void abandon();

  // How many blocks of the last transfer arrived; only a complete one is copied into the
  // recording.
  int blocks_received() const { return blocks_received_; }

 private:
  enum class Phase { Idle, Starting, Pacing, Closing };

  QCoro::Task<UploadOutcome> run();
  QCoro::Task<UploadOutcome> transfer();
  QCoro::Task<bool> change_rate(RecorderRate& rate);
  QCoro::Task<> block_loop(bool& no_data);
  QCoro::Task<bool> end_block_read();
  void take_image();
  void show_outcome(UploadOutcome outcome);
  // Adds the port, the cause and the remedy of a failed upload to ComStat.
  void log_failure(UploadOutcome outcome, const QString& port_failure);
  void finish();
  void progress(int position);

  Link& link_;
  BaudSelector& CB_MaxBaud_;
  TEKG& ekg_;
  DecoderState& decoder_;
  UploadHost quiet_host_;
  UploadHost* host_ = &quiet_host_;
  std::array<std::uint8_t, kImageSize> receive_area_{};
  int blocks_received_ = 0;
  Phase phase_ = Phase::Idle;
  bool abandoned_ = false;  // the window is gone: touch nothing
};

}  // namespace pulvitra
