#include "app/device_page.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include "app/core/language.h"
#include "app/tmain.h"

namespace pulvitra {

namespace {

template <typename T>
T* make(QWidget* parent, const char* name, int x, int y, int w, int h) {
  auto* widget = new T(parent);
  widget->setObjectName(QLatin1String(name));
  widget->setGeometry(x, y, w, h);
  return widget;
}

QLabel* label(QWidget* parent, const char* name, const char* caption, int x, int y, int w = 260) {
  auto* l = make<QLabel>(parent, name, x, y, w, 16);
  l->setText(QString::fromUtf8(caption));
  return l;
}

}  // namespace

DevicePage::DevicePage(TMain& main, QWidget* page) : QObject(&main), main_(main) { build(page); }

void DevicePage::build(QWidget* page) {
  auto* settings = make<QGroupBox>(page, "GroupBox4", 8, 8, 290, 150);
  settings->setTitle(QStringLiteral("Kordamat Einstellungen"));
  label(settings, "Label22", "Das Kordamat muß mit folgender", 10, 20);
  label(settings, "Label23", "seriellen Schnittstelle verbunden sein:", 10, 36);
  label(settings, "Label35", "COM-Port:", 10, 60, 70);
  make<QComboBox>(settings, "CB_Comport", 90, 58, 80, 21)->setToolTip(QStringLiteral("select communication port"));
  make<QComboBox>(settings, "CB_MaxBaud", 90, 86, 80, 21)->setToolTip(QStringLiteral("select communication speed"));
  auto* test = make<QPushButton>(settings, "Test_button", 180, 58, 100, 23);
  test->setText(QStringLiteral("Test Kordamat"));
  test->setToolTip(QStringLiteral("test KORDAMAT communication"));
  auto* max_baud = make<QPushButton>(settings, "Max_Baud_button", 180, 86, 100, 23);
  max_baud->setText(QStringLiteral("Test Baudrate"));
  max_baud->setToolTip(QStringLiteral("test communication speed"));
  make<QPushButton>(settings, "RAM_Test", 180, 114, 100, 23)->setText(QStringLiteral("RAM Test"));

  auto* upload = make<QGroupBox>(page, "Panel1", 8, 166, 290, 120);
  label(upload, "Label18", "Auslesen gespeicherter EKG-Daten", 10, 8);
  label(upload, "Label13", "- an serielle Schnittstelle anschliessen", 10, 28);
  label(upload, "Label14", "- Kordamat einschalten und", 10, 44);
  make<QPushButton>(upload, "Button3", 10, 64, 270, 25)->setText(QStringLiteral("Datenübernahme starten"));
  label(upload, "Label19", "Fortschritt:", 10, 96, 70);
  make<QProgressBar>(upload, "ProgressBar1", 90, 94, 190, 18);

  auto* online = make<QGroupBox>(page, "Panel2", 8, 294, 290, 110);
  label(online, "Label17", "Kontinuierliches Auslesen von EKG-Daten", 10, 8);
  label(online, "Label1", "- Elektrodenkontakt herstellen", 10, 28);
  make<QPushButton>(online, "Button4", 10, 50, 270, 25)->setText(QStringLiteral("Online - Modus"));
  label(online, "Label20", "Status:", 10, 84, 50);
  make<QLabel>(online, "Panel6", 70, 84, 120, 16)->setText(QStringLiteral("Deaktiv"));

  auto* log = make<QGroupBox>(page, "GroupBox1", 306, 8, 286, 396);
  log->setTitle(QStringLiteral("Com-Stat"));
  auto* com_stat = make<QPlainTextEdit>(log, "ComStat", 8, 20, 270, 368);
  com_stat->setReadOnly(true);
  com_stat->setToolTip(QStringLiteral("status communication"));
}

void DevicePage::init_controls() {
  main_.control<QPushButton>("RAM_Test")->setEnabled(false);
  main_.control<QPushButton>("Button4")->setText(lang_text(QStringLiteral("Online - Modus"), QStringLiteral("online mode")));
}

void DevicePage::find_ports_and_rates() {}

void DevicePage::close_port() {}

}  // namespace pulvitra
