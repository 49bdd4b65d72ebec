#include "app/export_action.h"

#include "app/patient_page.h"
#include "app/tmain.h"
#include "app/tselprinter.h"
#include "app/view_pages.h"
#include "files/export_file.h"
#include "shell/dialogs.h"
#include "shell/language.h"

namespace pulvitra {

void export_recording(TMain& main) {
  if (!printable_or_say_so(main)) return;
  const QString name = dialogs().save_file_name(
      lang_text(QStringLiteral("Exportieren"), QStringLiteral("Export")), main.patient->dialog_folder(),
      lang_text(QStringLiteral("Schlagliste|*.csv|EDF+|*.edf"), QStringLiteral("Beat list|*.csv|EDF+|*.edf")),
      QString(), QStringLiteral("csv"));
  if (name.isEmpty()) return;
  const ExportTimeline timeline = export_timeline(main.ekg, main.decoder.FixedInterval, main.decoder.last_decode);
  const ViewState& state = main.views->state();
  const WriteResult written =
      write_export(name, export_format_for(name).value_or(ExportFormat::kBeatList), timeline, main.patient->fields(), state.limit1, state.limit2);
  if (!written.ok) {
    dialogs().message(DlgIcon::Exclamation, DlgButtons::Ok, table_text(QStringLiteral("txt_file_error")),
                      with_system_reason(table_text(QStringLiteral("txt_save_error")), written.system_error));
  }
}

}  // namespace pulvitra
