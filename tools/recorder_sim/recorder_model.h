// The recorder's side of the serial dialogue, without any input or output: bytes that arrived
// at the recorder's own rate go in, replies and log notes come out. The pseudo-terminal loop
// around it decides which bytes arrive intact and when replies are written.
//
// What the simulated recorder does with each command:
//   "V"        replies its version as two bytes, high byte first
//   "g" CR     replies 0xFB
//   "r" NUL    enters block-read mode at block 0
//   "B" code   changes to the rate of code 251..255 (12800 ... 62500 baud)
//   "i"        rewinds the block reader to block 0
//   "y"        marks a thousand-block section; nothing to answer
//   "s"        in block-read mode: replies the next 8-byte block of the memory image;
//              after the last of the 4096 blocks it has nothing more to send
//   "t"        leaves block-read mode and returns to 4800 baud
//   "c"        end of a communication test; nothing to answer
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pulvitra::sim {

inline constexpr int kBaseRate = 4800;
inline constexpr int kImageBytes = 32768;
inline constexpr int kBlockBytes = 8;
inline constexpr int kBlockCount = kImageBytes / kBlockBytes;

// The rate that belongs to a rate code 251..255, or 0 for any other byte.
int rate_of_code(std::uint8_t code);

struct RecorderConfig {
  int version = 412;        // the "V" reply; the program accepts 353..999
  bool silent = false;      // answers nothing at all
  bool answer_v = true;     // false: ignores "V", so the program must fall back to "g" CR
  int max_rate = 62500;     // above this rate the recorder's replies are lost
  int drop_block = -1;      // >= 0: blocks from this number on get no reply
  int stall_ms = 0;         // every block reply is delayed by this much
  bool short_blocks = false;  // blocks are answered with fewer than 8 bytes
  int hangup_after = -1;    // >= 0: the line is closed when this block is asked for
  int garble_above = 0;     // > 0: above this rate every reply arrives garbled
  int garble_block = -1;    // >= 0: this block's reply arrives garbled
  int break_at = -1;        // >= 0: a break on the line instead of this block's reply
  bool silent_mismatch = false;  // replies sent while the two ends' rates differ are lost
                                 // instead of arriving garbled
};

struct RecorderAction {
  enum Kind { kReply, kNote, kHangup, kBreak };
  Kind kind = kNote;
  std::vector<std::uint8_t> bytes;  // kReply: what to send
  int delay_ms = 0;                 // kReply: how long after the request
  std::string text;                 // what happened, for the log
  bool garbled = false;             // kReply: the bytes arrive with framing errors
};

class RecorderModel {
 public:
  RecorderModel(RecorderConfig config, std::vector<std::uint8_t> image);

  const RecorderConfig& config() const { return config_; }
  // The rate the recorder is set to now.
  int rate() const { return rate_; }

  // One byte that arrived intact. Returns what the recorder does about it.
  std::vector<RecorderAction> receive(std::uint8_t byte);
  // A byte that arrived while the line was at another rate: the recorder saw noise, so a
  // command it had half received is lost.
  void garbled() { pending_ = 0; }

 private:
  void command(std::uint8_t first, std::uint8_t second, std::vector<RecorderAction>& out);
  void single(std::uint8_t byte, std::vector<RecorderAction>& out);
  void send_block(std::vector<RecorderAction>& out);
  void reply(std::vector<RecorderAction>& out, std::vector<std::uint8_t> bytes, int delay_ms,
             std::string text) const;

  RecorderConfig config_;
  std::vector<std::uint8_t> image_;
  int rate_ = kBaseRate;
  bool read_mode_ = false;
  int next_block_ = 0;
  std::uint8_t pending_ = 0;  // first byte of a two-byte command, 0 when none
};

}  // namespace pulvitra::sim
