#include "app/tstart.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <cmath>

#include "shell/application.h"
#include "shell/bounded_read.h"
#include "shell/dialogs.h"
#include "shell/file_replace.h"
#include "shell/language.h"
#include "shell/program_folder.h"
#include "app/patient_page.h"
#include "app/qt_translation.h"
#include "app/tmain.h"

namespace pulvitra {

namespace {

const QColor kTeal(0, 128, 128);

class PictureWidget : public QWidget {
 public:
  explicit PictureWidget(QWidget* parent) : QWidget(parent), picture_(start_picture()) {
    setMouseTracking(true);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.drawImage(rect(), picture_);  // stretched over the whole client area
  }

 private:
  QImage picture_;
};

// One heartbeat of a stylised ECG: P wave, QRS complex, T wave, as y offsets over 0..1.
double beat_shape(double t) {
  auto bump = [](double t, double centre, double width, double height) {
    double d = (t - centre) / width;
    return height * std::exp(-d * d);
  };
  return bump(t, 0.18, 0.035, 14) - bump(t, 0.34, 0.012, 18) + bump(t, 0.37, 0.014, 120) -
         bump(t, 0.40, 0.013, 34) + bump(t, 0.62, 0.06, 30);
}

}  // namespace

QImage start_picture() {
  QImage image(832, 624, QImage::Format_RGB888);
  image.fill(kTeal);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0, 150, 150), 1));
  for (int x = 0; x < 832; x += 26) p.drawLine(x, 0, x, 623);
  for (int y = 0; y < 624; y += 26) p.drawLine(0, y, 831, y);
  QPainterPath trace;
  const double base = 360, period = 208;
  trace.moveTo(0, base);
  for (int x = 0; x < 832; ++x) {
    double t = std::fmod(x, period) / period;
    trace.lineTo(x, base - beat_shape(t));
  }
  p.setPen(QPen(QColor(230, 255, 240), 3));
  p.drawPath(trace);
  QFont font(QStringLiteral("Sans Serif"));
  font.setPixelSize(64);
  font.setBold(true);
  p.setFont(font);
  p.setPen(QColor(255, 255, 255));
  p.drawText(QRect(0, 430, 832, 90), Qt::AlignCenter, QStringLiteral("Pulvitra 2.4"));
  font.setPixelSize(24);
  font.setBold(false);
  p.setFont(font);
  p.drawText(QRect(0, 510, 832, 40), Qt::AlignCenter, QStringLiteral("Kordamat ECG evaluation"));
  return image;
}

TStart::TStart(Settings& settings_in, QWidget* parent) : QWidget(parent), settings(settings_in) {
  setObjectName(QStringLiteral("TStart"));
  setWindowTitle(QLatin1String(kApplicationTitle));
  // No system menu: the user cannot close this window; only maximizing is offered.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMaximizeButtonHint);
  resize(650, 543);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, kTeal);
  setPalette(pal);
  setAutoFillBackground(true);

  Image1 = new PictureWidget(this);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->installEventFilter(this);

  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(19);
  font.setBold(true);
  font.setItalic(true);
  auto make_label = [&](const char* name, const char* caption) {
    auto* label = new QLabel(QString::fromLatin1(caption), this);
    label->setObjectName(QLatin1String(name));
    label->setFont(font);
    label->setAutoFillBackground(true);
    label->setMouseTracking(true);
    label->installEventFilter(this);
    label->adjustSize();
    highlight(label, false);
    return label;
  };
  ll1 = make_label("ll1", " deutsch ");
  ll2 = make_label("ll2", " english ");

  setFocusPolicy(Qt::StrongFocus);  // the language can be chosen with the keyboard

  Timer1 = new QTimer(this);
  Timer1->setInterval(100);
  connect(Timer1, &QTimer::timeout, this, &TStart::Timer1Timer);
  Timer2 = new QTimer(this);
  Timer2->setInterval(100);
  connect(Timer2, &QTimer::timeout, this, &TStart::Timer2Timer);

  FormCreate();
}

void TStart::FormCreate() {
  std::uint8_t lang = settings.Language;
  if (lang < 1) lang = 1;
  if (lang > 2) lang = 2;
  cur_lang = lang;
  apply_qt_translation(cur_lang);
  highlight(cur_lang == kGerman ? ll1 : ll2, true);
  ll1->move(4, 5);
  ll2->move(4, 5 + ll1->height());
  Image1->setGeometry(rect());
  setEnabled(true);
  if (settings.BackGround) fill_screen();
  else centre_on_screen();
  Timer2->start();
}

bool TStart::is_highlighted(const QLabel* label) {
  return label->palette().color(QPalette::Window) == QColor(Qt::white);
}

void TStart::highlight(QLabel* label, bool on) {
  const QColor wanted = on ? QColor(Qt::white) : QApplication::palette().color(QPalette::Dark);
  if (label->palette().color(QPalette::Window) == wanted) return;  // assigned only on a change
  QPalette pal = label->palette();
  pal.setColor(QPalette::Window, wanted);
  pal.setColor(QPalette::WindowText, QColor(255, 0, 0));
  label->setPalette(pal);
}

void TStart::Timer2Timer() {
  if (choice_countdown <= 0) {
    choice_countdown = 100;
    Timer2->stop();
    lang_goon();
  } else {
    --choice_countdown;
  }
}

void TStart::ll1MouseMove() {
  if (lang_chosen) return;
  choice_countdown = 10;
  highlight(ll1, true);
  highlight(ll2, false);
}

void TStart::ll2MouseMove() {
  if (lang_chosen) return;
  choice_countdown = 10;
  highlight(ll2, true);
  highlight(ll1, false);
}

void TStart::Image1MouseMove() {
  if (lang_chosen) return;
  highlight(ll1, cur_lang == kGerman);
  highlight(ll2, cur_lang != kGerman);
}

void TStart::ll1Click() {
  if (lang_chosen) return;
  cur_lang = kGerman;
  Timer2->stop();
  lang_goon();
}

void TStart::ll2Click() {
  if (lang_chosen) return;
  cur_lang = kEnglish;
  Timer2->stop();
  lang_goon();
}

void TStart::key_choice(int key) {
  if (lang_chosen) return;
  switch (key) {
    case Qt::Key_D:
    case Qt::Key_1: ll1Click(); break;
    case Qt::Key_E:
    case Qt::Key_2: ll2Click(); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: cur_lang == kGerman ? ll1Click() : ll2Click(); break;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
      // Unlike hovering, a key moves the choice itself: the offer shown is what settles.
      cur_lang = cur_lang == kGerman ? kEnglish : kGerman;
      choice_countdown = 10;
      highlight(ll1, cur_lang == kGerman);
      highlight(ll2, cur_lang != kGerman);
      break;
    default: break;
  }
}

void TStart::keyPressEvent(QKeyEvent* event) {
  if (lang_chosen || (event->modifiers() & ~(Qt::AltModifier | Qt::KeypadModifier))) {
    QWidget::keyPressEvent(event);
    return;
  }
  key_choice(event->key());
}

void TStart::lang_goon() {
  Timer2->stop();
  ll1->setEnabled(false);
  ll2->hide();
  highlight(ll1, false);
  ll1->setText(cur_lang == kGerman ? QStringLiteral("deutsch") : QStringLiteral("english"));
  ll1->adjustSize();

  apply_qt_translation(cur_lang);

  const ProgramFolders folders = program_folders();
  const bool german = cur_lang == kGerman;
  const QString source = shipped_help_file(folders, german);
  if (QFile::exists(source)) {
    // A failed copy is not reported: the help window then reads the shipped file itself.
    if (folders.create_on_use) make_folder(folders.help_copy);
    copy_help_file(source, help_copy_file(folders));
  } else {
    dialogs().message(DlgIcon::Error, DlgButtons::Cancel, QLatin1String(kApplicationTitle),
                      german ? QStringLiteral("PULVITRA Hilfedatei (de) existiert nicht !")
                             : QStringLiteral("PULVITRA helpfile does not exist !"));
  }

  start_ticks = 0;
  Timer1->start();
  lang_chosen = true;
  setEnabled(false);
}

void TStart::Timer1Timer() {
  if (!forms_created) {
    start_ticks = 0;
    return;
  }
  ++start_ticks;
  if (start_ticks == 1 && main_window) {
    main_window->setEnabled(false);
    main_window->Timer1->start();
    main_window->show();
    main_window->raise();
    main_window->activateWindow();
  }
  if (start_ticks == 5 && main_window) {
    if (settings.Assist && show_wizard) {
      main_window->setEnabled(false);
      show_wizard();
    } else {
      // Without a wizard to show, Assist cannot hold the main window back.
      main_window->setEnabled(true);
    }
  }
  if (start_ticks == 20) {
    if (!settings.BackGround) hide();
    Timer1->stop();
    show_settings_note();
    open_file_argument();
  }
}

// Once the windows are up, and only when the settings file could not be read: the user should
// know why the port, language or wizard are not as they left them, and that the file was kept.
void TStart::show_settings_note() {
  const QString note = settings_note(settings);
  if (!note.isEmpty()) dialogs().message(DlgIcon::Information, DlgButtons::Ok, QLatin1String(kApplicationTitle), note);
}

void TStart::open_file_argument() {
  if (file_argument.isEmpty() || !main_window || !main_window->patient) return;
  const QString name = file_argument;
  file_argument.clear();  // opened once, not again by a later tick
  main_window->patient->open_named_file(name);
}

// The copy replaces the help in place only once it is complete, so a failed copy leaves the
// help of the last run rather than none. A shipped help that is no regular file (a named pipe
// would stop the start here) or far too big is not copied; the help window says why.
bool TStart::copy_help_file(const QString& source, const QString& target) {
  const BoundedRead help = read_bounded(source, kHelpFileLimit);
  return help.read() && write_file_replacing(target, help.bytes).ok;
}

void TStart::centre_on_screen() {
  if (QScreen* s = screen()) move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

void TStart::fill_screen() {
  // Without a window manager a maximized state alone does not resize the window.
  if (QScreen* s = screen()) setGeometry(s->availableGeometry());
  setWindowState(Qt::WindowMaximized);
}

void TStart::set_background(bool on) {
  if (!on) {
    hide();
    return;
  }
  fill_screen();
  setEnabled(false);
  show();
  if (main_window) main_window->raise();
}

bool TStart::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove) {
    if (watched == ll1) ll1MouseMove();
    else if (watched == ll2) ll2MouseMove();
    else if (watched == Image1) Image1MouseMove();
  } else if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease) {
    // A click is a press and a release on the same label; a press alone chooses nothing.
    auto* me = static_cast<QMouseEvent*>(event);
    auto* label = watched == ll1 || watched == ll2 ? static_cast<QLabel*>(watched) : nullptr;
    if (me->button() == Qt::LeftButton && label) {
      if (event->type() == QEvent::MouseButtonPress) {
        pressed_label_ = label;
      } else {
        const bool clicked = pressed_label_ == label && label->rect().contains(me->position().toPoint());
        pressed_label_ = nullptr;
        if (clicked && label == ll1) ll1Click();
        if (clicked && label == ll2) ll2Click();
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TStart::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Image1->setGeometry(rect());
}

}  // namespace pulvitra
