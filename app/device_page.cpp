#include "app/device_page.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QIntValidator>
#include <QLineEdit>
#include <map>

#include "shell/language.h"
#include "app/control_factory.h"
#include "app/tmain.h"
#include "app/upload_controller.h"
#include "app/view_pages.h"
#include "device/port_names.h"

namespace pulvitra {

namespace {


QLabel* label(QWidget* parent, const char* name, const char* caption, int x, int y, int w = 260) {
  return make_label(parent, name, caption, x, y, w);
}

constexpr int kHighestListedPort = 8;

// Where serial devices appear: the system's device folders.
const char* const kDeviceFolders[] = {"/dev", "/dev/serial/by-id"};

}  // namespace

void ComboBaudSelector::clear() { combo_->clear(); }
void ComboBaudSelector::add(const QString& item) { combo_->addItem(item); }
int ComboBaudSelector::count() const { return combo_->count(); }
QString ComboBaudSelector::item(int index) const {
  return index >= 0 && index < combo_->count() ? combo_->itemText(index) : QString();
}
QString ComboBaudSelector::text() const { return combo_->currentText(); }
void ComboBaudSelector::set_text(const QString& text) { combo_->setEditText(text); }
void ComboBaudSelector::select(int index) {
  if (index >= 0 && index < combo_->count()) combo_->setCurrentIndex(index);
}

DevicePage::DevicePage(TMain& main, QWidget* page)
    : QObject(&main), main_(main), port_map_(main.settings.Ports) {
  build(page);
  pul_com_ = new TComPortN(this);
  pul_com_->set_port_map(port_map_);
  link_ = new Link(*pul_com_, *main_.Timer1, main_.port_name, this);
  link_->MaxBaud = main_.settings.MaxBaud;
  link_->set_host(main_);
  comm_tests_ = std::make_unique<CommTests>(*link_, baud_selector_);
  connect_controls();
  watch_for_devices();
  new UploadController(main_, *this);
}

void DevicePage::watch_for_devices() {
  QStringList folders;
  for (const char* folder : kDeviceFolders) folders << QLatin1String(folder);
  // A mapped port ([Ports] COM1=/some/path) appears in the folder of its path.
  for (int n = 1; n <= kHighestListedPort; ++n) {
    const QString device = device_for_port(n, port_map_);
    if (!device.isEmpty()) folders << QFileInfo(device).absolutePath();
  }
  folders.removeDuplicates();
  for (const QString& folder : folders)
    if (QFileInfo(folder).isDir()) device_watcher_.addPath(folder);
  connect(&device_watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { look_for_ports(); });
}

DevicePage::~DevicePage() = default;

void DevicePage::build(QWidget* page) {
  auto* settings = make_control<QGroupBox>(page, "GroupBox4", 8, 8, 290, 150);
  settings->setTitle(QStringLiteral("Kordamat Einstellungen"));
  label(settings, "Label22", "Das Kordamat muß mit folgender", 10, 20);
  label(settings, "Label23", "seriellen Schnittstelle verbunden sein:", 10, 36);
  label(settings, "Label35", "COM-Port:", 10, 60, 70);
  CB_Comport = make_control<PortComboBox>(settings, "CB_Comport", 90, 58, 80, 21);
  CB_Comport->before_popup = [this] { look_for_ports(); };
  CB_Comport->setToolTip(QStringLiteral("select communication port"));
  // Editable only so that it can show a stored port outside the list (or "xxxx").
  CB_Comport->setEditable(true);
  CB_Comport->lineEdit()->setReadOnly(true);
  CB_MaxBaud = make_control<QComboBox>(settings, "CB_MaxBaud", 90, 86, 80, 21);
  CB_MaxBaud->setToolTip(QStringLiteral("select communication speed"));
  CB_MaxBaud->setEditable(true);
  CB_MaxBaud->setInsertPolicy(QComboBox::NoInsert);
  CB_MaxBaud->setValidator(new QIntValidator(1, 1000000, CB_MaxBaud));
  Test_button = make_control<QPushButton>(settings, "Test_button", 180, 58, 100, 23);
  Test_button->setText(QStringLiteral("Test Kordamat"));
  Test_button->setToolTip(QStringLiteral("test KORDAMAT communication"));
  Max_Baud_button = make_control<QPushButton>(settings, "Max_Baud_button", 180, 86, 100, 23);
  Max_Baud_button->setText(QStringLiteral("Test Baudrate"));
  Max_Baud_button->setToolTip(QStringLiteral("test communication speed"));
  RAM_Test = make_control<QPushButton>(settings, "RAM_Test", 180, 114, 100, 23);
  RAM_Test->setText(QStringLiteral("RAM Test"));

  auto* upload = make_control<QGroupBox>(page, "Panel1", 8, 166, 290, 120);
  label(upload, "Label18", "Auslesen gespeicherter EKG-Daten", 10, 8);
  label(upload, "Label13", "- an serielle Schnittstelle anschliessen", 10, 28);
  label(upload, "Label14", "- Kordamat einschalten und", 10, 44);
  Button3 = make_control<QPushButton>(upload, "Button3", 10, 64, 270, 25);
  Button3->setText(QStringLiteral("Datenübernahme starten"));
  label(upload, "Label19", "Fortschritt:", 10, 96, 70);
  ProgressBar1 = make_control<QProgressBar>(upload, "ProgressBar1", 90, 94, 190, 18);

  auto* online = make_control<QGroupBox>(page, "Panel2", 8, 294, 290, 110);
  label(online, "Label17", "Kontinuierliches Auslesen von EKG-Daten", 10, 8);
  label(online, "Label1", "- Elektrodenkontakt herstellen", 10, 28);
  Button4 = make_control<QPushButton>(online, "Button4", 10, 50, 270, 25);
  Button4->setText(QStringLiteral("Online - Modus"));
  label(online, "Label20", "Status:", 10, 84, 50);
  Panel6 = make_control<QLabel>(online, "Panel6", 70, 84, 120, 16);
  Panel6->setText(QStringLiteral("Deaktiv"));

  auto* log = make_control<QGroupBox>(page, "GroupBox1", 306, 8, 286, 396);
  log->setTitle(QStringLiteral("Com-Stat"));
  ComStat = make_control<QPlainTextEdit>(log, "ComStat", 8, 20, 270, 368);
  ComStat->setReadOnly(true);
  ComStat->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QPalette face = ComStat->palette();
  face.setColor(QPalette::Base, face.color(QPalette::Button));
  ComStat->setPalette(face);
  ComStat->setToolTip(QStringLiteral("status communication"));
}

void DevicePage::connect_controls() {
  connect(link_, &Link::com_stat_line_added, ComStat, &QPlainTextEdit::appendPlainText);
  connect(link_, &Link::com_stat_cleared, ComStat, &QPlainTextEdit::clear);
  connect(Test_button, &QPushButton::clicked, this, [this] { Test_buttonClick(); });
  connect(Max_Baud_button, &QPushButton::clicked, this, [this] { Max_Baud_buttonClick(); });
  connect(CB_Comport, &QComboBox::textActivated, this, [this](const QString& text) { CB_ComportChange(text); });
  // Only the user's choices change MaxBaud; the program's own settings of the text do not.
  connect(CB_MaxBaud, &QComboBox::textActivated, this, [this](const QString& text) {
    link_->select_rate(text);
    main_.settings.MaxBaud = link_->MaxBaud;
  });
  connect(CB_MaxBaud->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
    link_->select_rate(text);
    main_.settings.MaxBaud = link_->MaxBaud;
  });
}

std::vector<QWidget*> DevicePage::controls_needing_a_port() const {
  return {CB_Comport, CB_MaxBaud, Test_button, Max_Baud_button, Button3, Button4};
}

QCoro::Task<> DevicePage::Test_buttonClick() { co_await comm_tests_->run_device_test(); }

QCoro::Task<> DevicePage::Max_Baud_buttonClick() {
  co_await comm_tests_->run_rate_test();
  main_.settings.MaxBaud = link_->MaxBaud;
}

QCoro::Task<> DevicePage::CB_ComportChange(const QString& text) {
  if (!link_->claim(Dialogue::PortChoice)) co_return;
  // Trying the rates takes a moment; no other dialogue may start meanwhile.
  QWidget* const busy[] = {CB_Comport, CB_MaxBaud, Test_button, Max_Baud_button, Button3};
  std::map<QWidget*, bool> was_enabled;
  for (QWidget* control : busy) {
    was_enabled[control] = control->isEnabled();
    control->setEnabled(false);
  }
  co_await Link::run_reporting(*link_, link_->select_port(text, baud_selector_));
  for (QWidget* control : busy) control->setEnabled(was_enabled[control]);
  main_.settings.MaxBaud = link_->MaxBaud;
  link_->release();
}

void DevicePage::init_controls() {
  RAM_Test->setEnabled(false);
  Button4->setText(lang_text(QStringLiteral("Online - Modus"), QStringLiteral("online mode")));
}

// Runs while the main window is being created, before it is shown: the creation goes on in
// order only once the port and its rates are known.
void DevicePage::find_ports_and_rates() {
  if (!link_->claim(Dialogue::PortChoice)) return;
  QCoro::waitFor(Link::run_reporting(*link_, find_ports_and_rates_steps()));
  link_->release();
}

std::map<int, bool> DevicePage::existing_ports() const {
  // The port the link holds open cannot be opened a second time by the probe.
  const int held = pul_com_->connected() ? com_number(main_.port_name) : 0;
  std::map<int, bool> exists;
  for (int n = 1; n <= kHighestListedPort; ++n) exists[n] = n == held || port_exists(n, port_map_);
  return exists;
}

void DevicePage::list_ports(const std::map<int, bool>& exists) {
  CB_Comport->clear();
  for (const auto& [n, there] : exists)
    if (there) CB_Comport->addItem(QStringLiteral("COM%1").arg(n));
  CB_Comport->setEditText(main_.port_name);
}

// The rates the port accepts, as at start.
QCoro::Task<> DevicePage::probe_rates() {
  Link& link = *link_;
  baud_selector_.clear();
  link.com_stat_clear();
  co_await link.v24_reset();
  for (std::int32_t rate : BaudTable) {
    co_await link.v24_open(rate);
    if (link.pul_com.connected()) baud_selector_.add(QString::number(rate));
  }
  baud_selector_.set_text(QString::number(link.MaxBaud));
  co_await link.v24_reset();
  link.com_stat_clear();
  // The user would not see why the port never opens; keep the remedy in the log.
  if (!pul_com_->denied_device().isEmpty()) link.com_stat_add(permission_remedy(pul_com_->denied_device()));
}

void DevicePage::lock_without_port(bool locked) {
  // Only what needs a port: a machine without one still opens, shows and saves recordings.
  for (QWidget* control : controls_needing_a_port()) control->setEnabled(!locked);
}

QCoro::Task<> DevicePage::find_ports_and_rates_steps() {
  const std::map<int, bool> exists = existing_ports();
  const int stored = main_.settings.ComPort;
  const bool stored_exists = exists.count(stored) ? exists.at(stored) : port_exists(stored, port_map_);

  // Port choice: the stored port, else the first one there is.
  main_.port_name = QStringLiteral("xxxx");
  if (stored_exists) {
    main_.port_name = QStringLiteral("COM%1").arg(stored);
  } else {
    for (const auto& [n, there] : exists) {
      if (!there) continue;
      main_.port_name = QStringLiteral("COM%1").arg(n);
      break;
    }
  }
  list_ports(exists);
  co_await probe_rates();

  if (main_.port_name == QLatin1String("xxxx")) {
    lock_without_port(true);
    link_->com_stat_add(lang_text(QStringLiteral("COM nicht verfügbar"), QStringLiteral("COM not available")));
  }
  baud_selector_.set_text(QString::number(link_->MaxBaud));
}

QCoro::Task<> DevicePage::look_for_ports() {
  // One look at a time, and never in the middle of a dialogue: it would reopen the port.
  if (looking_for_ports_ || link_->busy()) co_return;
  looking_for_ports_ = true;
  const std::map<int, bool> exists = existing_ports();
  const bool had_none = main_.port_name == QLatin1String("xxxx");
  int first = 0;
  for (const auto& [n, there] : exists) {
    if (there) {
      first = n;
      break;
    }
  }
  if (!had_none || first == 0) {
    const QString shown = CB_Comport->currentText();
    list_ports(exists);
    CB_Comport->setEditText(shown);
    looking_for_ports_ = false;
    co_return;
  }
  if (!link_->claim(Dialogue::PortChoice)) {
    looking_for_ports_ = false;
    co_return;
  }
  main_.port_name = QStringLiteral("COM%1").arg(first);
  list_ports(exists);
  co_await Link::run_reporting(*link_, probe_rates());
  lock_without_port(false);
  link_->release();
  looking_for_ports_ = false;
}

void DevicePage::close_port() {
  main_.settings.MaxBaud = link_->MaxBaud;
  try {
    pul_com_->close();
  } catch (const std::exception&) {
    // The program ends; a port that fails to close has nothing left to tell the user.
  }
}

}  // namespace pulvitra
