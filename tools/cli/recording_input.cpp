#include "tools/cli/recording_input.h"

#include <cstdio>

#include "shell/language.h"
#include "shell/native_name.h"

namespace pulvitra::cli {

QString file_error_text(const RecordingFile& file, const QString& name) {
  const QString path = shown_name(name);
  switch (file.status) {
    case ReadStatus::CannotOpen:
      return lang_text(QStringLiteral("Die Datei %1 lässt sich nicht öffnen: %2"), QStringLiteral("cannot open %1: %2"))
          .arg(path, file.system_error);
    case ReadStatus::NotARecording:
      return lang_text(QStringLiteral("%1 ist keine Aufzeichnungsdatei (kein Kopf \"KORDAMAT File\")"),
                       QStringLiteral("%1 is not a recording file (no \"KORDAMAT File\" header)"))
          .arg(path);
    case ReadStatus::TooShort:
    case ReadStatus::ReadError:
      return read_failure_text(file, path);
    case ReadStatus::Ok:
      break;
  }
  return {};
}

RecordingInput read_recording(const QString& path) {
  RecordingInput input;
  input.file = read_recording_file(path);
  if (input.file.status == ReadStatus::Ok) {
    input.ekg = std::make_unique<TEKG>();
    clear_recording(*input.ekg);
    copy_image(input.file.image, *input.ekg);
    input.decoder.FixedInterval = input.file.header.fixed_interval;
  }
  return input;
}

std::optional<RecordingInput> open_recording(const QString& path, Accept accept) {
  RecordingInput input = read_recording(path);
  const ReadStatus status = input.file.status;
  if (status != ReadStatus::Ok && !(accept == Accept::kHeader && status == ReadStatus::NotARecording)) {
    std::fprintf(stderr, "pulvitra-cli: %s\n", file_error_text(input.file, path).toLocal8Bit().constData());
    return std::nullopt;
  }
  return input;
}

DecodeResult decode(RecordingInput& input) { return decode_recording(*input.ekg, input.decoder); }

}  // namespace pulvitra::cli
