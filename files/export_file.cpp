#include "files/export_file.h"

#include "files/beat_list.h"
#include "files/edf_export.h"
#include "shell/language.h"

namespace pulvitra {

std::optional<ExportFormat> export_format_for(const QString& path) {
  if (path.endsWith(QLatin1String(".edf"), Qt::CaseInsensitive)) return ExportFormat::kEdf;
  if (path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)) return ExportFormat::kBeatList;
  return std::nullopt;
}

WriteResult write_export(const QString& path, ExportFormat format, const ExportTimeline& timeline,
                         const PatientFields& fields, int limit1, int limit2) {
  // A name typed in a hurry may be the patient's recording itself.
  if (holds_recording(path)) return {false, recording_not_overwritten()};
  if (format == ExportFormat::kBeatList) return write_file_replacing(path, beat_list_csv(timeline, limit1, limit2));
  const EdfFile edf = edf_file_bytes(timeline, fields);
  if (!edf.error.isEmpty()) return {false, edf.error};
  return write_file_replacing(path, edf.bytes);
}

}  // namespace pulvitra
