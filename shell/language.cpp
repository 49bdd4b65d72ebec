#include "shell/language.h"

#include <QHash>

namespace pulvitra {

Language cur_lang = kGerman;

namespace {

struct TextPair {
  QString german;
  QString english;
};

// Lines of a multi-line message are separated by CR LF; an empty line is two in a row.
QString lines(std::initializer_list<const char*> parts) {
  QString text;
  bool first = true;
  for (const char* part : parts) {
    if (!first) text += QStringLiteral("\r\n");
    text += QString::fromUtf8(part);
    first = false;
  }
  return text;
}

QHash<QString, TextPair> filled_language_table() {
  QHash<QString, TextPair> t;
  auto put = [&t](const char* key, const QString& german, const QString& english) {
    t.insert(QString::fromLatin1(key), TextPair{german, english});
  };
  auto one = [&put](const char* key, const char* german, const char* english) {
    put(key, QString::fromUtf8(german), QString::fromUtf8(english));
  };

  one("txt_title_ecg_zoom", "EKG-Zoom", "ECG zoom");
  one("txt_title_trend", "Trend-Diagramm", "Trend diagram");
  one("txt_title_histogram", "Histogramm", "Histogram");
  one("txt_stat_mean", "Mittelwert: ", "Average value: ");
  one("txt_stat_sd", "Standardabweichung: ", "Standard deviation: ");
  one("txt_stat_cv", "Varianzkoeffizient: ", "Variational coefficient: ");
  one("txt_stat_limits", "bei folgenden Grenzen:", "at following limits:");
  one("txt_stat_lower", "Untere Grenze: ", "Lower limit value: ");
  one("txt_stat_upper", "Obere Grenze: ", "Upper limit value: ");
  one("txt_stat_mean_short", "Mittelwert:", "Average value:");
  one("txt_title_lorenz", "Lorenz-Diagramm", "Lorenz's diagram");
  one("txt_connection_error", "Verbindungsfehler", "Connection error");
  one("txt_upload_ok_caption", "Übertragung beendet", "Transmission completed");
  one("txt_upload_failed_caption", "Übertragung beendet", "Transmission aborted");
  one("txt_button_upload_start", "Datenübernahme starten", "Start transmission");
  one("txt_button_upload_stop", "Datenübernahme stoppen", "Stop transmission");
  one("txt_online_warning_caption", "Achtung!", "Attention!");
  one("txt_status_inactive", "Deaktiv", "Inactive!");
  one("txt_file_error", "Dateifehler", "File error");
  one("txt_please_note", "Bitte beachten:", "Please note:");
  one("txt_hist_upper_left", "<- Oberer Grenzwert", "<- Upper limit value");
  one("txt_hist_lower_right", "Unterer Grenzwert ->", "Lower limit value ->");
  one("txt_hist_lower_left", "<- Unterer Grenzwert", "<- Lower limit value");
  one("txt_hist_upper_right", "Oberer Grenzwert ->", "Upper limit value ->");
  one("txt_rep_page", "-Seite ", "-page ");
  one("txt_rep_title", "EKG-Auswertungsbericht --------------- ", "ECG evaluation report --------------- ");
  one("txt_rep_patient", "Patient: ", "Patient: ");
  one("txt_rep_plural", "e", "s");
  one("txt_rep_age", "Alter", "Age");
  one("txt_rep_year", "Jahr", "Year");
  one("txt_discard_caption", "Das aktuelle Projekt ist nicht gesichert", "The current project is not saved");
  one("txt_no_print_data", "Keine druckbaren Daten verfügbar!", "No printable data available!");
  one("txt_no_print_caption", "Drucken", "Printer");
  one("txt_wiz_next", "&Weiter >", "&Next >");
  one("txt_wiz_finish", "&Fertigstellen", "&Finish");
  one("txt_wiz_done", "&Fertig", "&Finish");

  put("txt_link_lost",
      lines({"Verbindung unterbrochen oder Kordamat ausgeschaltet!", "",
             "Überprüfen Sie Kordamat und Verbindung und starten sie die Übertragung erneut"}),
      lines({"Contact disconnected or Kordamat switched off!", "",
             "Check Kordamat and connection and start transmission again"}));
  put("txt_no_device",
      lines({"Kordamat falsch angeschlossen oder nicht eingeschaltet!", "",
             "Überprüfen Sie Kordamat und Verbindung und starten sie die Übertragung erneut"}),
      lines({"Kordamat is wrong connected or not switched on!", "",
             "Check Kordamat and connection and start transmission again!"}));
  put("txt_upload_ok",
      lines({"Übertragung erfolgreich beendet!", "", "Auf den folgenden Seiten werden die Daten ausgewertet."}),
      lines({"Transmission completed successful!", "", "On the following pages the data will be evaluated."}));
  put("txt_upload_failed",
      lines({"Übertragung erfolglos beendet!", "", "Die Daten werden nicht ausgewertet."}),
      lines({"Transmission completed unsuccessful!", "", "The data won't be evaluated."}));
  put("txt_online_warning",
      lines({"Die Nutzung des Online Modus am Patienten, ist nur unter", "",
             "Verwendung eines PCs nach Norm IEC 950 erlaubt!", "",
             "Möchten Sie dennoch fortsetzen, wählen Sie bitte Ja."}),
      lines({"Using the online mode at the patient is allowed by using", "",
             "a PC which fulfills guideline IEC 950 only!", "",
             "If you would like to continue, please choose Yes."}));
  put("txt_save_error",
      lines({"Beim Speichern der Datei ist ein Fehler aufgetreten!", "",
             "Möglicherweise ist die Datei von einer anderen Anwendung belegt."}),
      lines({"An error has occurred while saving the file!", "", "The file is possibly used by another program."}));
  put("txt_not_a_file",
      lines({"Die geöffnete Datei ist keine Pulvitra Datei!", "", "Wählen Sie bitte eine andere Datei aus."}),
      lines({"The opened file is not a Pulvitra file!", "", "Please choose another file."}));
  put("txt_file_multi",
      lines({"Die geöffnete Datei enthält", "", "wahrscheinlich mehrere Messungen."}),
      lines({"The opened file contains", "", "probably several measurings."}));
  put("txt_open_error",
      lines({"Beim Öffnen der Datei ist ein Fehler aufgetreten!", "",
             "Möglicherweise ist die Datei von einer anderen Anwendung belegt."}),
      lines({"An error has occurred while opening the file!", "", "The file is possibly used by another program."}));
  put("txt_discard_question",
      lines({"Mit der nächsten Aktion wird das aktuelle Projekt verloren gehen", "",
             "Möchten Sie dennoch fortsetzen, wählen Sie bitte Ja."}),
      lines({"The next action will delete the current project", "",
             "If you would like to continue, please choose Yes"}));
  return t;
}

const QHash<QString, TextPair>& language_table() {
  static const QHash<QString, TextPair> table = filled_language_table();
  return table;
}

}  // namespace

QString lang_text(Language language, const QString& german, const QString& english) {
  return language == kEnglish ? english : german;
}

QString lang_text(const QString& german, const QString& english) {
  if (cur_lang == 0 || cur_lang > 2) cur_lang = kGerman;
  return lang_text(cur_lang, german, english);
}

QString table_text(Language language, const QString& key) {
  const auto& t = language_table();
  auto it = t.constFind(key);
  if (it == t.constEnd()) return QString();
  return lang_text(language, it->german, it->english);
}

QString table_text(const QString& key) {
  if (cur_lang == 0 || cur_lang > 2) cur_lang = kGerman;
  return table_text(cur_lang, key);
}

QString with_system_reason(const QString& message, const QString& reason) {
  if (reason.isEmpty()) return message;
  return message + QStringLiteral("\r\n\r\n") +
         lang_text(QStringLiteral("Meldung des Systems: "), QStringLiteral("System message: ")) + reason;
}

}  // namespace pulvitra
