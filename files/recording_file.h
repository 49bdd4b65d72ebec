// The recording file (".pul"): a 512-byte header with the patient data, then the 32768 bytes
// of the device image exactly as uploaded. Always 33280 bytes. Texts are Windows-1252 in
// fixed-width fields without length bytes.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "recording/tekg.h"
#include "shell/file_replace.h"

namespace pulvitra {

inline constexpr int kHeaderSize = 512;
inline constexpr int kRecordingFileSize = kHeaderSize + kImageSize;  // 33280

// Item index of the sex radio group.
inline constexpr int kSexNone = -1;
inline constexpr int kSexFemale = 0;
inline constexpr int kSexMale = 1;

// The patient page's fields as plain data.
struct PatientFields {
  QString surname;     // Edit1
  QString first_name;  // Edit2
  QString date;        // MaskEdit1, dd.mm.yy
  QString address;     // Edit3
  QString clinic;      // Edit4
  QString patient_id;  // Edit5
  int age = 0;         // SpinEdit4; stored clamped to 0..255
  int sex = kSexNone;  // RadioGroup2 item
  QString comment;     // Edit6

  bool operator==(const PatientFields&) const = default;
};

// The header as the program loads it: the surname up to its zero byte, the other texts
// through clean_text, the date rebuilt, sex kSexNone when the byte is neither 0x10 nor 0x20,
// a stored blank as the fixed interval counting as 0. When the magic does not match, only
// magic_ok is meaningful.
struct RecordingHeader {
  bool magic_ok = false;
  PatientFields fields;
  std::uint8_t fixed_interval = 0;
};

// The 512 header bytes.
QByteArray encode_header(const PatientFields& fields, std::uint8_t fixed_interval);
// Reads a header; fewer than 512 bytes never match the magic.
RecordingHeader decode_header(const QByteArray& header);

// The whole file: header, then ekg.Image[1..32768].
QByteArray encode_recording_file(const PatientFields& fields, std::uint8_t fixed_interval, const TEKG& ekg);

enum class ReadStatus {
  Ok,
  CannotOpen,     // missing, unreadable, or not a regular file (a FIFO, a device, a folder)
  NotARecording,  // the magic does not match, whatever the length
  TooShort,       // the magic, but under 33280 bytes
  ReadError,      // the system failed while reading
};

struct RecordingFile {
  ReadStatus status = ReadStatus::CannotOpen;
  RecordingHeader header;  // filled from Ok and NotARecording on
  QByteArray image;        // 32768 bytes when Ok, else empty
  qint64 bytes_found = 0;  // for TooShort: how many bytes the file had
  QString system_error;    // for CannotOpen and ReadError
};

// Reads and checks a whole file; nothing is taken over by the caller unless status is Ok.
RecordingFile read_recording_file(const QString& path);

// Whether path is a regular file that begins with the recording magic: a file no export or
// report may take the place of.
bool holds_recording(const QString& path);
// The reason given when an output would take the place of a recording.
QString recording_not_overwritten();

// Copies 32768 image bytes into ekg.Image[1..32768]; a shorter array fills only its length.
void copy_image(const QByteArray& image, TEKG& ekg);

// encode_recording_file + write_file_replacing.
WriteResult save_recording_file(const QString& path, const PatientFields& fields, std::uint8_t fixed_interval,
                                const TEKG& ekg);

// A text for the general error report when read_recording_file did not give Ok for a
// reason no message box of the program covers (TooShort, ReadError); names the file.
QString read_failure_text(const RecordingFile& file, const QString& path);

}  // namespace pulvitra
