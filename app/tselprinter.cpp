#include "app/tselprinter.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <algorithm>

#include "app/alt_letters.h"
#include "app/control_factory.h"
#include "app/patient_page.h"
#include "app/tmain.h"
#include "app/view_pages.h"
#include "reports/print_job.h"
#include "shell/application.h"
#include "shell/dialogs.h"
#include "shell/language.h"

namespace pulvitra {

namespace {

struct Caption {
  const char* name;
  const char* english;
};

const Caption kEnglishCaptions[] = {
    {"Label1", "Please select the desired report."},
    {"Button1", "&Cancel"},
    {"Button2", "&Print"},
};

}  // namespace

bool printable_or_say_so(const TMain& main) {
  if (main.ekg.BeatCount >= 2) return true;
  dialogs().message(DlgIcon::Exclamation, DlgButtons::Ok, table_text(QStringLiteral("txt_no_print_caption")),
                    table_text(QStringLiteral("txt_no_print_data")));
  return false;
}

TSelPrinter::TSelPrinter(TMain& main) : QWidget(nullptr), main_(main) {
  setObjectName(QStringLiteral("SelPrinter"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(265, 201);
  setWindowTitle(QStringLiteral("Druckauswahl"));
  Label1 = make_label(this, "Label1", "Bitte wählen Sie das gewünschte Druckprotokoll aus.", 8, 8, 250, 32);
  Label1->setWordWrap(true);
  for (int k = 1; k <= kReportKinds; ++k) {
    const QByteArray name = "CheckBox" + QByteArray::number(k);
    CheckBox[k] = make_control<QCheckBox>(this, name.constData(), 16, 24 + 24 * k, 240, 17);
    CheckBox[k]->setText(QString::fromUtf8(report_numbered(k).german));
  }
  Button1 = make_control<QPushButton>(this, "Button1", 96, 168, 75, 25);
  Button1->setText(QStringLiteral("A&bbrechen"));
  Button2 = make_control<QPushButton>(this, "Button2", 182, 168, 75, 25);
  Button2->setText(QStringLiteral("&Drucken"));
  connect(Button1, &QPushButton::clicked, this, &TSelPrinter::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TSelPrinter::Button2Click);
  connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, Button1, &QAbstractButton::click);
  resolve_alt_letters(this);
  if (cur_lang == kEnglish) apply_english_captions();
  fit_box_texts();
  if (QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());
}

void TSelPrinter::apply_english_captions() {
  setWindowTitle(QStringLiteral("Choice of reports"));
  for (const Caption& c : kEnglishCaptions) {
    QWidget* w = findChild<QWidget*>(QLatin1String(c.name));
    if (auto* label = qobject_cast<QLabel*>(w)) label->setText(QString::fromUtf8(c.english));
    if (auto* button = qobject_cast<QAbstractButton*>(w)) button->setText(QString::fromUtf8(c.english));
  }
  for (int k = 1; k <= kReportKinds; ++k) CheckBox[k]->setText(QString::fromUtf8(report_numbered(k).english));
}

void TSelPrinter::fit_box_texts() {
  constexpr int kMargin = 8;  // between the buttons and the right edge
  int right = 0;
  for (int k = 1; k <= kReportKinds; ++k) {
    CheckBox[k]->resize(std::max(CheckBox[k]->width(), CheckBox[k]->sizeHint().width()), CheckBox[k]->height());
    right = std::max(right, CheckBox[k]->geometry().right() + 1);
  }
  const int grow = std::max(0, right + kMargin - width());
  if (grow == 0) return;
  setFixedSize(width() + grow, height());
  for (QPushButton* button : {Button1, Button2}) button->move(button->x() + grow, button->y());
}

void TSelPrinter::show_choice() {
  main_.setEnabled(false);
  setEnabled(true);
  show_selection();
  show();
  activateWindow();
}

void TSelPrinter::show_selection() {
  for (int k = 1; k <= kReportKinds; ++k) CheckBox[k]->setChecked(main_.ReportSelection[k]);
}

// The boxes show ReportSelection whenever the window appears. Not at every paint: a tick
// repaints the window beneath the box, and the user's tick would be taken back at once.
void TSelPrinter::showEvent(QShowEvent* event) {
  show_selection();
  QWidget::showEvent(event);
}

void TSelPrinter::leave() {
  main_.setEnabled(true);
  hide();
}

void TSelPrinter::Button1Click() { leave(); }

void TSelPrinter::closeEvent(QCloseEvent* event) {
  leave();
  event->accept();
}

void TSelPrinter::Button2Click() {
  for (int k = 1; k <= kReportKinds; ++k) main_.ReportSelection[k] = CheckBox[k]->isChecked();
  leave();
  print_job();
}

void TSelPrinter::print_job() {
  const ReportFlags selection = main_.ReportSelection;
  if (ticked_reports(selection) == 0) return;
  const PrintChoice choice = dialogs().choose_printer(QString::fromLatin1(kApplicationTitle));
  const std::unique_ptr<ReportPrinter> printer = printer_for(choice);
  if (!printer) return;
  ReportSource source;
  source.ekg = &main_.ekg;
  source.marks = &main_.decoder.marks;
  source.state = main_.views->state();
  source.patient = main_.patient->fields();
  source.file_name = QString::fromStdString(main_.ekg.FileName);
  source.language = cur_lang;
  const bool printed = print_reports(selection, *printer, source);
  // The printout started at the first page of the recording; the window follows it.
  if (selection[kReportOverview]) {
    if (auto* bar = main_.control<QScrollBar>("ScrollBar1")) bar->setValue(0);
  }
  if (!printed)
    dialogs().message(DlgIcon::Exclamation, DlgButtons::Ok, table_text(QStringLiteral("txt_no_print_caption")),
                      printer->error());
}

}  // namespace pulvitra
