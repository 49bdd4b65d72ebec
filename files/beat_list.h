// The beat list export: one CSV row per counted beat, for spreadsheets and statistics
// programs. No patient data goes into it.
#pragma once

#include <QByteArray>

#include "files/export_timeline.h"

namespace pulvitra {

// The header row "beat,time_s,rr_ms,rate_per_min,start_record,event,in_limits", then one row
// per beat: its number, its time in seconds with three decimals, RR in ms, the stored rate in
// the shortest form that reads back as exactly that value, its start-record and event bits
// (0/1) and whether its rate lies between the limit positions limit1 and limit2. Comma
// separated, "." as the decimal point, lines ending in "\n", UTF-8 (only ASCII occurs).
QByteArray beat_list_csv(const ExportTimeline& timeline, int limit1, int limit2);

}  // namespace pulvitra
