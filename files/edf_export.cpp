#include "files/edf_export.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <algorithm>
#include <array>
#include <edflib.h>

namespace pulvitra {

namespace {

constexpr int kDigitalMinimum = 0;
constexpr int kDigitalMaximum = 250;
constexpr int kMaxAnnotationSignals = 64;  // EDFlib's limit; each holds one annotation per record
// EDF dates count years 85..99 as the 1900s: a start before 1985 has no place in the header.
constexpr int kFirstEdfYear = 1985;
// Onsets are counted in units of 100 microseconds.
constexpr long long kOnsetUnitsPerMs = 10;

// Fixed header fields (offsets in bytes).
constexpr int kRecordingFieldOffset = 88;
constexpr int kRecordingFieldWidth = 80;
constexpr int kRecordDurationOffset = 244;
constexpr int kRecordDurationWidth = 8;

const char kUnknownStartdate[] = "Startdate X";

// A record lasts 100 x interval ms = interval / 10 s, always written with one decimal at most:
// EDFlib prints some of these durations a hair short ("1.199999" for 1.2 s), and its own reader
// then rejects the file.
QByteArray record_duration_field(int interval_ms) {
  QByteArray text = QByteArray::number(interval_ms / 10);
  if (interval_ms % 10 != 0) text += '.' + QByteArray::number(interval_ms % 10);
  return text.leftJustified(kRecordDurationWidth, ' ', true);
}

// The recording field with its start date replaced by "X" (unknown).
QByteArray unknown_startdate(const QByteArray& field) {
  const QByteArray prefix = "Startdate ";
  if (!field.startsWith(prefix)) return field;
  const qsizetype end_of_date = field.indexOf(' ', prefix.size());
  const QByteArray rest = end_of_date >= 0 ? field.mid(end_of_date) : QByteArray();
  return (kUnknownStartdate + rest).leftJustified(kRecordingFieldWidth, ' ', true);
}

QString patient_name(const PatientFields& fields) {
  const QString surname = ascii_transliteration(fields.surname).trimmed();
  const QString first_name = ascii_transliteration(fields.first_name).trimmed();
  if (surname.isEmpty() || first_name.isEmpty()) return surname + first_name;
  return surname + QLatin1Char('_') + first_name;
}

struct Annotation {
  long long onset;
  const char* text;
};

std::vector<Annotation> annotations(const ExportTimeline& timeline) {
  std::vector<Annotation> out;
  for (const ExportBeat& beat : timeline.beats) {
    const long long onset = beat.time_ms * kOnsetUnitsPerMs;
    out.push_back({onset, "N"});
    if (beat.flags & kFlagStartRecord) out.push_back({onset, "Start of measurement"});
    if (beat.flags & kFlagCode254) out.push_back({onset, "Event"});
  }
  return out;
}

// EDFlib's handle, closed on every way out.
class EdfWriter {
 public:
  explicit EdfWriter(const QString& path)
      : handle_(edfopen_file_writeonly(QFile::encodeName(path).constData(), EDFLIB_FILETYPE_EDFPLUS, 1)) {}
  ~EdfWriter() {
    if (handle_ >= 0) edfclose_file(handle_);
  }
  int handle() const { return handle_; }
  // Closes the file, writing the annotations; false when that failed.
  bool close() {
    const int rc = edfclose_file(handle_);
    handle_ = -1;
    return rc == 0;
  }

 private:
  int handle_;
};

// The start date the header can hold; nothing when it is unknown or lies before 1985.
std::optional<QDate> header_start_date(const PatientFields& fields) {
  const std::optional<QDate> date = recording_date(fields.date);
  if (date && date->year() >= kFirstEdfYear) return date;
  return std::nullopt;
}

QString header_fields(int h, const ExportTimeline& timeline, const PatientFields& fields, int annotation_signals) {
  // An unknown date goes in as the first EDF day and is then marked unknown ("X").
  const QDate start = header_start_date(fields).value_or(QDate(kFirstEdfYear, 1, 1));
  const QByteArray code = ascii_transliteration(fields.patient_id).trimmed().toLatin1();
  const QByteArray name = patient_name(fields).toLatin1();
  bool ok = edf_set_samplefrequency(h, 0, kEdfRecordSamples) == 0 &&
            edf_set_datarecord_duration(h, timeline.interval_ms * 10000) == 0 &&
            edf_set_digital_minimum(h, 0, kDigitalMinimum) == 0 && edf_set_digital_maximum(h, 0, kDigitalMaximum) == 0 &&
            edf_set_physical_minimum(h, 0, kDigitalMinimum) == 0 && edf_set_physical_maximum(h, 0, kDigitalMaximum) == 0 &&
            edf_set_label(h, 0, "ECG") == 0 && edf_set_physical_dimension(h, 0, "") == 0 &&
            edf_set_number_of_annotation_signals(h, annotation_signals) == 0 &&
            edf_set_patientcode(h, code.constData()) == 0 && edf_set_patientname(h, name.constData()) == 0 &&
            edf_set_equipment(h, "Kordamat") == 0 &&
            edf_set_startdatetime(h, start.year(), start.month(), start.day(), 0, 0, 0) == 0;
  if (ok && fields.sex == kSexFemale) ok = edf_set_gender(h, 0) == 0;
  if (ok && fields.sex == kSexMale) ok = edf_set_gender(h, 1) == 0;
  return ok ? QString() : QStringLiteral("the EDF+ header was refused");
}

int number_at(const QByteArray& bytes, qsizetype offset, qsizetype width) {
  bool ok = false;
  const int value = bytes.mid(offset, width).trimmed().toInt(&ok);
  return ok ? value : -1;
}

// Whether the file EDFlib wrote is whole: EDFlib reports no failed write (a full disk leaves a
// cut-off file behind a success), so the length must be what its own header promises.
bool complete_file(const QByteArray& bytes, long long records) {
  if (bytes.size() < 256) return false;
  const int signal_count = number_at(bytes, 252, 4);
  const int header_bytes = number_at(bytes, 184, 8);
  if (signal_count < 1 || header_bytes != 256 * (signal_count + 1) || bytes.size() < header_bytes) return false;
  if (number_at(bytes, 236, 8) != records) return false;
  long long record_bytes = 0;
  for (int i = 0; i < signal_count; ++i) {
    const int samples = number_at(bytes, 256 + 216 * signal_count + 8 * i, 8);
    if (samples < 1) return false;
    record_bytes += 2LL * samples;
  }
  return bytes.size() == header_bytes + records * record_bytes;
}

// The header fixes EDFlib cannot make itself: the exact record duration, an unknown date.
QString patch_header(QByteArray& bytes, int interval_ms, bool known_date) {
  if (bytes.size() < kRecordDurationOffset + kRecordDurationWidth) return QStringLiteral("the EDF+ file is cut short");
  bytes.replace(kRecordDurationOffset, kRecordDurationWidth, record_duration_field(interval_ms));
  if (!known_date) {
    bytes.replace(kRecordingFieldOffset, kRecordingFieldWidth,
                  unknown_startdate(bytes.mid(kRecordingFieldOffset, kRecordingFieldWidth)));
  }
  return {};
}

}  // namespace

QString ascii_transliteration(const QString& text) {
  static const std::array<std::pair<char16_t, const char*>, 27> kSpelt = {{
      {u'ä', "ae"}, {u'ö', "oe"}, {u'ü', "ue"}, {u'Ä', "Ae"}, {u'Ö', "Oe"}, {u'Ü', "Ue"}, {u'ß', "ss"},
      {u'ẞ', "SS"}, {u'Æ', "AE"}, {u'æ', "ae"}, {u'Œ', "OE"}, {u'œ', "oe"}, {u'Ø', "O"},  {u'ø', "o"},
      {u'Ð', "D"},  {u'ð', "d"},  {u'Þ', "Th"}, {u'þ', "th"}, {u'Ł', "L"},  {u'ł', "l"},  {u'€', "EUR"},
      {u'‘', "'"},  {u'’', "'"},  {u'‚', "'"},  {u'“', "\""}, {u'”', "\""}, {u'„', "\""},
  }};
  QString out;
  for (const QChar c : text) {
    const auto spelt = std::find_if(kSpelt.begin(), kSpelt.end(), [&](const auto& entry) { return entry.first == c.unicode(); });
    if (spelt != kSpelt.end()) {
      out += QLatin1String(spelt->second);
      continue;
    }
    if (c == u'–' || c == u'—') {
      out += QLatin1Char('-');
      continue;
    }
    // Compatibility decomposition: é -> e + accent, "…" -> "...", then only printable ASCII stays.
    for (const QChar part : QString(c).normalized(QString::NormalizationForm_KD)) {
      if (part.unicode() >= 0x20 && part.unicode() < 0x7F) out += part;
    }
  }
  return out;
}

std::optional<QDate> recording_date(const QString& date_field) {
  static const QRegularExpression kPattern(QStringLiteral("^(\\d\\d)\\.(\\d\\d)\\.(\\d\\d)$"));
  const QRegularExpressionMatch match = kPattern.match(date_field.trimmed());
  if (!match.hasMatch()) return std::nullopt;
  const int yy = match.captured(3).toInt();
  const QDate date(yy >= 80 ? 1900 + yy : 2000 + yy, match.captured(2).toInt(), match.captured(1).toInt());
  if (!date.isValid()) return std::nullopt;
  return date;
}

EdfFile edf_file_bytes(const ExportTimeline& timeline, const PatientFields& fields) {
  EdfFile out;
  const std::vector<Annotation> notes = annotations(timeline);
  const auto sample_count = static_cast<long long>(timeline.samples.size());
  // An EDF file holds at least one record, even of padding alone.
  const long long records = std::max(1LL, (sample_count + kEdfRecordSamples - 1) / kEdfRecordSamples);
  const long long needed_signals = (static_cast<long long>(notes.size()) + records - 1) / records;
  if (needed_signals > kMaxAnnotationSignals) {
    out.error = QStringLiteral("too many beats and marks for an EDF+ file of %1 records").arg(records);
    return out;
  }
  const int annotation_signals = static_cast<int>(std::max(1LL, needed_signals));
  if (timeline.interval_ms < 1 || timeline.interval_ms > 255) {
    out.error = QStringLiteral("no sample interval");
    return out;
  }

  QTemporaryFile temporary(QDir::tempPath() + QStringLiteral("/pulvitra-export-XXXXXX.edf"));
  if (!temporary.open()) {
    out.error = temporary.errorString();
    return out;
  }
  temporary.close();
  {
    EdfWriter writer(temporary.fileName());
    const int h = writer.handle();
    if (h < 0) {
      out.error = QStringLiteral("cannot write a temporary EDF+ file");
      return out;
    }
    out.error = header_fields(h, timeline, fields, annotation_signals);
    if (!out.error.isEmpty()) return out;
    std::array<int, kEdfRecordSamples> record{};
    for (long long r = 0; r < records; ++r) {
      for (int i = 0; i < kEdfRecordSamples; ++i) {
        const long long k = r * kEdfRecordSamples + i;
        record[i] = k < sample_count ? timeline.samples[k] : kEdfPadding;
      }
      if (edfwrite_digital_samples(h, record.data()) != 0) {
        out.error = QStringLiteral("cannot write the EDF+ samples");
        return out;
      }
    }
    for (const Annotation& note : notes) {
      if (edfwrite_annotation_utf8(h, note.onset, -1, note.text) != 0) {
        out.error = QStringLiteral("cannot write the EDF+ annotations");
        return out;
      }
    }
    if (!writer.close()) {
      out.error = QStringLiteral("cannot finish the EDF+ file");
      return out;
    }
  }
  QFile written(temporary.fileName());
  if (!written.open(QIODevice::ReadOnly)) {
    out.error = written.errorString();
    return out;
  }
  out.bytes = written.readAll();
  if (!complete_file(out.bytes, records)) {
    out.bytes.clear();
    out.error = QStringLiteral("the temporary EDF+ file could not be written whole");
    return out;
  }
  out.error = patch_header(out.bytes, timeline.interval_ms, header_start_date(fields).has_value());
  if (!out.error.isEmpty()) out.bytes.clear();
  return out;
}

}  // namespace pulvitra
