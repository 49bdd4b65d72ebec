// The two exports as other programs read them: the EDF+ file through EDFlib's own reader
// (samples, rate, record length, annotations, patient header), the beat list's rows, and the
// time axis both share.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <tuple>
#include <edflib.h>

#include "files/beat_list.h"
#include "files/edf_export.h"
#include "recording/recording_generator.h"
#include "tests/support/image_builder.h"

using namespace pulvitra;

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

// Writes an EDF+ file and opens it with EDFlib's reader; closed when it goes.
struct ReadBack {
  ReadBack(const ExportTimeline& timeline, const PatientFields& fields) {
    const EdfFile edf = edf_file_bytes(timeline, fields);
    EXPECT_TRUE(edf.error.isEmpty()) << edf.error.toStdString();
    bytes = edf.bytes;
    QFile f(dir.filePath("out.edf"));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    rc = edfopen_file_readonly(QFile::encodeName(f.fileName()).constData(), &hdr, EDFLIB_READ_ALL_ANNOTATIONS);
  }
  ~ReadBack() {
    if (rc == 0) edfclose_file(hdr.handle);
  }
  QTemporaryDir dir;
  QByteArray bytes;
  edf_hdr_struct hdr{};
  int rc = -1;
};

ExportTimeline small_timeline(int interval_ms, int samples) {
  ExportTimeline t;
  t.interval_ms = interval_ms;
  for (int k = 0; k < samples; ++k) t.samples.push_back(static_cast<std::uint8_t>(k % 251));
  t.beats = {{1, 0, 800, 75.0f, 0}, {2, 8 * interval_ms, 800, 75.0f, kFlagStartRecord | kFlagCode254}};
  return t;
}

TEST(EdfExport, generated_recording_reads_back_with_samples_beats_marks_and_patient) {
  GeneratorOptions options{.seed = 5, .interval_ms = 12, .event_every_s = 40.0, .second_measurement = true};
  TEKG ekg;
  clear_recording(ekg);
  copy_generated_image(generate_recording(options), ekg);
  DecoderState decoder;
  const DecodeResult decoded = decode_recording(ekg, decoder);
  const ExportTimeline timeline = export_timeline(ekg, 0, decoded);
  ASSERT_EQ(timeline.interval_ms, 12);

  PatientFields fields;
  fields.surname = u("Müller");
  fields.first_name = u("Hans Jörg");
  fields.date = u("07.03.05");
  fields.patient_id = u("ID 7");
  fields.sex = kSexMale;
  ReadBack edf(timeline, fields);
  ASSERT_EQ(edf.rc, 0) << edf.hdr.filetype;
  ASSERT_EQ(edf.hdr.edfsignals, 1);
  const edf_param_struct& ecg = edf.hdr.signalparam[0];
  EXPECT_EQ(std::tuple(QByteArray(ecg.label), QByteArray(ecg.physdimension), ecg.dig_min, ecg.dig_max, ecg.phys_min, ecg.phys_max),
            std::tuple(QByteArray("ECG             "), QByteArray("        "), 0, 250, 0.0, 250.0));
  // 100 samples in 1.2 s: 1000 / 12 Hz. The header says "1.2", not EDFlib's "1.199999".
  EXPECT_EQ(ecg.smp_in_datarecord, 100);
  EXPECT_EQ(edf.hdr.datarecord_duration, 12'000'000);
  EXPECT_EQ(edf.bytes.mid(244, 8), QByteArray("1.2     "));
  const long long count = static_cast<long long>(timeline.samples.size());
  ASSERT_GT(count, 32000);
  EXPECT_EQ(ecg.smp_in_file, (count + 99) / 100 * 100);

  // The image opens with the start record 255 0 255 0; the samples follow it.
  ASSERT_EQ(QByteArray(reinterpret_cast<const char*>(&ekg.Image[1]), 4), QByteArray("\xff\0\xff\0", 4));
  std::vector<int> first(8);
  ASSERT_EQ(edfread_digital_samples(edf.hdr.handle, 0, 8, first.data()), 8);
  for (int k = 0; k < 8; ++k) EXPECT_EQ(first[k], ekg.Image[5 + k]) << k;
  // The last record is padded with 125.
  ASSERT_NE(count % 100, 0);
  edfseek(edf.hdr.handle, 0, ecg.smp_in_file - 1, EDFSEEK_SET);
  int last = 0;
  ASSERT_EQ(edfread_digital_samples(edf.hdr.handle, 0, 1, &last), 1);
  EXPECT_EQ(last, 125);

  long long marks = 0;  // the second start (the first lies before beat 1) and the events
  for (const ExportBeat& b : timeline.beats) marks += ((b.flags & kFlagStartRecord) != 0) + ((b.flags & kFlagCode254) != 0);
  EXPECT_GE(marks, 4);
  ASSERT_EQ(edf.hdr.annotations_in_file, static_cast<long long>(timeline.beats.size()) + marks);
  edf_annotation_struct note{};
  ASSERT_EQ(edf_get_annotation(edf.hdr.handle, 0, &note), 0);
  EXPECT_STREQ(note.annotation, "N");
  EXPECT_EQ(note.onset, timeline.beats[0].time_ms * 10'000);  // 100 ns units

  EXPECT_EQ(edf.bytes.mid(8, 30), "ID_7 M X Mueller_Hans_Joerg   ");
  EXPECT_EQ(edf.bytes.mid(88, 46), "Startdate 07-MAR-2005 X X Kordamat            ");
  EXPECT_EQ(edf.bytes.mid(168, 8), "07.03.05");
}

// Every interval a file can fix (1..255 ms, the decoder's 2..30 among them) gives records of
// interval / 10 s that EDFlib reads back exactly.
TEST(EdfExport, every_interval_gives_an_exact_record_duration) {
  for (int interval : {1, 2, 10, 12, 14, 23, 28, 30, 101, 254, 255}) {
    ReadBack edf(small_timeline(interval, 250), PatientFields{});
    ASSERT_EQ(edf.rc, 0) << interval;
    EXPECT_EQ(edf.hdr.datarecord_duration, interval * 1'000'000LL) << interval;
    EXPECT_EQ(edf.hdr.datarecords_in_file, 3) << interval;
    EXPECT_EQ(edf.hdr.annotations_in_file, 4) << interval;  // 2 beats, one start, one event
  }
}

// Two-digit years 80..99 are the 1900s; an incomplete date, or one before EDF's first year
// 1985, goes into the header as unknown.
TEST(EdfExport, start_dates_from_the_date_field) {
  const std::vector<std::pair<const char*, QDate>> cases = {
      {"07.03.05", QDate(2005, 3, 7)}, {"31.12.79", QDate(2079, 12, 31)}, {"01.01.80", QDate(1980, 1, 1)},
      {"15.06.99", QDate(1999, 6, 15)}, {" 29.02.00 ", QDate(2000, 2, 29)},
      {"  .  .  ", QDate()}, {"7.3.05", QDate()}, {"31.02.05", QDate()}, {"07.03.2005", QDate()}};
  for (const auto& [field, expected] : cases) EXPECT_EQ(recording_date(u(field)).value_or(QDate()), expected) << field;
  for (const char* date : {"  .  .  ", "31.02.05", "04.03.82"}) {
    PatientFields fields;
    fields.date = u(date);
    ReadBack edf(small_timeline(10, 100), fields);
    ASSERT_EQ(edf.rc, 0) << date;
    EXPECT_EQ(edf.bytes.mid(88, 25), QByteArray("Startdate X X X Kordamat ")) << date;
    EXPECT_EQ(edf.bytes.mid(8, 12), QByteArray("X X X X     ")) << date;  // no code, sex, birth, name
  }
  // The header's two-digit years reach back to 1985, and no further.
  for (const auto& [date, startdate] : {std::pair{"01.01.85", "Startdate 01-JAN-1985 X X"}, std::pair{"31.12.84", "Startdate X X X Kordamat "}}) {
    PatientFields fields;
    fields.date = u(date);
    ReadBack edf(small_timeline(10, 100), fields);
    ASSERT_EQ(edf.rc, 0) << date;
    EXPECT_EQ(edf.bytes.mid(88, 25), QByteArray(startdate)) << date;
  }
}

TEST(EdfExport, header_texts_become_ascii) {
  EXPECT_EQ(ascii_transliteration(u("Müßig-Öztürk")), u("Muessig-Oeztuerk"));
  EXPECT_EQ(ascii_transliteration(u("José Łukasz Ærø")), u("Jose Lukasz AEro"));
  EXPECT_EQ(ascii_transliteration(u("„Dr.“ 5 €\t…")), u("\"Dr.\" 5 EUR..."));
}

TEST(ExportTimeline, sample_interval_is_the_most_frequent_one) {
  const std::vector<std::uint8_t> start_artefact = {28, 12, 12, 12, 10}, tie = {12, 10, 12, 10};
  EXPECT_EQ(sample_interval(0, start_artefact), 12);
  EXPECT_EQ(sample_interval(0, tie), 10);
  EXPECT_EQ(sample_interval(0, {}), 10);
  EXPECT_EQ(sample_interval(7, start_artefact), 7);
}

// Codes and their argument bytes are no samples: a beat's time counts only the samples
// before it.
TEST(ExportTimeline, beats_lie_at_their_sample_codes_passed_over) {
  test::ImageBuilder image;
  image.code({255, 0, 255, 0}).beats(3, 50).code({252, 120}).beats(1, 50).code({254, 0}).beats(4, 50);
  auto ekg = image.recording();
  DecoderState decoder;
  test::settle_detector(decoder);
  decoder.FixedInterval = 10;
  const DecodeResult decoded = decode_recording(*ekg, decoder);
  const ExportTimeline timeline = export_timeline(*ekg, 10, decoded);
  EXPECT_EQ(timeline.samples.size(), 32759u - 4 - 2 - 2);
  ASSERT_GE(timeline.beats.size(), 6u);
  // Beat 1 is the second spike (the first has no period); spikes are 50 samples apart.
  EXPECT_EQ(decoded.kept_positions[0], image.spikes()[1]);
  const std::vector<long long> times = {990, 1490, 1990, 2490, 2990, 3490};
  for (std::size_t k = 0; k < times.size(); ++k) {
    EXPECT_EQ(timeline.beats[k].time_ms, times[k]) << k;
    EXPECT_EQ(timeline.beats[k].rr_ms, 500) << k;
  }
  EXPECT_EQ(timeline.beats[2].flags, 0);            // the rate marker sets no bit
  EXPECT_EQ(timeline.beats[3].flags, kFlagCode254);  // the event mark before its spike
}

// Beats 42 samples of 10 ms apart have the rate 142.857147f, which gives back 419.99999 ms:
// the RR column holds the period to the nearest millisecond, 420.
TEST(ExportTimeline, rr_is_the_period_to_the_nearest_millisecond) {
  test::ImageBuilder image;
  image.beats(8, 42);
  auto ekg = image.recording();
  DecoderState decoder;
  test::settle_detector(decoder);
  decoder.FixedInterval = 10;
  const ExportTimeline timeline = export_timeline(*ekg, 10, decode_recording(*ekg, decoder));
  ASSERT_EQ(timeline.beats.size(), 5u);
  for (const ExportBeat& beat : timeline.beats) EXPECT_EQ(beat.rr_ms, 420) << beat.number;
}

TEST(BeatList, rows_hold_time_rr_exact_rate_bits_and_limits) {
  ExportTimeline t;
  t.interval_ms = 12;
  t.beats = {{1, 384, 784, 60000.0f / 784.0f, kFlagStartRecord},
             {2, 1188, 804, 60000.0f / 804.0f, 0},
             {3, 61992, 750, 80.0f, kFlagCode254}};
  EXPECT_EQ(beat_list_csv(t, 15, 90),
            "beat,time_s,rr_ms,rate_per_min,start_record,event,in_limits\n"
            "1,0.384,784,76.53060913085938,1,0,1\n"
            "2,1.188,804,74.62686920166016,0,0,1\n"
            "3,61.992,750,80,0,1,1\n");
  // Limits compare strictly, as the statistics do: 80 is not below 2 x 40.
  EXPECT_EQ(beat_list_csv(t, 40, 37).split('\n')[3], "3,61.992,750,80,0,1,0");
  EXPECT_EQ(beat_list_csv(t, 38, 40).split('\n')[1], "1,0.384,784,76.53060913085938,1,0,1");
}

// The time column is seconds with exactly three decimals: milliseconds below 100 keep their
// leading zeros, and a beat after 1000 s keeps all its digits.
TEST(BeatList, time_column_keeps_three_decimals) {
  const std::pair<long long, const char*> cases[] = {
      {0, "0.000"}, {2048, "2.048"}, {3005, "3.005"}, {60090, "60.090"}, {1000500, "1000.500"}, {1000007, "1000.007"}};
  for (const auto& [ms, text] : cases) {
    ExportTimeline t;
    t.beats = {{1, ms, 800, 75.0f, 0}};
    EXPECT_EQ(beat_list_csv(t, 15, 90).split('\n')[1], QByteArray("1,") + text + ",800,75,0,0,1") << ms;
  }
}

}  // namespace
