// The header of every report page exactly as printed: its blanks, page marks, the age rules
// and the file path behind the filter.
#include <gtest/gtest.h>

#include "reports/report_header.h"
#include "shell/application.h"
#include "shell/language.h"

namespace pulvitra {
namespace {

PatientFields patient(int age) {
  PatientFields f;
  f.surname = "Muster";
  f.first_name = " Max";  // a leading blank merges with the blank before it
  f.date = "07.03.05";
  f.address = "Weg 1";
  f.clinic = "Klinik Nord";
  f.patient_id = "A-42";
  f.age = age;
  f.comment = "Belastung: 2_min";
  return f;
}

std::array<QString, 6> printed(const PatientFields& fields, PageMark mark, const QString& path,
                               Language language = kGerman) {
  const std::array<QString, 6> raw = header_lines(fields, mark, language);
  std::array<QString, 6> out;
  for (int i = 1; i <= 6; ++i) out[i - 1] = printed_header_line(i, raw[i - 1], path);
  return out;
}

class ReportHeader : public ::testing::Test {};

TEST_F(ReportHeader, line_one_has_a_page_mark_only_with_several_reports_and_ends_with_the_path) {
  struct Case {
    std::uint8_t language;
    PageMark mark;
    const char* line1;
  } cases[] = {
      {kGerman, {1, 1}, "-Klinik Nord- -07.03.05- /data/p_1: a.pul"},
      {kGerman, {2, 3}, "-Klinik Nord- -Seite 2/3- -07.03.05- /data/p_1: a.pul"},
      {kEnglish, {1, 1}, "-Klinik Nord- -07.03.05- /data/p_1: a.pul"},
      {kEnglish, {4, 4}, "-Klinik Nord- -page 4/4- -07.03.05- /data/p_1: a.pul"},
  };
  for (const Case& c : cases) {
    // The path is appended after the filter: its "_" and ":" stay.
    EXPECT_EQ(printed(patient(0), c.mark, "/data/p_1: a.pul", c.language)[0].toStdString(), c.line1);
  }
}

TEST_F(ReportHeader, the_patient_line_follows_the_age_and_loses_its_colons) {
  struct Case {
    std::uint8_t language;
    int age;
    const char* line4;
  } cases[] = {
      {kGerman, 0, "Patient Muster, Max / Weg 1 / ID A-42"},
      {kGerman, 1, "Patient Muster, Max / Weg 1 / ID A-42 / Alter1Jahr"},
      {kGerman, 2, "Patient Muster, Max / Weg 1 / ID A-42 / Alter2Jahre"},
      {kEnglish, 1, "Patient Muster, Max / Weg 1 / ID A-42 / Age1Year"},
      {kEnglish, 99, "Patient Muster, Max / Weg 1 / ID A-42 / Age99Years"},
  };
  for (const Case& c : cases) {
    const auto lines = printed(patient(c.age), {1, 1}, "x.pul", c.language);
    EXPECT_EQ(lines[3].toStdString(), c.line4) << c.age;
    EXPECT_EQ(lines[2], QString());
    EXPECT_EQ(lines[4], QString());
    EXPECT_EQ(lines[5].toStdString(), "Belastung 2min");
  }
  EXPECT_EQ(printed(patient(0), {1, 1}, "x.pul")[1].toStdString(), std::string("EKG-Auswertungsbericht --------------- ") + kApplicationTitle);
  EXPECT_EQ(printed(patient(0), {1, 1}, "x.pul", kEnglish)[1].toStdString(), std::string("ECG evaluation report --------------- ") + kApplicationTitle);
}

TEST_F(ReportHeader, lines_are_centred_at_their_pitch_in_their_sizes_and_leave_6_pt) {
  QImage page(2100, 2970, QImage::Format_RGB32);
  page.fill(Qt::white);
  QPainter painter(&page);
  QFont font = painter.font();
  font.setPointSize(8);
  painter.setFont(font);
  print_header(painter, 2100, 297, header_lines(patient(2), {1, 1}, kGerman), "x.pul");
  EXPECT_EQ(painter.font().pointSize(), 6);
  painter.end();
  // print_top 297: pitch 297 div 8 = 37, line i from y = (i + 1) x 37; line 2 (12 pt) is the
  // tallest, from 111. Nothing above line 1, and every line around the middle x = 1050.
  auto ink_in_rows = [&](int y1, int y2, int& left, int& right) {
    left = 2100, right = -1;
    for (int y = y1; y < y2; ++y)
      for (int x = 0; x < 2100; ++x)
        if (page.pixelColor(x, y) != QColor(Qt::white)) left = std::min(left, x), right = std::max(right, x);
  };
  int left = 0, right = 0;
  ink_in_rows(0, 74, left, right);
  EXPECT_EQ(right, -1) << "ink above line 1";
  ink_in_rows(111, 148, left, right);
  ASSERT_GE(right, 0);
  EXPECT_NEAR((left + right) / 2, 1050, 8);
}

}  // namespace
}  // namespace pulvitra
