#include "app/captions.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <deque>
#include <string>

#include "app/radio_group.h"
#include "app/tmain.h"
#include "views/view_table.h"

namespace pulvitra {

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

// The tabs of the view pages, named "page:N" as the notebook counts its pages, with the
// captions of the table of the views.
std::vector<CaptionEntry> view_page_captions() {
  static std::deque<std::string> names;  // the entries point into it; a deque never moves them
  std::vector<CaptionEntry> entries;
  int page = kPageOverview;
  for (const ViewDescription* view : views_with_pages()) {
    names.push_back("page:" + std::to_string(page++));
    entries.push_back({names.back().c_str(), u(view->german), u(view->english), {}, {}});
  }
  return entries;
}

}  // namespace

const std::vector<CaptionEntry>& main_window_captions() {
  static const std::vector<CaptionEntry> table = {
      {"GroupBox2", u("Patientendaten"), u("Patient data"), {}, {}},
      {"Label3", u("Na&chname"), u("Nam&e"), {}, {}},
      {"Label6", u("&Vorname"), u("&First name"), {}, {}},
      {"Label7", u("&Anschrift"), u("&Address"), {}, {}},
      {"Label8", u("A&lter"), u("A&ge"), {}, {}},
      {"Label9", u("Dat&um"), u("&Date"), {}, {}},
      {"Label4", u("&Klinik"), u("&Clinic"), {}, {}},
      {"Label10", u("Patienten &ID"), u("Patient &ID"), {}, {}},
      {"Label11", u("Kommen&tar"), u("Commen&t"), {}, {}},
      {"RadioGroup2", u("Geschle&cht"), u("Sex"), {}, {u("fema&le"), u("&male")}},
      {"Button1", u("&Neu"), u("&New"), u("Reset all data"), {}},
      {"Button6", u("Ö&ffnen"), u("&Open"), u("Open ECG data"), {}},
      {"Button7", u("&Speichern"), u("&Save"), {}, {}},
      {"Button8", u("Speichern &unter..."), u("Sa&ve as..."), {}, {}},
      {"Button9", u("&D&rucken"), u("P&rint"), {}, {}},
      {"Button2", u("Pulvitra&-Assistent"), u("Pulvitra &wizard"), {}, {}},
      {"Button5", u("&Hilfe"), u("Hel&p"), {}, {}},
      {"CheckBox1", u("Hintergrund"), u("Background"), {}, {}},
      {"GroupBox4", u("Kordamat Einstellungen"), u("Kordamat settings"), {}, {}},
      {"Label35", u("COM-Port:"), u("COM port:"), {}, {}},
      {"Label22", u("Das Kordamat muß mit folgender"), u("The Kordamat must be connected with"), {}, {}},
      {"Label23", u("seriellen Schnittstelle verbunden sein:"), u("the following serial interface:"), {}, {}},
      {"Label13", u("- an serielle Schnittstelle anschliessen"), u("- connect to serial interface"), {}, {}},
      {"Label14", u("- Kordamat einschalten und"), u("- Switch on the Kordamat and"), {}, {}},
      {"Label18", u("Auslesen gespeicherter EKG-Daten"), u("Upload of stored ECG data"), {}, {}},
      {"Label19", u("Fortschritt:"), u("Progress:"), {}, {}},
      {"Button3", u("Datenübernahme starten"), u("Start &transmission"), {}, {}},
      {"Label1", u("- Elektrodenkontakt herstellen"), u("- Make electrode contact"), {}, {}},
      {"Label17", u("Kontinuierliches Auslesen von EKG-Daten"), u("Continuous upload of ECG data"), {}, {}},
      {"Button4", u("Online - Modus"), u("online mode"), {}, {}},
      {"Panel6", u("Deaktiv"), u("Inactive"), {}, {}},
      {"Label25", u("Rot:"), u("Red:"), {}, {}},
      {"Label33", u("Rot:"), u("Red:"), {}, {}},
      {"Label26", u("Blau:"), u("Blue:"), {}, {}},
      {"Label27", u("Grün:"), u("Green:"), {}, {}},
      {"Label31", u("Grün:"), u("Green:"), {}, {}},
      {"Label28", u("Marker"), u("Marking"), {}, {}},
      {"Label34", u("Marker"), u("Marking"), {}, {}},
      {"Label29", u("Pace-Marken"), u("Pace marking"), {}, {}},
      {"Label30", u("Beginn/End-Marken"), u("Start/ End marking"), {}, {}},
      {"Label37", u("Beginn/End-Marken"), u("Start/ End marking"), {}, {}},
      {"RadioGroup3", u("&Scala"), u("&Scale"), {},
       {u("&Pulse period duration ( ms )"), u("Heart &rate ( 1 / min )")}},
      {"RadioGroup1", u("&X"), u("&X"), {}, {u("Time"), u("Pages")}},
      {"Label5", u("Unterer Grenzwert ->"), u("Lower limit value ->"), {}, {}},
      {"Label12", u("<- Oberer Grenzwert"), u("<- Upper limit value"), {}, {}},
      {"Label16", u("Mit den Grenzwertgebern können kleine, nicht signifikante Werte herausgefiltert werden."),
       u("Small, non significant values could be filtered out using the limit bars."), {}, {}},
      {"Label53", u("Schläge zwischen den Grenzwerten des Histogramms"), u("Beats between the histogram's limits"), {}, {}},
      {"Help1", u("Hilfe"), u("Help"), {}, {}},
      {"P2C1", u("Drucken"), u("Print"), {}, {}},
      {"P2C3", u("Exportieren..."), u("Export..."), {}, {}},
      {"P2C2", u("Hilfe"), u("Help"), {}, {}},
  };
  static const std::vector<CaptionEntry> with_view_pages = [] {
    std::vector<CaptionEntry> all = table;
    for (CaptionEntry& entry : view_page_captions()) all.push_back(std::move(entry));
    return all;
  }();
  return with_view_pages;
}

void apply_english_captions(QWidget* root) { apply_english_captions(root, main_window_captions()); }

void apply_english_captions(QWidget* root, const std::vector<CaptionEntry>& table) {
  for (const CaptionEntry& e : table) {
    const QString name = QString::fromLatin1(e.control);
    if (name.startsWith(QLatin1String("page:"))) {
      if (auto* book = root->findChild<QTabWidget*>(QStringLiteral("TabbedNotebook1")))
        book->setTabText(name.mid(5).toInt(), e.english);
      continue;
    }
    if (auto* action = root->findChild<QAction*>(name)) {
      action->setText(e.english);
      continue;
    }
    QWidget* w = root->findChild<QWidget*>(name);
    if (!w) continue;
    if (auto* group = qobject_cast<RadioGroup*>(w)) {
      group->setTitle(e.english);
      if (!e.english_items.isEmpty()) group->setItems(e.english_items);
    } else if (auto* box = qobject_cast<QGroupBox*>(w)) {
      box->setTitle(e.english);
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
      label->setText(e.english);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
      button->setText(e.english);
    }
    if (!e.english_hint.isEmpty()) w->setToolTip(e.english_hint);
  }
}

}  // namespace pulvitra
