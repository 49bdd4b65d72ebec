#include "reports/report_header.h"

#include "files/patient_text.h"
#include "shell/application.h"
#include "shell/language.h"
#include "views/canvas.h"
#include "views/print_layout.h"

namespace pulvitra {

namespace {

QString page_mark_text(PageMark mark, Language language) {
  if (mark.report_count == 1) return QString();
  return table_text(language, QStringLiteral("txt_rep_page")) + QString::number(mark.report_no) + "/" +
         QString::number(mark.report_count) + "-";
}

QString patient_line(const PatientFields& patient, Language language) {
  QString line = table_text(language, QStringLiteral("txt_rep_patient")) + patient.surname + ", " + patient.first_name +
                 "  /  " + patient.address + "  /  " + "ID: " + patient.patient_id;
  if (patient.age > 0) {
    line += "  /  " + table_text(language, QStringLiteral("txt_rep_age")) + QString::number(patient.age) +
            table_text(language, QStringLiteral("txt_rep_year"));
    if (patient.age > 1) line += table_text(language, QStringLiteral("txt_rep_plural"));
  }
  return line;
}

}  // namespace

std::array<QString, 6> header_lines(const PatientFields& patient, PageMark mark, Language language) {
  std::array<QString, 6> lines;
  lines[0] = "-" + patient.clinic + "-       " + page_mark_text(mark, language) + "       -" + patient.date + "-";
  lines[1] = table_text(language, QStringLiteral("txt_rep_title")) + QString::fromLatin1(kApplicationTitle);
  lines[3] = patient_line(patient, language);
  lines[5] = patient.comment;
  return lines;
}

QString printed_header_line(int i, const QString& line, const QString& file_name) {
  const QString filtered = clean_text(line);
  return i == 1 ? filtered + " " + file_name : filtered;
}

void print_header(QPainter& painter, int page_width, int print_top, const std::array<QString, 6>& lines,
                  const QString& file_name) {
  painter.setPen(Qt::black);
  for (int i = 1; i <= 6; ++i) {
    if (i == 2) set_point_size(painter, 12);
    if (i == 3) set_point_size(painter, 9);
    const QString text = printed_header_line(i, lines[i - 1], file_name);
    const QFontMetrics metrics = painter.fontMetrics();
    const int x = page_width / 2 - metrics.horizontalAdvance(text) / 2;
    const int y = (i + 1) * (print_top / 8);
    painter.drawText(x, y + metrics.ascent(), text);
  }
  set_point_size(painter, kPrintStartPoints);
}

}  // namespace pulvitra
