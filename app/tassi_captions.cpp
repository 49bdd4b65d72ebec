#include "app/tassi_captions.h"

#include <cstring>

namespace pulvitra {

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

}  // namespace

const std::vector<CaptionEntry>& wizard_captions() {
  static const std::vector<CaptionEntry> table = {
      {"window", u("Pulvitra-Assistent"), u("Pulvitra wizard"), {}, {}},
      // Page 1: welcome.
      {"Label1", u("Pulvitra Assistent"), u("Pulvitra wizard"), {}, {}},
      {"Label2", u("Der Pulvitra-Assistent führt Sie Schritt für Schritt zur Erstellung"),
       u("The Pulvitra wizard guides you step by step"), {}, {}},
      {"Label3", u("einer Pulvitra Auswertung. Um den Assistenten zu benutzen,"),
       u("to an ECG evaluation. To use the wizard,"), {}, {}},
      {"Label4", u("drücken Sie auf [ Weiter >] und folgen Sie den Anweisungen auf "),
       u("press [ Next > ] and follow the instructions"), {}, {}},
      {"Label6", u("dem Bildschirm. Zur Beendigung des Assistenten betätigen Sie"),
       u("on the screen. To close the wizard press"), {}, {}},
      {"Label7", u("[ Abbrechen ].  Über die [ Hilfe ] -Taste gelangen Sie zur Pulvitra"),
       u("[ Cancel ]. Using the [ Help ] button you get"), {}, {}},
      {"Label5", u("Hilfe, wo Sie weiterführende Themen finden."), u("the Pulvitra help with further topics."), {}, {}},
      {"CheckBox1", u("Assistent bei Programmstart"), u("Wizard at program start"), {}, {}},
      {"CheckBox2", u("Hintergrund"), u("Background"), {}, {}},
      // Page 2: the kind of data transmission.
      {"Label17", u("Datenübertragung"), u("Data transmission"), {}, {}},
      {"Label18", u("Zur Datenübertragung bestehen zwei Möglichkeiten:"),
       u("There are two possibilities for data transmission"), {}, {}},
      {"RadioButton1", u("Online-Modus"), u("Online mode"), {}, {}},
      {"Label20", u("...zur \"Echtzeit\"- Auswertung am Patienten."), u("...real-time evaluation at the patient"), {}, {}},
      {"RadioButton2", u("Offline-Modus"), u("Offline mode"), {}, {}},
      {"Label19", u("...zur Übertragung gespeicherter EKG-Daten aus dem"),
       u("...data transmission of stored ECG data from the"), {}, {}},
      {"Label23", u("Kordamat."), u("Kordamat."), {}, {}},
      {"RadioButton3", u("Öffnen vorhandener Pulvitra-Dateien"), u("Open an existing Pulvitra file"), {}, {}},
      // Page 3: the patient.
      {"Label8", u("Patient"), u("Patient"), {}, {}},
      {"Label9", u("Na&chname"), u("Nam&e"), {}, {}},
      {"Label10", u("&Vorname"), u("&First name"), {}, {}},
      {"Label11", u("Dat&um"), u("&Date"), {}, {}},
      {"Label12", u("&Anschrift"), u("&Address"), {}, {}},
      {"Label13", u("&Klinik"), u("&Clinic"), {}, {}},
      {"Label14", u("Patienten &ID"), u("Patient &ID"), {}, {}},
      {"Label15", u("A&lter"), u("A&ge"), {}, {}},
      {"Label16", u("K&ommentar"), u("Commen&t"), {}, {}},
      {"RadioGroup2", u("Geschlec&ht"), u("Sex"), {}, {u("fema&le"), u("&male")}},
      // Page 4: offline instructions.
      {"Label21", u("Offline-Modus"), u("Offline mode"), {}, {}},
      {"Label22", u("Für diese Betriebsart müssen die Daten bereits im Kordamat ge-"),
       u("In this operating mode the data must already be stored in"), {}, {}},
      {"Label24", u("speichert sein. Dazu bitte das Kordamat Handbuch beachten."),
       u("the Kordamat. Please see the Kordamat operating instructions."), {}, {}},
      {"Label25", u("Um die Datenübertragung zu starten, schalten Sie bitte das"),
       u("To start the data transmission, switch on"), {}, {}},
      {"Label26", u("Gerät ein und stellen Sie sicher, daß das Kordamat mit"),
       u("the device and make sure, that the Kordamat"), {}, {}},
      {"Label27", u("folgender Schnittstelle verbunden ist:"), u("is connected with following interface:"), {}, {}},
      {"Label28", u("COM-Port:"), u("COM-Port:"), {}, {}},
      // Page 5: online instructions.
      {"Label29", u("Online-Modus"), u("On-line mode"), {}, {}},
      {"Label30", u("Für diese Betriebsart muß Elektrodenkontakt bestehen."),
       u("In this operating mode must be electrode contact."), {}, {}},
      {"Label31", u("Bei Elektrodenkontakt ist das Kordamat nicht ausschaltbar!"),
       u("The Kordamat cannot be switched off as long as there is"), {}, {}},
      {"Label36", u("Dazu bitte das Kordamat Handbuch beachten. Drücken"),
       u("an electrode contact! Please see the Kordamat operating"), {}, {}},
      {"Label32", u("nun \"ECG-OUT\" und stellen Sie sicher, daß das Kordamat"),
       u("instructions. Press ECG OUT and make sure, that"), {}, {}},
      {"Label34", u("mit folgender Schnittstelle verbunden ist:"),
       u("the Kordamat is connected with following interface:"), {}, {}},
      {"Label35", u("COM-Port:"), u("COM port"), {}, {}},
      // The buttons below the pages.
      {"Button1", u("A&bbrechen"), u("&Cancel"), {}, {}},
      {"Button2", u("&Weiter >"), u("&Next >"), {}, {}},
      {"Button3", u("&Hilfe"), u("&Help"), {}, {}},
      {"Button4", u("< &Zurück"), u("< &Back"), {}, {}},
  };
  return table;
}

QString wizard_german_caption(const char* control) {
  for (const CaptionEntry& e : wizard_captions())
    if (std::strcmp(e.control, control) == 0) return e.german;
  return QString();
}

}  // namespace pulvitra
