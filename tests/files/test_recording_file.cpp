// The .pul file as the clinic archives it: exact header bytes, what comes back on reopening,
// the checks on reading, and that a failing save never harms the previous file.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

#include "files/recording_file.h"
#include "tests/support/file_bytes.h"

using namespace pulvitra;
using pulvitra::test::read_all;
using pulvitra::test::with_file_size_limit;
using pulvitra::test::write_all;

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

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

TEKG patterned_recording() {
  TEKG ekg;
  for (int i = 1; i <= kImageSize; ++i) ekg.Image[i] = static_cast<std::uint8_t>(i * 7);
  return ekg;
}

RecordingHeader round_trip(const PatientFields& fields) { return decode_header(encode_header(fields, 0)); }

}  // namespace

TEST(RecordingHeader, has_the_agreed_bytes) {
  QByteArray expected(512, ' ');
  auto place = [&expected](int offset, const char* bytes, int length) {
    std::memcpy(expected.data() + offset, bytes, length);
  };
  place(0, "KORDAMAT File\0", 14);
  place(14, "Meier \0", 7);
  place(32, "07.03.05 \0", 10);
  place(44, "Klinik Nord \0", 13);
  place(69, "Kontrolle nach 6 Wochen \0", 25);
  place(144, "Anna \0", 6);
  place(159, "Hauptstr. 1, 12345 Berlin \0", 27);
  place(207, "ID-0042 \0", 9);
  expected[222] = 61;
  expected[223] = 0x10;
  expected[511] = 4;
  EXPECT_EQ(encode_header(sample_patient(), 4), expected);
}

TEST(RecordingHeader, texts_come_back_cut_to_width_and_with_their_trailing_blanks) {
  struct Case {
    const char* typed;
    QByteArray surname_bytes;  // the 18 bytes at offset 14
    const char* surname_back;  // not filtered, up to the zero byte
    const char* clinic_back;   // width 25, through the filter
  } cases[] = {
      {"Meier", QByteArray("Meier \0            ", 18), "Meier ", "Meier  "},
      {"Meier  ", QByteArray("Meier   \0         ", 18), "Meier   ", "Meier  "},  // filtered: stays at two
      {"Abcdefghijklmnopqrstuvwxyz", "Abcdefghijklmnopqr", "Abcdefghijklmnopqr", "Abcdefghijklmnopqrstuvwxy"},
      {"Abcdefghijklmnopq", "Abcdefghijklmnopq ", "Abcdefghijklmnopq ", "Abcdefghijklmnopq  "},
      {"Abcdefghijklmnopqrstuvwx", "Abcdefghijklmnopqr", "Abcdefghijklmnopqr", "Abcdefghijklmnopqrstuvwx "},
      {"Abcdefghijklmnopqrstuvw", "Abcdefghijklmnopqr", "Abcdefghijklmnopqr", "Abcdefghijklmnopqrstuvw "},
      {"Dr.  A_B@C", QByteArray("Dr.  A_B@C \0      ", 18), "Dr.  A_B@C ", "Dr. ABC  "},
  };
  for (const Case& c : cases) {
    PatientFields f;
    f.surname = f.clinic = u(c.typed);
    const QByteArray header = encode_header(f, 0);
    EXPECT_EQ(header.mid(14, 18), c.surname_bytes) << c.typed;
    const PatientFields back = decode_header(header).fields;
    EXPECT_EQ(back.surname, u(c.surname_back)) << c.typed;
    EXPECT_EQ(back.clinic, u(c.clinic_back)) << c.typed;
  }
}

TEST(RecordingHeader, keeps_umlauts_and_sharp_s_in_every_text_field) {
  const QString text = u("ÄÖÜäöüß");
  PatientFields f;
  f.surname = f.first_name = f.address = f.clinic = f.patient_id = f.comment = text;
  const QByteArray header = encode_header(f, 0);
  EXPECT_EQ(header.mid(14, 7), QByteArray("\xC4\xD6\xDC\xE4\xF6\xFC\xDF"));
  const PatientFields back = decode_header(header).fields;
  EXPECT_EQ(back.surname, text + u(" "));
  for (const QString& field : {back.first_name, back.address, back.clinic, back.patient_id, back.comment})
    EXPECT_EQ(field, text + u("  "));
}

TEST(RecordingHeader, stores_age_and_sex_in_one_byte_each) {
  struct Case {
    int age, sex;
    unsigned char age_byte, sex_byte;
    int sex_back;
  } cases[] = {
      {0, kSexFemale, 0, 0x10, kSexFemale},
      {255, kSexMale, 255, 0x20, kSexMale},
      {300, kSexMale, 255, 0x20, kSexMale},   // the field has no bounds: clamped into the byte
      {-4, kSexFemale, 0, 0x10, kSexFemale},
      {42, kSexNone, 42, 0x20, kSexMale},     // neither selected: stored as, and reopened as, male
  };
  for (const Case& c : cases) {
    PatientFields f;
    f.age = c.age;
    f.sex = c.sex;
    const QByteArray header = encode_header(f, 0);
    EXPECT_EQ(static_cast<unsigned char>(header[222]), c.age_byte) << c.age;
    EXPECT_EQ(static_cast<unsigned char>(header[223]), c.sex_byte) << c.age;
    EXPECT_EQ(decode_header(header).fields.age, c.age_byte) << c.age;
    EXPECT_EQ(decode_header(header).fields.sex, c.sex_back) << c.age;
  }
}

TEST(RecordingHeader, reads_fixed_interval_and_checks_only_13_magic_characters) {
  QByteArray header = encode_header(sample_patient(), 0);
  for (auto [stored, loaded] : {std::pair{0, 0}, {4, 4}, {32, 0}, {255, 255}}) {
    header[511] = static_cast<char>(stored);
    EXPECT_EQ(decode_header(header).fixed_interval, loaded) << stored;
  }
  header[13] = 'X';
  EXPECT_TRUE(decode_header(header).magic_ok);
  header[0] = 'k';
  EXPECT_FALSE(decode_header(header).magic_ok);
}

TEST(RecordingHeader, rebuilds_odd_dates_on_reading) {
  const std::pair<const char*, const char*> cases[] = {
      {"12.10.99", "12.10.99"}, {"1.2.1999", "01.02.99"}, {"", "..00"},        {"1.2.3", "01.02.03"},
      {"5.11.123", "05.11.23"}, {"1.2.12345", "01.02.12345"}, {"150399", "..150399"}, {" 4.10.99", "4.10.99"},
  };
  for (auto [typed, shown] : cases) {
    PatientFields f;
    f.date = u(typed);
    EXPECT_EQ(round_trip(f).fields.date, u(shown)) << typed;
  }
}

TEST(RecordingFileIo, saves_33280_bytes_and_reads_everything_back) {
  QTemporaryDir dir;
  const QString path = dir.filePath("anna.pul");
  write_all(path, QByteArray(40000, 'z'));  // a longer file is replaced, not overwritten in place
  const TEKG ekg = patterned_recording();
  ASSERT_TRUE(save_recording_file(path, sample_patient(), 4, ekg).ok);

  const QByteArray bytes = read_all(path);
  ASSERT_EQ(bytes.size(), 33280);
  EXPECT_EQ(bytes.left(512), encode_header(sample_patient(), 4));
  const RecordingFile file = read_recording_file(path);
  ASSERT_EQ(file.status, ReadStatus::Ok);
  EXPECT_EQ(file.header.fields.comment, u("Kontrolle nach 6 Wochen  "));
  TEKG loaded;
  copy_image(file.image, loaded);
  EXPECT_TRUE(std::equal(ekg.Image.begin() + 1, ekg.Image.end(), loaded.Image.begin() + 1));
}

TEST(RecordingFileIo, tells_missing_foreign_and_cut_files_apart) {
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
      // Under 512 bytes, only a file that begins with the magic is a cut recording.
      {"empty.pul", QByteArray(""), ReadStatus::NotARecording, 0},
      {"tiny_foreign.pul", QByteArray("hello, world\n"), ReadStatus::NotARecording, 0},
      {"cut_foreign.pul", foreign.left(511), ReadStatus::NotARecording, 0},
      {"cut_in_magic.pul", good.left(12), ReadStatus::NotARecording, 0},
      {"magic_only.pul", good.left(13), ReadStatus::TooShort, 13},
      {"header_cut.pul", good.left(511), ReadStatus::TooShort, 511},
      {"image_cut.pul", good.left(33279), ReadStatus::TooShort, 33279},
      {"short_foreign.pul", foreign.left(600), ReadStatus::NotARecording, 0},
      {"longer.pul", good + "tail", ReadStatus::Ok, 0},
  };
  for (const Case& c : cases) {
    const QString path = dir.filePath(c.name);
    if (!c.content.isNull()) write_all(path, c.content);
    const RecordingFile file = read_recording_file(path);
    EXPECT_EQ(file.status, c.status) << c.name;
    EXPECT_EQ(file.bytes_found, c.bytes_found) << c.name;
    EXPECT_EQ(file.image.size(), c.status == ReadStatus::Ok ? kImageSize : 0) << c.name;
  }
}

// Opening a FIFO would wait for a writer for ever; devices and folders are refused alike.
TEST(RecordingFileIo, refuses_what_is_not_a_regular_file_without_reading) {
  QTemporaryDir dir;
  const QString fifo = dir.filePath("pipe.pul");
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  for (const QString& path : {fifo, u("/dev/zero"), u("/dev/null"), dir.path()}) {
    auto reading = std::async(std::launch::async, [path] { return read_recording_file(path); });
    if (reading.wait_for(std::chrono::seconds(1)) != std::future_status::ready) {
      // Let the blocked open go on before failing, so the test ends.
      ::close(::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK));
      ADD_FAILURE() << "reading " << path.toStdString() << " blocked";
    }
    const RecordingFile file = reading.get();
    EXPECT_EQ(file.status, ReadStatus::CannotOpen) << path.toStdString();
    EXPECT_TRUE(file.image.isEmpty()) << path.toStdString();
  }
}

TEST(SafeSave, a_write_error_leaves_the_previous_file_unchanged) {
  QTemporaryDir dir;
  const QString path = dir.filePath("kept.pul");
  const QByteArray previous = encode_recording_file(sample_patient(), 0, TEKG{});
  write_all(path, previous);
  WriteResult result;
  with_file_size_limit(4096, [&] { result = save_recording_file(path, PatientFields{}, 0, patterned_recording()); });

  EXPECT_FALSE(result.ok);
  EXPECT_EQ(read_all(path), previous);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u("kept.pul")});  // no stray temp file
}

TEST(SafeSave, a_read_only_or_missing_folder_fails_and_keeps_the_previous_file) {
  QTemporaryDir dir;
  EXPECT_FALSE(save_recording_file(dir.filePath("no_such_folder/x.pul"), PatientFields{}, 0, TEKG{}).ok);
  if (geteuid() == 0) GTEST_SKIP() << "folder permissions do not bind the superuser";
  const QString path = dir.filePath("kept.pul");
  const QByteArray previous = encode_recording_file(sample_patient(), 0, TEKG{});
  write_all(path, previous);
  QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
  const WriteResult result = save_recording_file(path, PatientFields{}, 0, patterned_recording());
  QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(read_all(path), previous);
}
