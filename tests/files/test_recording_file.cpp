// The .pul file as the clinic archives it: exact header bytes, what comes back on reopening,
// the checks on reading, and that a failing save never harms the previous file.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

#include "files/recording_file.h"

using namespace pulvitra;

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

QByteArray read_all(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write_all(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  ASSERT_EQ(f.write(bytes), bytes.size());
}

void place(QByteArray& buffer, int offset, const char* bytes, int length) {
  std::memcpy(buffer.data() + offset, bytes, length);
}

PatientFields sample_patient() {
  PatientFields f;
  f.surname = u("Meier");
  f.first_name = u("Anna");
  f.date = u("07.03.05");
  f.address = u("Hauptstr. 1, 12345 Berlin");
  f.clinic = u("Klinik Nord");
  f.patient_id = u("ID-0042");
  f.age = 61;
  f.sex = kSexFemale;
  f.comment = u("Kontrolle nach 6 Wochen");
  return f;
}

// A recording whose image holds every byte value in turn.
TEKG patterned_recording() {
  TEKG ekg;
  for (int i = 1; i <= kImageSize; ++i) ekg.Image[i] = static_cast<std::uint8_t>(i * 7);
  return ekg;
}

RecordingHeader round_trip(const PatientFields& fields, std::uint8_t fixed_interval = 0) {
  return decode_header(encode_header(fields, fixed_interval));
}

}  // namespace

TEST(RecordingHeader, has_the_agreed_bytes) {
  QByteArray expected(512, ' ');
  place(expected, 0, "KORDAMAT File\0", 14);
  place(expected, 14, "Meier \0", 7);
  place(expected, 32, "07.03.05 \0", 10);
  place(expected, 44, "Klinik Nord \0", 13);
  place(expected, 69, "Kontrolle nach 6 Wochen \0", 25);
  place(expected, 144, "Anna \0", 6);
  place(expected, 159, "Hauptstr. 1, 12345 Berlin \0", 27);
  place(expected, 207, "ID-0042 \0", 9);
  expected[222] = 61;
  expected[223] = 0x10;
  expected[511] = 4;
  EXPECT_EQ(encode_header(sample_patient(), 4), expected);
}

TEST(RecordingHeader, cuts_texts_to_the_field_width) {
  struct Case {
    const char* surname;
    QByteArray stored;  // the 18 bytes at offset 14
  } cases[] = {
      {"Abcdefghijklmnopqrstuvw", "Abcdefghijklmnopqr"},  // longer: first 18, no terminator
      {"Abcdefghijklmnopqr", "Abcdefghijklmnopqr"},       // exactly 18
      {"Abcdefghijklmnopq", "Abcdefghijklmnopq "},        // 17: one blank, no zero byte
      {"Abcdefghijklmnop", QByteArray("Abcdefghijklmnop \0", 18)},
      {"", QByteArray(" \0                ", 18)},
  };
  for (const Case& c : cases) {
    PatientFields f;
    f.surname = u(c.surname);
    EXPECT_EQ(encode_header(f, 0).mid(14, 18), c.stored) << c.surname;
  }
}

TEST(RecordingHeader, stores_age_and_sex_bytes) {
  struct Case {
    int age;
    int sex;
    unsigned char age_byte, sex_byte;
    int age_back, sex_back;
  } cases[] = {
      {0, kSexFemale, 0, 0x10, 0, kSexFemale},
      {255, kSexMale, 255, 0x20, 255, kSexMale},
      {300, kSexMale, 255, 0x20, 255, kSexMale},   // beyond one byte: kept at the top
      {-4, kSexFemale, 0, 0x10, 0, kSexFemale},    // below zero: 0
      {42, kSexNone, 42, 0x20, 42, kSexMale},      // neither selected: stored and reopened as male
  };
  for (const Case& c : cases) {
    PatientFields f;
    f.age = c.age;
    f.sex = c.sex;
    const QByteArray header = encode_header(f, 0);
    EXPECT_EQ(static_cast<unsigned char>(header[222]), c.age_byte) << c.age;
    EXPECT_EQ(static_cast<unsigned char>(header[223]), c.sex_byte) << c.age;
    const RecordingHeader back = decode_header(header);
    EXPECT_EQ(back.fields.age, c.age_back);
    EXPECT_EQ(back.fields.sex, c.sex_back);
  }
}

TEST(RecordingHeader, reads_an_unknown_sex_byte_as_no_choice) {
  QByteArray header = encode_header(sample_patient(), 0);
  header[223] = 0x00;
  EXPECT_EQ(decode_header(header).fields.sex, kSexNone);
}

TEST(RecordingHeader, reads_the_fixed_interval_with_a_blank_as_zero) {
  struct Case {
    std::uint8_t stored, loaded;
  } cases[] = {{0, 0}, {4, 4}, {32, 0}, {33, 33}, {255, 255}};
  for (const Case& c : cases) {
    QByteArray header = encode_header(sample_patient(), 0);
    header[511] = static_cast<char>(c.stored);
    EXPECT_EQ(decode_header(header).fixed_interval, c.loaded) << int(c.stored);
  }
}

TEST(RecordingHeader, checks_only_the_13_magic_characters) {
  QByteArray header = encode_header(sample_patient(), 0);
  header[13] = 'X';
  EXPECT_TRUE(decode_header(header).magic_ok);
  header[0] = 'k';
  EXPECT_FALSE(decode_header(header).magic_ok);
  EXPECT_FALSE(decode_header(QByteArray("KORDAMAT File")).magic_ok);  // too short for a header
}

TEST(RecordingHeader, gives_back_the_texts_as_the_fields_show_them_after_reopening) {
  struct Case {
    const char* typed;
    const char* surname_back;  // not filtered, up to the zero byte
    const char* clinic_back;   // width 25, through the filter
  } cases[] = {
      {"Meier", "Meier ", "Meier  "},
      {"Meier ", "Meier  ", "Meier  "},  // the filtered fields stay at two trailing blanks
      {"Abcdefghijklmnopqrstuvwxyz", "Abcdefghijklmnopqr", "Abcdefghijklmnopqrstuvwxy"},
      {"Abcdefghijklmnopqrstuvwx", "Abcdefghijklmnopqr", "Abcdefghijklmnopqrstuvwx "},  // 24 = width - 1
      {"Abcdefghijklmnopqrstuvw", "Abcdefghijklmnopqr", "Abcdefghijklmnopqrstuvw "},    // width - 2
      {"Abcdefghijklmnopqrstuv", "Abcdefghijklmnopqr", "Abcdefghijklmnopqrstuv  "},     // width - 3
      {"Dr.  A_B@C", "Dr.  A_B@C ", "Dr. ABC  "},
      {" Lead", " Lead ", "Lead  "},
  };
  for (const Case& c : cases) {
    PatientFields f;
    f.surname = u(c.typed);
    f.clinic = u(c.typed);
    const PatientFields back = round_trip(f).fields;
    EXPECT_EQ(back.surname, u(c.surname_back)) << c.typed;
    EXPECT_EQ(back.clinic, u(c.clinic_back)) << c.typed;
  }
}

TEST(RecordingHeader, surname_gains_a_blank_per_save_until_it_fills_the_field) {
  PatientFields f;
  f.surname = u("Abcdefghijklmno");  // 15 characters
  const char* expected[] = {"Abcdefghijklmno ", "Abcdefghijklmno  ", "Abcdefghijklmno   ",
                            "Abcdefghijklmno   "};
  for (const char* e : expected) {
    f = round_trip(f).fields;
    EXPECT_EQ(f.surname, u(e));
  }
}

TEST(RecordingHeader, keeps_umlauts_and_sharp_s_in_every_text_field) {
  const QString text = u("ÄÖÜäöüß");
  PatientFields f;
  f.surname = f.first_name = f.address = f.clinic = f.patient_id = f.comment = text;
  const QByteArray header = encode_header(f, 0);
  EXPECT_EQ(header.mid(14, 7), QByteArray("\xC4\xD6\xDC\xE4\xF6\xFC\xDF"));  // single bytes of the code page
  const PatientFields back = decode_header(header).fields;
  const QString with_padding = text + u("  ");  // two blanks from the stored padding
  EXPECT_EQ(back.surname, text + u(" "));
  EXPECT_EQ(back.first_name, with_padding);
  EXPECT_EQ(back.address, with_padding);
  EXPECT_EQ(back.clinic, with_padding);
  EXPECT_EQ(back.patient_id, with_padding);
  EXPECT_EQ(back.comment, with_padding);
}

TEST(RecordingHeader, rebuilds_the_date_on_reading) {
  struct Case {
    const char* typed;
    const char* shown;
  } cases[] = {{"12.10.99", "12.10.99"}, {"1.2.1999", "01.02.99"}, {"", "..00"}, {" 4.10.99", "4.10.99"}};
  for (const Case& c : cases) {
    PatientFields f;
    f.date = u(c.typed);
    EXPECT_EQ(round_trip(f).fields.date, u(c.shown)) << c.typed;
  }
}

TEST(RecordingFileIo, saves_33280_bytes_and_reads_everything_back) {
  QTemporaryDir dir;
  const QString path = dir.filePath("anna.pul");
  const TEKG ekg = patterned_recording();
  ASSERT_TRUE(save_recording_file(path, sample_patient(), 4, ekg).ok);

  const QByteArray bytes = read_all(path);
  ASSERT_EQ(bytes.size(), 33280);
  EXPECT_EQ(bytes.left(512), encode_header(sample_patient(), 4));
  EXPECT_EQ(bytes.mid(512), QByteArray(reinterpret_cast<const char*>(ekg.Image.data() + 1), kImageSize));

  const RecordingFile file = read_recording_file(path);
  ASSERT_EQ(file.status, ReadStatus::Ok);
  EXPECT_EQ(file.header.fields.surname, u("Meier "));
  EXPECT_EQ(file.header.fields.comment, u("Kontrolle nach 6 Wochen  "));
  EXPECT_EQ(file.header.fixed_interval, 4);
  TEKG loaded;
  copy_image(file.image, loaded);
  EXPECT_EQ(loaded.Image, ekg.Image);
}

TEST(RecordingFileIo, reports_files_that_are_missing_foreign_or_cut_short) {
  QTemporaryDir dir;
  const QByteArray good = encode_recording_file(sample_patient(), 0, patterned_recording());
  QByteArray foreign = good;
  foreign[3] = 'x';
  struct Case {
    const char* name;
    QByteArray content;  // null: the file does not exist
    ReadStatus status;
    qint64 bytes_found;
  } cases[] = {
      {"missing.pul", QByteArray(), ReadStatus::CannotOpen, 0},
      {"empty.pul", QByteArray(""), ReadStatus::TooShort, 0},
      {"header_cut.pul", good.left(511), ReadStatus::TooShort, 511},
      {"header_only.pul", good.left(512), ReadStatus::TooShort, 512},
      {"image_cut.pul", good.left(33279), ReadStatus::TooShort, 33279},
      {"foreign.pul", foreign, ReadStatus::NotARecording, 0},
      {"short_foreign.pul", foreign.left(600), ReadStatus::NotARecording, 0},
      {"longer.pul", good + "tail", ReadStatus::Ok, 0},
  };
  for (const Case& c : cases) {
    const QString path = dir.filePath(c.name);
    if (!c.content.isNull()) write_all(path, c.content);
    const RecordingFile file = read_recording_file(path);
    EXPECT_EQ(file.status, c.status) << c.name;
    EXPECT_EQ(file.bytes_found, c.bytes_found) << c.name;
    if (c.status != ReadStatus::Ok) {
      EXPECT_TRUE(file.image.isEmpty()) << c.name;
    }
  }
}

TEST(RecordingFileIo, names_the_file_when_it_is_cut_short) {
  RecordingFile file;
  file.status = ReadStatus::TooShort;
  file.bytes_found = 700;
  EXPECT_EQ(read_failure_text(file, u("/data/x.pul")),
            u("Die Datei /data/x.pul ist unvollständig: sie hat 700 statt 33280 Bytes"));
}

TEST(SafeSave, a_write_error_leaves_the_previous_file_unchanged) {
  QTemporaryDir dir;
  const QString path = dir.filePath("kept.pul");
  const QByteArray previous = encode_recording_file(sample_patient(), 0, TEKG{});
  write_all(path, previous);

  // A file size limit makes the writes fail part way, as a full disk does.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old_limit{};
  getrlimit(RLIMIT_FSIZE, &old_limit);
  rlimit small = old_limit;
  small.rlim_cur = 4096;
  setrlimit(RLIMIT_FSIZE, &small);
  PatientFields other;
  other.surname = u("Other");
  const WriteResult result = save_recording_file(path, other, 0, patterned_recording());
  setrlimit(RLIMIT_FSIZE, &old_limit);

  EXPECT_FALSE(result.ok);
  EXPECT_EQ(read_all(path), previous);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u("kept.pul")});  // no stray temp file
}

TEST(SafeSave, a_read_only_folder_leaves_the_previous_file_unchanged) {
  if (geteuid() == 0) GTEST_SKIP() << "folder permissions do not bind the superuser";
  QTemporaryDir dir;
  const QString path = dir.filePath("kept.pul");
  const QByteArray previous = encode_recording_file(sample_patient(), 0, TEKG{});
  write_all(path, previous);
  QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
  const WriteResult result = save_recording_file(path, PatientFields{}, 0, patterned_recording());
  QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(read_all(path), previous);
}

TEST(SafeSave, fails_when_the_folder_does_not_exist) {
  QTemporaryDir dir;
  const QString path = dir.filePath("no_such_folder/x.pul");
  EXPECT_FALSE(save_recording_file(path, sample_patient(), 0, TEKG{}).ok);
  EXPECT_FALSE(QFile::exists(path));
}

TEST(SafeSave, replaces_an_existing_file_completely) {
  QTemporaryDir dir;
  const QString path = dir.filePath("x.pul");
  write_all(path, QByteArray(40000, 'z'));  // longer than a recording file
  ASSERT_TRUE(save_recording_file(path, sample_patient(), 0, TEKG{}).ok);
  EXPECT_EQ(read_all(path).size(), 33280);
}
