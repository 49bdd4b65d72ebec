#include "files/recording_file.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "shell/language.h"
#include "files/cp1252.h"
#include "files/patient_text.h"

namespace pulvitra {

namespace {

constexpr char kMagic[] = "KORDAMAT File";  // 13 characters; the header adds a zero byte
constexpr int kMagicLength = 13;

struct TextField {
  int offset;
  int width;
};
constexpr TextField kSurname{14, 18};
constexpr TextField kDate{32, 12};
constexpr TextField kClinic{44, 25};
constexpr TextField kComment{69, 75};
constexpr TextField kFirstName{144, 15};
constexpr TextField kAddress{159, 48};
constexpr TextField kPatientId{207, 15};
constexpr int kAgeOffset = 222;
constexpr int kSexOffset = 223;
constexpr int kFixedIntervalOffset = 511;

constexpr char kFemaleByte = 0x10;
constexpr char kMaleByte = 0x20;

// The text, one blank, one zero byte, then blanks; all of it cut to the field's width.
void put_text(QByteArray& header, TextField field, const QString& text) {
  QByteArray bytes = to_cp1252(text);
  bytes.append(' ');
  bytes.append('\0');
  bytes = bytes.left(field.width);
  std::copy(bytes.begin(), bytes.end(), header.begin() + field.offset);
}

QByteArray field_bytes(const QByteArray& header, TextField field) { return header.mid(field.offset, field.width); }

QString cleaned(const QByteArray& header, TextField field) {
  return clean_text(from_cp1252(field_bytes(header, field)));
}

QString surname_of(const QByteArray& header) {
  QByteArray bytes = field_bytes(header, kSurname);
  const qsizetype zero = bytes.indexOf('\0');
  if (zero >= 0) bytes.truncate(zero);
  return from_cp1252(bytes);
}

int sex_of(char byte) {
  if (byte == kFemaleByte) return kSexFemale;
  if (byte == kMaleByte) return kSexMale;
  return kSexNone;
}

}  // namespace

QByteArray encode_header(const PatientFields& fields, std::uint8_t fixed_interval) {
  QByteArray header(kHeaderSize, ' ');
  std::copy(kMagic, kMagic + kMagicLength + 1, header.begin());
  put_text(header, kSurname, fields.surname);
  put_text(header, kDate, fields.date);
  put_text(header, kClinic, fields.clinic);
  put_text(header, kComment, fields.comment);
  put_text(header, kFirstName, fields.first_name);
  put_text(header, kAddress, fields.address);
  put_text(header, kPatientId, fields.patient_id);
  // The entry field has no bounds; one unsigned byte holds the age.
  header[kAgeOffset] = static_cast<char>(std::clamp(fields.age, 0, 255));
  if (fields.sex == kSexFemale) header[kSexOffset] = kFemaleByte;
  if (fields.sex == kSexMale) header[kSexOffset] = kMaleByte;
  header[kFixedIntervalOffset] = static_cast<char>(fixed_interval);
  return header;
}

RecordingHeader decode_header(const QByteArray& header) {
  RecordingHeader out;
  out.magic_ok = header.size() >= kHeaderSize && header.startsWith(QByteArray(kMagic, kMagicLength));
  if (!out.magic_ok) return out;
  PatientFields& f = out.fields;
  f.surname = surname_of(header);
  f.date = clean_text(rebuild_date(from_cp1252(field_bytes(header, kDate))));
  f.clinic = cleaned(header, kClinic);
  f.comment = cleaned(header, kComment);
  f.first_name = cleaned(header, kFirstName);
  f.address = cleaned(header, kAddress);
  f.patient_id = cleaned(header, kPatientId);
  f.age = static_cast<unsigned char>(header[kAgeOffset]);
  f.sex = sex_of(header[kSexOffset]);
  const auto interval = static_cast<std::uint8_t>(header[kFixedIntervalOffset]);
  out.fixed_interval = interval == 0x20 ? 0 : interval;  // files of older writers padded it with a blank
  return out;
}

QByteArray encode_recording_file(const PatientFields& fields, std::uint8_t fixed_interval, const TEKG& ekg) {
  QByteArray bytes = encode_header(fields, fixed_interval);
  bytes.append(reinterpret_cast<const char*>(ekg.Image.data() + 1), kImageSize);
  return bytes;
}

RecordingFile read_recording_file(const QString& path) {
  RecordingFile out;
  // Opening a FIFO waits for a writer for ever, and a device or a folder is no recording
  // either: refuse anything but a plain file before touching it.
  const QFileInfo info(path);
  if (info.exists() && !info.isFile()) {
    out.system_error = QStringLiteral("not a regular file");
    return out;
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    out.system_error = file.errorString();
    return out;
  }
  const QByteArray header = file.read(kHeaderSize);
  if (file.error() != QFileDevice::NoError) {
    out.status = ReadStatus::ReadError;
    out.system_error = file.errorString();
    return out;
  }
  if (header.size() < kHeaderSize && !header.startsWith(QByteArray(kMagic, kMagicLength))) {
    out.status = ReadStatus::NotARecording;  // too short, but not a recording to begin with
    return out;
  }
  if (header.size() < kHeaderSize) {
    out.status = ReadStatus::TooShort;
    out.bytes_found = header.size();
    return out;
  }
  out.header = decode_header(header);
  if (!out.header.magic_ok) {
    out.status = ReadStatus::NotARecording;
    return out;
  }
  QByteArray image = file.read(kImageSize);
  if (file.error() != QFileDevice::NoError) {
    out.status = ReadStatus::ReadError;
    out.system_error = file.errorString();
    return out;
  }
  if (image.size() < kImageSize) {
    out.status = ReadStatus::TooShort;
    out.bytes_found = kHeaderSize + image.size();
    return out;
  }
  out.image = std::move(image);
  out.status = ReadStatus::Ok;
  return out;
}

bool holds_recording(const QString& path) {
  // Only a regular file (also through a link) is opened: a FIFO would wait for a writer.
  if (!QFileInfo(path).isFile()) return false;
  QFile file(path);
  return file.open(QIODevice::ReadOnly) && file.read(kMagicLength) == QByteArray(kMagic, kMagicLength);
}

QString recording_not_overwritten() {
  return lang_text(QStringLiteral("eine Aufzeichnung, die nicht überschrieben wird"),
                   QStringLiteral("a recording, which is not overwritten"));
}

void copy_image(const QByteArray& image, TEKG& ekg) {
  const qsizetype n = std::min<qsizetype>(image.size(), kImageSize);
  std::copy(image.begin(), image.begin() + n, ekg.Image.begin() + 1);
}

WriteResult save_recording_file(const QString& path, const PatientFields& fields, std::uint8_t fixed_interval,
                                const TEKG& ekg) {
  return write_file_replacing(path, encode_recording_file(fields, fixed_interval, ekg));
}

QString read_failure_text(const RecordingFile& file, const QString& path) {
  if (file.status == ReadStatus::TooShort)
    return lang_text(QStringLiteral("Die Datei %1 ist unvollständig: sie hat %2 statt %3 Bytes"),
                     QStringLiteral("The file %1 is incomplete: it has %2 instead of %3 bytes"))
        .arg(path)
        .arg(file.bytes_found)
        .arg(kRecordingFileSize);
  return lang_text(QStringLiteral("Die Datei %1 konnte nicht gelesen werden: %2"),
                   QStringLiteral("The file %1 could not be read: %2"))
      .arg(path, file.system_error);
}

}  // namespace pulvitra
