// How every command that reads a recording file gets it: the file read and checked as the
// window's Open checks it, the file error (if any) on standard error in the language of
// the messages, and the recording loaded and decoded as after Open.
#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "files/recording_file.h"
#include "recording/decoder.h"

namespace pulvitra::cli {

enum class Accept {
  kRecording,  // only a whole recording file
  kHeader,     // a file without the magic too: its header says so (info)
};

struct RecordingInput {
  RecordingFile file;
  std::unique_ptr<TEKG> ekg;  // the file's image, not decoded yet; null unless the file is Ok
  DecoderState decoder;       // as at program start, with the file's fixed interval
};

// Reads the file and prints nothing; ekg is null unless the file is Ok. For a whole
// recording the image is in ekg and decoder.FixedInterval holds the file's interval.
RecordingInput read_recording(const QString& path);

// Reads the file; after a file error (printed) nothing. For a whole recording the image is
// in ekg and decoder.FixedInterval holds the file's interval, as after Open.
std::optional<RecordingInput> open_recording(const QString& path, Accept accept = Accept::kRecording);

// Decodes the loaded image as Open does; the result also holds the kept beat positions.
DecodeResult decode(RecordingInput& input);

// The file error for a file that is not Ok, naming the file, in the current language.
QString file_error_text(const RecordingFile& file, const QString& path);

}  // namespace pulvitra::cli
