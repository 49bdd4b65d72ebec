#include "tools/recorder_sim/recorder_model.h"

#include <optional>
#include <utility>

#include "recording/recorder_rates.h"

namespace pulvitra::sim {

namespace {

constexpr std::uint8_t kCr = 13;
constexpr std::uint8_t kIdentAnswer = 0xFB;
constexpr int kShortBlockBytes = 5;

std::string byte_name(std::uint8_t byte) {
  if (byte >= 0x21 && byte < 0x7F) return std::string(1, static_cast<char>(byte));
  static const char* digits = "0123456789ABCDEF";
  return std::string("\\x") + digits[byte >> 4] + digits[byte & 15];
}

}  // namespace

int rate_of_code(std::uint8_t code) {
  const std::optional<RecorderRate> row = recorder_rate_of_code(code);
  return row ? row->baud : 0;
}

RecorderModel::RecorderModel(RecorderConfig config, std::vector<std::uint8_t> image)
    : config_(config), image_(std::move(image)) {
  image_.resize(kImageBytes, 125);
}

std::vector<RecorderAction> RecorderModel::receive(std::uint8_t byte) {
  std::vector<RecorderAction> out;
  if (pending_ != 0) {
    const std::uint8_t first = std::exchange(pending_, 0);
    const bool complete = (first == 'g' && byte == kCr) || (first == 'r' && byte == 0) || first == 'B';
    if (complete) {
      command(first, byte, out);
      return out;
    }
    out.push_back({RecorderAction::kNote, {}, 0, "incomplete command " + byte_name(first) + " dropped"});
  }
  if (byte == 'g' || byte == 'r' || byte == 'B') {
    pending_ = byte;
    return out;
  }
  single(byte, out);
  return out;
}

void RecorderModel::command(std::uint8_t first, std::uint8_t second, std::vector<RecorderAction>& out) {
  if (first == 'g') {
    reply(out, {kIdentAnswer}, 0, "identification g CR answered with 0xFB");
  } else if (first == 'r') {
    read_mode_ = true;
    next_block_ = 0;
    out.push_back({RecorderAction::kNote, {}, 0, "block-read mode at block 0"});
  } else if (const int rate = rate_of_code(second); rate != 0) {
    rate_ = rate;
    out.push_back({RecorderAction::kNote, {}, 0, "rate changed to " + std::to_string(rate) + " baud"});
  } else {
    out.push_back({RecorderAction::kNote, {}, 0, "unknown rate code " + std::to_string(second) + " ignored"});
  }
}

void RecorderModel::single(std::uint8_t byte, std::vector<RecorderAction>& out) {
  switch (byte) {
    case 'V':
      if (!config_.answer_v) {
        out.push_back({RecorderAction::kNote, {}, 0, "V ignored"});
        return;
      }
      reply(out, {static_cast<std::uint8_t>((config_.version >> 8) & 0xFF), static_cast<std::uint8_t>(config_.version & 0xFF)},
            0, "version " + std::to_string(config_.version));
      return;
    case 'i':
      next_block_ = 0;
      out.push_back({RecorderAction::kNote, {}, 0, "block reader rewound"});
      return;
    case 'y':
      out.push_back({RecorderAction::kNote, {}, 0, "section mark at block " + std::to_string(next_block_)});
      return;
    case 's':
      send_block(out);
      return;
    case 't':
      read_mode_ = false;
      rate_ = kBaseRate;
      out.push_back({RecorderAction::kNote, {}, 0, "block-read mode ended, rate 4800 baud"});
      return;
    case 'c':
      out.push_back({RecorderAction::kNote, {}, 0, "communication test ended"});
      return;
    default:
      out.push_back({RecorderAction::kNote, {}, 0, "unknown command " + byte_name(byte) + " ignored"});
  }
}

void RecorderModel::send_block(std::vector<RecorderAction>& out) {
  if (!read_mode_) {
    out.push_back({RecorderAction::kNote, {}, 0, "s outside block-read mode ignored"});
    return;
  }
  if (next_block_ >= kBlockCount) {
    // Past the end of the memory there is nothing left to send.
    out.push_back({RecorderAction::kNote, {}, 0, "s past the end of the memory ignored"});
    return;
  }
  const int block = next_block_++;
  if (block == config_.hangup_after) {
    out.push_back({RecorderAction::kHangup, {}, 0, "line closed at block " + std::to_string(block)});
    return;
  }
  if (config_.drop_block >= 0 && block >= config_.drop_block) {
    out.push_back({RecorderAction::kNote, {}, 0, "block " + std::to_string(block) + " not answered"});
    return;
  }
  if (block == config_.break_at) {
    out.push_back({RecorderAction::kBreak, {}, config_.stall_ms, "break instead of block " + std::to_string(block)});
    return;
  }
  const auto begin = image_.begin() + block * kBlockBytes;
  const int length = config_.short_blocks ? kShortBlockBytes : kBlockBytes;
  reply(out, std::vector<std::uint8_t>(begin, begin + length), config_.stall_ms, "block " + std::to_string(block));
  if (block == config_.garble_block) out.back().garbled = true;
}

void RecorderModel::reply(std::vector<RecorderAction>& out, std::vector<std::uint8_t> bytes, int delay_ms,
                          std::string text) const {
  if (config_.silent) {
    out.push_back({RecorderAction::kNote, {}, 0, "silent: " + text + " not sent"});
    return;
  }
  if (rate_ > config_.max_rate) {
    out.push_back({RecorderAction::kNote, {}, 0, "above the highest rate: " + text + " not sent"});
    return;
  }
  const bool garbled = config_.garble_above > 0 && rate_ > config_.garble_above;
  out.push_back({RecorderAction::kReply, std::move(bytes), delay_ms, std::move(text), garbled});
}

}  // namespace pulvitra::sim
