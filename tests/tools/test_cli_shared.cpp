// What every command of pulvitra-cli shares: the JSON layout scripts read, the options, and
// the file errors in the language of --language (English when not given), with nothing
// else on standard error.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdlib>

#include "shell/language.h"
#include "files/recording_file.h"
#include "tools/cli/json_writer.h"
#include "tools/cli/options.h"
#include "tests/support/run_cli.h"

using namespace pulvitra;
using namespace pulvitra::cli;
using namespace pulvitra::test;

namespace {

void write_file(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

}  // namespace

TEST(CliJson, members_in_written_order_with_the_layouts_of_the_commands) {
  JsonWriter at_margin;
  at_margin.begin_object().key("b").value(2).key("a").begin_array().value(1).value(2.5f).end_array();
  at_margin.key("pages").begin_array_of_lines();
  at_margin.begin_object().key("x").value(1).key("t").null().end_object();
  at_margin.begin_object().key("x").value(2).key("t").value(true).end_object();
  at_margin.end_array().end_object();
  EXPECT_EQ(at_margin.finish(), "{\"b\": 2,\n\"a\": [1, 2.5],\n\"pages\": [\n  {\"x\": 1, \"t\": null},\n  {\"x\": 2, \"t\": true}\n]}\n");

  JsonWriter indented(JsonWriter::Layout::kIndented);
  indented.begin_object().key("magic_ok").value(false).key("age").value(71).end_object();
  EXPECT_EQ(indented.finish(), "{\n  \"magic_ok\": false,\n  \"age\": 71\n}\n");

  JsonWriter empty;
  empty.begin_object().key("beats").begin_array().end_array().key("pages").begin_array_of_lines().end_array().end_object();
  EXPECT_EQ(empty.finish(), "{\"beats\": [],\n\"pages\": []}\n");
}

// Rates are single precision: decode writes the double the float widens to, stats the float.
TEST(CliJson, numbers_are_the_shortest_exact_decimals) {
  struct Case {
    float value;
    const char* as_float;
    const char* as_double;
  } cases[] = {
      {72.5f, "72.5", "72.5"},
      {0.1f, "0.1", "0.10000000149011612"},
      {0.0f, "0", "0"},
      {83.33333f, "83.33333", "83.33332824707031"},
  };
  for (const Case& c : cases) {
    JsonWriter f, d;
    f.value(c.value);
    d.value(static_cast<double>(c.value));
    EXPECT_EQ(f.finish(), std::string(c.as_float) + "\n");
    EXPECT_EQ(d.finish(), std::string(c.as_double) + "\n");
  }
}

TEST(CliJson, texts_are_utf8_with_escapes) {
  JsonWriter json;
  json.value(QString::fromUtf8("Gro\u00DF \"a\\b\"\t\r\n\x01"));
  EXPECT_EQ(json.finish(), "\"Gro\xC3\x9F \\\"a\\\\b\\\"\\t\\r\\n\\u0001\"\n");
}

TEST(CliOptions, one_parser_for_every_command) {
  struct Case {
    QStringList args;
    const char* error;  // "" when the line is fine
    int limit1;
    int limit2;
    bool twice;
    QStringList files;
  } cases[] = {
      {{"a.pul"}, "", 15, 90, false, {"a.pul"}},
      {{"--limits", "60", "100"}, "stats: --limits needs two whole numbers from 15 to 90, not '60 100'", 15, 90, false, {}},
      {{"a.pul", "--limits", "90", "16", "--twice"}, "", 90, 16, true, {"a.pul"}},
      {{"a.pul", "--limits", "30"}, "stats: --limits needs 2 values", 15, 90, false, {}},
      {{"a.pul", "b.pul"}, "stats: unexpected argument 'b.pul'", 15, 90, false, {}},
      {{"--thrice"}, "stats: unexpected argument '--thrice'", 15, 90, false, {}},
      {{"a.pul", "--language", "fr"}, "stats: --language needs one of de, en", 15, 90, false, {}},
  };
  for (const Case& c : cases) {
    int limit1 = 15, limit2 = 90;
    bool twice = false;
    QString error;
    const auto line = parse_command_line("stats", c.args,
                                         {{"--limits", 2, whole_numbers(15, 90, limit1, limit2)},
                                          {"--twice", 0, switch_on(twice)}},
                                         1, error);
    SCOPED_TRACE(c.args.join(' ').toStdString());
    EXPECT_EQ(error, QString::fromLatin1(c.error));
    EXPECT_EQ(line.has_value(), error.isEmpty());
    if (!line) continue;
    EXPECT_EQ(limit1, c.limit1);
    EXPECT_EQ(limit2, c.limit2);
    EXPECT_EQ(twice, c.twice);
    EXPECT_EQ(line->files, c.files);
  }
}

TEST(CliOptions, language_is_applied_to_the_messages_at_once) {
  QString error;
  cur_lang = kEnglish;
  auto line = parse_command_line("info", {"--language", "de", "a.pul"}, {}, 1, error);
  ASSERT_TRUE(line);
  EXPECT_EQ(line->language, std::optional<std::uint8_t>(kGerman));
  EXPECT_EQ(cur_lang, kGerman);
  line = parse_command_line("info", {"a.pul"}, {}, 1, error);
  ASSERT_TRUE(line);
  EXPECT_FALSE(line->language.has_value());
  cur_lang = kGerman;
}

// Every command that reads a recording says what is wrong with the file in the language of
// --language, English when it is not given, and prints nothing else on standard error.
TEST(CliFileErrors, every_reading_command_speaks_the_chosen_language) {
  QTemporaryDir dir;
  const QString missing = dir.filePath("missing.pul");
  const QString cut = dir.filePath("cut.pul");
  const QString letter = dir.filePath("letter.pul");
  write_file(cut, encode_header(PatientFields{}, 0) + QByteArray(19488, '\x7D'));  // 20000 bytes
  write_file(letter, "Dear doctor,\n");
  struct Case {
    QString file;
    QStringList language;
    QString error;
  } cases[] = {
      {missing, {}, "pulvitra-cli: cannot open " + missing + ": No such file or directory\n"},
      {missing, {"--language", "de"}, QString::fromUtf8("pulvitra-cli: Die Datei ") + missing +
                                          QString::fromUtf8(" lässt sich nicht öffnen: No such file or directory\n")},
      {cut, {}, "pulvitra-cli: The file " + cut + " is incomplete: it has 20000 instead of 33280 bytes\n"},
      {cut, {"--language", "de"},
       "pulvitra-cli: Die Datei " + cut + QString::fromUtf8(" ist unvollständig: sie hat 20000 statt 33280 Bytes\n")},
      {letter, {"--language", "en"}, "pulvitra-cli: " + letter + " is not a recording file (no \"KORDAMAT File\" header)\n"},
      {letter, {"--language", "de"},
       "pulvitra-cli: " + letter + " ist keine Aufzeichnungsdatei (kein Kopf \"KORDAMAT File\")\n"},
  };
  const QStringList commands[] = {{"decode"}, {"stats"}, {"info"}, {"render", "-o", dir.filePath("x.png")}};
  for (const Case& c : cases) {
    for (const QStringList& command : commands) {
      const bool info_reads_foreign_headers = command.first() == "info" && c.file == letter;
      if (info_reads_foreign_headers) continue;
      QStringList args = command;
      args << c.file << c.language;
      SCOPED_TRACE(args.join(' ').toStdString());
      const CliRun run = run_cli(args, bare_environment());
      EXPECT_EQ(run.exit_code, 1);
      EXPECT_EQ(run.err, c.error);
      EXPECT_TRUE(run.out.isEmpty());
    }
  }
}

TEST(CliFileErrors, info_shows_a_foreign_files_header_as_no_recording) {
  QTemporaryDir dir;
  const QString letter = dir.filePath("letter.pul");
  write_file(letter, "Dear doctor,\n");
  const CliRun run = run_cli({"info", letter}, bare_environment());
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out, "{\n  \"magic_ok\": false\n}\n");
  EXPECT_EQ(run.err, QString());
}

// Without a runtime folder Qt would warn on every start; a successful command says nothing
// on standard error.
TEST(CliFileErrors, successful_commands_leave_standard_error_empty) {
  QTemporaryDir dir;
  const QString file = dir.filePath("gen.pul");
  const QStringList runs[] = {
      {"generate", file, "--seed", "7", "--minutes", "2"},
      {"decode", file},
      {"stats", file, "--limits", "30", "50"},
      {"info", file},
      {"render", file, "--view", "histogram", "-o", dir.filePath("h.png")},
  };
  for (const QStringList& args : runs) {
    SCOPED_TRACE(args.join(' ').toStdString());
    const CliRun run = run_cli(args, bare_environment());
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.err, QString());
  }
}

// A file name with a byte that is no UTF-8 (0xFF) reaches that file for reading, is shown with a
// replacement character, and is never written to: its Unicode form would name another file.
TEST(CliFileNames, names_that_are_no_utf8_are_read_but_never_written) {
  QTemporaryDir dir;
  ASSERT_EQ(run_cli({"generate", dir.filePath("plain.pul")}).exit_code, 0);
  const QByteArray folder = QFile::encodeName(dir.path());
  ASSERT_EQ(::system(("cp '" + folder + "/plain.pul' \"$(printf '" + folder + "/b\\377.pul')\"").constData()), 0);
  struct Case {
    const char* command;  // the shell words after pulvitra-cli; $B is the byte name, $C one that is not there
    int exit_code;
    const char* out;
    const char* err;
  } cases[] = {
      {"info \"$B\"", 0, "\"magic_ok\": true", ""},
      {"summary \"$B\"", 0, "/b\xEF\xBF\xBD.pul,", ""},
      {"generate \"$C\"", 2, "", "the name holds bytes that are not UTF-8"},
      {"export \"$B\" --format csv -o \"$C\"", 2, "", "the name holds bytes that are not UTF-8"},
  };
  for (const Case& c : cases) {
    QProcess shell;
    shell.start("/bin/sh", {"-c", QString("B=\"$(printf '%1/b\\377.pul')\"; C=\"$(printf '%1/c\\377.pul')\"; '%2' %3")
                                      .arg(dir.path(), PULVITRA_BIN_DIR "/pulvitra-cli", c.command)});
    ASSERT_TRUE(shell.waitForFinished(30000));
    EXPECT_EQ(shell.exitCode(), c.exit_code) << c.command;
    EXPECT_TRUE(shell.readAllStandardOutput().contains(c.out)) << c.command;
    EXPECT_TRUE(QString::fromUtf8(shell.readAllStandardError()).contains(c.err)) << c.command;
  }
  // Qt cannot name the byte file, so the shell counts and removes it.
  QProcess shell;
  shell.start("/bin/sh", {"-c", QString("ls '%1' | wc -l; rm -f '%1'/*").arg(dir.path())});
  ASSERT_TRUE(shell.waitForFinished(30000));
  EXPECT_EQ(shell.readAllStandardOutput().trimmed(), "2") << "no file was written under another name";
}
