#include "tests/support/served_recording.h"

#include <QByteArray>
#include <QFile>

#include "recording/tekg.h"

namespace pulvitra::test {

GeneratedRecording served_recording() {
  GeneratorOptions options;
  options.seed = 4711;
  options.event_every_s = 30;
  return generate_recording(options);
}

GeneratedRecording held_recording() {
  GeneratorOptions options;
  options.seed = 99;
  options.rate = 72;
  return generate_recording(options);
}

void fill_held_recording(TEKG& ekg, DecoderState& decoder) {
  copy_generated_image(held_recording(), ekg);
  DecodeRecording(ekg, decoder);
  ekg.FileName = "/home/clinic/data/smith.pul";
  decoder.FixedInterval = 7;
}

namespace {

void write_served_file(const QString& path) {
  QFile file(path);
  file.open(QIODevice::WriteOnly);
  QByteArray header(512, ' ');
  header.replace(0, 14, QByteArray("KORDAMAT File\0", 14));
  const auto image = served_recording().image;
  file.write(header);
  file.write(reinterpret_cast<const char*>(image.data()), kImageSize);
}

}  // namespace

QStringList serving_arguments(const QTemporaryDir& folder) {
  const QString path = folder.filePath(QStringLiteral("served.pul"));
  write_served_file(path);
  return {QStringLiteral("--image"), path};
}

}  // namespace pulvitra::test
