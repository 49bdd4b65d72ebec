// Writing an export to a file the user named: the beat list or the EDF+ file, chosen by the
// name's extension, written through a temporary file so that a failure leaves an existing
// file as it was.
#pragma once

#include <QString>
#include <optional>

#include "files/export_timeline.h"
#include "files/recording_file.h"
#include "shell/file_replace.h"

namespace pulvitra {

enum class ExportFormat { kBeatList, kEdf };

// ".edf" in any case is the EDF+ file, ".csv" the beat list; any other name has no format of
// its own (nothing is guessed: a wrong guess could write over a file of another kind).
std::optional<ExportFormat> export_format_for(const QString& path);

// Writes the export, never over an existing recording file; fields go into the EDF+ header only, the limit positions into the beat
// list's in_limits column only.
WriteResult write_export(const QString& path, ExportFormat format, const ExportTimeline& timeline,
                         const PatientFields& fields, int limit1, int limit2);

}  // namespace pulvitra
