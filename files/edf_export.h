// The EDF+ export: the recording's samples as one signal "ECG" with the beats and marks as
// annotations, readable by any EDF+ viewer. Written with EDFlib.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <optional>

#include "files/export_timeline.h"
#include "files/recording_file.h"

namespace pulvitra {

inline constexpr int kEdfRecordSamples = 100;  // samples per data record
inline constexpr int kEdfPadding = 125;        // fills the last record: the recorder's empty-memory value

struct EdfFile {
  QByteArray bytes;
  QString error;  // empty when bytes hold the file
};

// The whole file: the samples at 1000 / interval Hz in records of 100 samples (100 x interval
// ms long), digital and physical values 0..250 without a dimension; an annotation "N" at every
// beat, "Start of measurement" and "Event" at the beats carrying those bits; patient code,
// sex, name "Surname_First name" and the start date from the patient fields, equipment
// "Kordamat". Texts are transliterated to ASCII.
EdfFile edf_file_bytes(const ExportTimeline& timeline, const PatientFields& fields);

// ASCII for the header: German letters spelt out (ä -> ae, ß -> ss), other accents dropped,
// typographic quotes and dashes plain; what has no ASCII form and control characters vanish.
QString ascii_transliteration(const QString& text);

// The date of a "dd.mm.yy" date field, years 80..99 in the 1900s and 00..79 in the 2000s;
// nothing when the field is incomplete or names no calendar day.
std::optional<QDate> recording_date(const QString& date_field);

}  // namespace pulvitra
