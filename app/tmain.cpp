#include "app/tmain.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QShortcut>
#include <QTabBar>
#include <QTimer>

#include "app/alt_letters.h"
#include "app/captions.h"
#include "shell/dialogs.h"
#include "shell/language.h"
#include "shell/application.h"
#include "app/device_page.h"
#include "app/error_report.h"
#include "app/export_action.h"
#include "app/image_control.h"
#include "app/patient_page.h"
#include "app/tselprinter.h"
#include "app/view_pages.h"
#include "reports/report_page.h"
#include "views/canvas.h"

namespace pulvitra {

namespace {

// Right-clicks on the notebook's controls remember the help context of the control hit.
class ContextPopupFilter : public QObject {
 public:
  explicit ContextPopupFilter(TMain& main) : QObject(&main), main_(main) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::ContextMenu) {
      // The menu key on a view page means the view, wherever the focus sits on that page
      // (the overview keeps it on its scroll bar).
      if (static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard && main_.show_view_menu())
        return true;
      auto* widget = qobject_cast<QWidget*>(watched);
      if (widget) main_.ButtonContextPopup(widget);
    }
    return false;
  }

 private:
  TMain& main_;
};

}  // namespace

TMain::TMain(Settings& settings_in, QWidget* parent) : QWidget(parent), settings(settings_in) {
  setObjectName(QStringLiteral("TMain"));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
  setMinimumSize(kWindowFirstWidth, kWindowFirstHeight);
  resize(kWindowFirstWidth, kWindowFirstHeight);
  build_notebook();
  FormCreate();
  SelPrinter = new TSelPrinter(*this);
  add_standard_keys();
  resolve_alt_letters(this);
  setFocusProxy(TabbedNotebook1);  // focusing the window focuses its tabs
  restore_window_geometry();
}

// The size the user left the window at, as far as this screen holds it, centred; maximised
// again if it was.
void TMain::restore_window_geometry() {
  QSize size(settings.Window.width, settings.Window.height);
  if (QScreen* screen = this->screen()) {
    size = size.boundedTo(screen->availableGeometry().size()).expandedTo(minimumSize());
    resize(size);
    move(screen->availableGeometry().center() - rect().center());
  } else {
    resize(size);
  }
  if (settings.Window.maximized) setWindowState(windowState() | Qt::WindowMaximized);
}

void TMain::keep_window_geometry() {
  const QSize normal = isMaximized() && normalGeometry().isValid() ? normalGeometry().size() : size();
  settings.Window = {std::max(normal.width(), kWindowFirstWidth), std::max(normal.height(), kWindowFirstHeight),
                     isMaximized()};
}

void TMain::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  fit_pages();
}

bool TMain::event(QEvent* event) {
  const bool handled = QWidget::event(event);
  // Moved to a screen of another scale: the views are drawn again at its density.
  if (event->type() == QEvent::ScreenChangeInternal) fit_pages();
  return handled;
}

void TMain::fit_pages() {
  if (!views) return;  // still being built
  TabbedNotebook1->setGeometry(rect());
  views->fit_to_window(size(), devicePixelRatioF());
}

TMain::~TMain() { delete SelPrinter; }

void TMain::build_notebook() {
  TabbedNotebook1 = new QTabWidget(this);
  TabbedNotebook1->setObjectName(QStringLiteral("TabbedNotebook1"));
  TabbedNotebook1->setGeometry(0, 0, 603, 444);
  for (const char* caption : {"&Patient", "&Kordamat"}) TabbedNotebook1->addTab(new QWidget, QString::fromUtf8(caption));
  for (const ViewDescription* view : views_with_pages())
    TabbedNotebook1->addTab(new QWidget, QString::fromUtf8(view->german));

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(50);
  Timer2 = new QTimer(this);
  Timer2->setObjectName(QStringLiteral("Timer2"));
  Timer2->setInterval(100);
  connect(Timer2, &QTimer::timeout, this, &TMain::Timer2Timer);
  Timer2->start();

  patient = new PatientPage(*this, page(kPagePatient));
  find_file_buttons();
  device = new DevicePage(*this, page(kPageDevice));
  views = new ViewPages(*this);

  connect(TabbedNotebook1, &QTabWidget::currentChanged, this, [this](int index) {
    views->TabbedNotebook1Change(index);
  });
  if (auto* b = control<QPushButton>("Button5")) connect(b, &QPushButton::clicked, this, &TMain::Button5Click);
  if (auto* b = control<QPushButton>("Button10")) connect(b, &QPushButton::clicked, this, &TMain::Button10Click);
  if (auto* b = control<QPushButton>("Button4")) connect(b, &QPushButton::clicked, this, &TMain::Button4Click);
  if (auto* c = control<QCheckBox>("CheckBox1")) connect(c, &QCheckBox::clicked, this, &TMain::CheckBox1Click);
  attach_context_menus();
}

void TMain::find_file_buttons() {
  // The patient page builds them; the lock keeps them at hand as the buttons they are.
  Button1 = control<QPushButton>("Button1");
  Button6 = control<QPushButton>("Button6");
  Button7 = control<QPushButton>("Button7");
  Button8 = control<QPushButton>("Button8");
  Button9 = control<QPushButton>("Button9");
  Button2 = control<QPushButton>("Button2");
}

std::vector<QWidget*> TMain::controls_locked_by_link() const {
  return {Button1, Button6, Button7, Button8, Button9, Button2,
          device->CB_Comport, device->CB_MaxBaud, device->Test_button, device->Max_Baud_button, device->Button4};
}

void TMain::ComPortOpen() {
  for (QWidget* control : controls_locked_by_link()) control->setEnabled(false);
  device->Button3->setEnabled(true);
  device->Button3->setText(table_text(QStringLiteral("txt_button_upload_stop")));
}

void TMain::ComPortClose() {
  for (QWidget* control : controls_locked_by_link()) control->setEnabled(true);
  Button7->setEnabled(patient->save_allowed());
  device->Button3->setEnabled(true);
  device->Button3->setText(table_text(QStringLiteral("txt_button_upload_start")));
  QLabel* panel6 = device->Panel6;
  panel6->setFont(window_font());  // plain again after the online mode's marking
  panel6->setText(table_text(QStringLiteral("txt_status_inactive")));
  settings.MaxBaud = device->link().MaxBaud;
}

void TMain::report(const QString& text) { show_error_report(text); }

void TMain::notify(DialogueNotice notice) {
  const NoticeMessage box = notice_message(notice, cur_lang);
  dialogs().message(box.icon, box.buttons, box.caption, box.text);
}

void TMain::attach_context_menus() {
  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  QAction* help1 = PopupMenu1->addAction(QStringLiteral("Hilfe"));
  help1->setObjectName(QStringLiteral("Help1"));
  connect(help1, &QAction::triggered, this, &TMain::Help1Click);

  PopupMenu2 = new QMenu(this);
  PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
  QAction* print = PopupMenu2->addAction(QStringLiteral("Drucken"));
  print->setObjectName(QStringLiteral("P2C1"));
  QAction* export_views = PopupMenu2->addAction(QStringLiteral("Exportieren..."));
  export_views->setObjectName(QStringLiteral("P2C3"));
  QAction* help2 = PopupMenu2->addAction(QStringLiteral("Hilfe"));
  help2->setObjectName(QStringLiteral("P2C2"));
  connect(print, &QAction::triggered, this, &TMain::P2C1Click);
  connect(export_views, &QAction::triggered, this, [this] { export_recording(*this); });
  connect(help2, &QAction::triggered, this, &TMain::P2C2Click);

  // The view images show PopupMenu2; every other control of the notebook shows PopupMenu1.
  auto* filter = new ContextPopupFilter(*this);
  const auto children = TabbedNotebook1->findChildren<QWidget*>();
  for (QWidget* w : children) {
    if (qobject_cast<ImageControl*>(w)) {
      w->setContextMenuPolicy(Qt::CustomContextMenu);
      connect(w, &QWidget::customContextMenuRequested, this,
              [this, w](const QPoint& pos) { PopupMenu2->popup(w->mapToGlobal(pos)); });
      continue;
    }
    w->installEventFilter(filter);
  }
  TabbedNotebook1->setContextMenuPolicy(Qt::CustomContextMenu);
  for (QWidget* w : children) {
    if (qobject_cast<ImageControl*>(w)) continue;
    w->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(w, &QWidget::customContextMenuRequested, this,
            [this, w](const QPoint& pos) { PopupMenu1->popup(w->mapToGlobal(pos)); });
  }
}

void TMain::add_standard_keys() {
  const std::pair<QKeySequence, QPushButton*> file_keys[] = {
      {QKeySequence(Qt::CTRL | Qt::Key_N), Button1},
      {QKeySequence(Qt::CTRL | Qt::Key_O), Button6},
      {QKeySequence(Qt::CTRL | Qt::Key_S), Button7},
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), Button8},
      {QKeySequence(Qt::CTRL | Qt::Key_P), Button9},
  };
  // click() does nothing on a disabled button: the lock and a missing file hold the keys too.
  for (const auto& [key, button] : file_keys)
    connect(new QShortcut(key, this), &QShortcut::activated, button, &QAbstractButton::click);
  connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this, &TMain::help_of_page);
  connect(new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this), &QShortcut::activated, this, [this] {
    // What the menu key sends: a context-menu request from the keyboard to the focus.
    QWidget* target = focusWidget() ? focusWidget() : TabbedNotebook1->tabBar();
    const QPoint centre = target->rect().center();
    QContextMenuEvent request(QContextMenuEvent::Keyboard, centre, target->mapToGlobal(centre));
    QCoreApplication::sendEvent(target, &request);
  });
}

void TMain::FormCreate() {
  views->init_controls();  // 1: RadioGroup1 items; 6: zoom factor; 8: view state
  device->init_controls();  // 2, 3: RAM_Test, online-mode caption
  setWindowTitle(QLatin1String(kApplicationTitle));  // 4
  if (auto* bar = control<QProgressBar>("ProgressBar1")) bar->setValue(0);
  data_changed = false;   // 6
  patient->init_dialog_folders();  // 7
  if (auto* c = control<QCheckBox>("CheckBox1")) {  // 9
    c->setChecked(settings.BackGround);
    c->setText(lang_text(QStringLiteral("Hintergrund"), QStringLiteral("Background")));
  }
  device->find_ports_and_rates();  // 10 to 14
  views->derive_zoom_position();   // 15
  patient->reset_recording();      // 16
  if (cur_lang == kEnglish) apply_english_captions(this);  // 17
}

int TMain::help_context(const QString& name) {
  static const QHash<QString, int> numbers = {
      {"GroupBox2", 14}, {"Edit1", 5},    {"Button1", 16},    {"Button6", 16}, {"Button7", 16},
      {"Button8", 16},   {"Button9", 6},  {"Button2", 17},    {"Button5", 7},  {"GroupBox4", 21},
      {"Panel1", 4},     {"Button3", 4},  {"Panel2", 3},      {"Button4", 3},  {"Panel3", 12},
      {"Panel4", 11},    {"RadioGroup3", 11}, {"RadioGroup1", 11}, {"Panel5", 9}, {"Panel7", 10},
      {"Panel8", 8},
  };
  return numbers.value(name, 0);
}

void TMain::ButtonContextPopup(QWidget* control_hit) {
  // An item of a radio group belongs to its group; a label carries no number.
  QWidget* w = control_hit;
  if (qobject_cast<QLabel*>(w)) {
    help_topic = 0;
    return;
  }
  if (w->parentWidget() && qobject_cast<QRadioButton*>(w)) w = w->parentWidget();
  help_topic = help_context(w->objectName());
}

void TMain::Help1Click() {
  if (help_topic > 0) {
    dialogs().show_help(help_topic);
    help_topic = 0;
  }
}

void TMain::P2C1Click() {
  if (!printable_or_say_so(*this)) return;
  ReportSelection = {};
  const auto views = views_with_pages();
  const int view = TabbedNotebook1->currentIndex() - kPageOverview;
  if (view >= 0 && view < static_cast<int>(views.size())) ReportSelection[report_printing_view(views[view]->kind)] = true;
  SelPrinter->show_choice();
}

void TMain::P2C2Click() {
  static const int topics[] = {0, 0, 12, 11, 9, 10, 8};
  int index = TabbedNotebook1->currentIndex();
  if (index >= 0 && index < 7 && topics[index] > 0) dialogs().show_help(topics[index]);
}

void TMain::Button5Click() { dialogs().show_help(7); }

void TMain::help_of_page() {
  switch (TabbedNotebook1->currentIndex()) {
    case kPagePatient: Button5Click(); break;
    case kPageDevice: dialogs().show_help(help_context(QStringLiteral("Panel1"))); break;
    default: P2C2Click(); break;
  }
}

bool TMain::show_view_menu() {
  const int index = TabbedNotebook1->currentIndex();
  if (index < kPageOverview) return false;
  auto* view = page(index)->findChild<ImageControl*>();
  if (!view) return false;
  PopupMenu2->popup(view->mapToGlobal(view->rect().center()));
  return true;
}

void TMain::Button4Click() {
  dialogs().message(DlgIcon::Warning, DlgButtons::Cancel, QLatin1String(kApplicationTitle),
                    lang_text(QStringLiteral(" Der Online-Modus wird nicht unterstützt !\r\n Bitte wenden Sie sich an den Hersteller !"),
                              QStringLiteral(" Online mode not supported !\r\n Please call the manufacturer !")));
}

// The close request itself asks the discard question, as for the close box.
void TMain::Button10Click() { close(); }

void TMain::CheckBox1Click() {
  settings.BackGround = control<QCheckBox>("CheckBox1")->isChecked();
  if (on_background_changed) on_background_changed(settings.BackGround);
  if (settings.BackGround) {
    raise();
    activateWindow();
  }
}

void TMain::Timer2Timer() {
  if (TabbedNotebook1->currentIndex() == kPageOverview && isEnabled()) views->focus_overview();
}

bool TMain::FormCloseQuery() {
  // Unsaved edits or an unsaved upload come first; a No there keeps the window without more questions.
  if (!patient->discard_check()) return false;
  const QString question = lang_text(QStringLiteral("           Beenden ?         "),
                                     QStringLiteral("            Close ?          "));
  return dialogs().message(DlgIcon::None, DlgButtons::YesNo, QLatin1String(kApplicationTitle), question) ==
         DlgAnswer::Yes;
}

void TMain::FormClose() {
  keep_window_geometry();
  device->close_port();
  if (on_closed) on_closed();
}

void TMain::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::EnabledChange || !isEnabled()) return;
  QWidget* focus = focusWidget();
  if (!focus || focus == this || !focus->isVisible()) TabbedNotebook1->tabBar()->setFocus(Qt::OtherFocusReason);
}

void TMain::closeEvent(QCloseEvent* event) {
  // Ask first: a "No" must leave a running transfer alone.
  if (!close_confirmed_ && !FormCloseQuery()) {
    event->ignore();
    return;
  }
  close_confirmed_ = true;
  Link& link = device->link();
  if (link.busy()) {
    // A dialogue holds the link: end it properly (the recorder hears "t", the port returns
    // to 4800 baud, no message), then close.
    link.wind_down([this] { QTimer::singleShot(0, this, [this] { close(); }); });
    event->ignore();
    return;
  }
  event->accept();
  FormClose();
}

}  // namespace pulvitra
