// The header as `pulvitra-cli info` reports it: the fields exactly as they land in the
// program's fields after opening the file.
#include <gtest/gtest.h>

#include "tools/cli/header_json.h"

using namespace pulvitra;
using pulvitra::cli::header_json;

TEST(HeaderJson, lists_the_fields_as_opening_the_file_fills_them) {
  PatientFields f;
  f.surname = QString::fromUtf8("Groß");
  f.first_name = "Eva";
  f.date = "1.2.1999";
  f.address = QString::fromUtf8("Weg 1 \"Süd\"");  // the quotes do not survive the filter
  f.clinic = "Nord";
  f.patient_id = "A\\7";
  f.age = 71;
  f.sex = kSexFemale;
  f.comment = "ok";
  const QByteArray json = QByteArray::fromStdString(header_json(decode_header(encode_header(f, 32))));
  EXPECT_EQ(json, QByteArray("{\n"
                             "  \"magic_ok\": true,\n"
                             "  \"surname\": \"Gro\xC3\x9F \",\n"
                             "  \"first_name\": \"Eva  \",\n"
                             "  \"date\": \"01.02.99\",\n"
                             "  \"address\": \"Weg 1 S\xC3\xBC" "d  \",\n"
                             "  \"clinic\": \"Nord  \",\n"
                             "  \"patient_id\": \"A7  \",\n"
                             "  \"age\": 71,\n"
                             "  \"sex\": \"female\",\n"
                             "  \"comment\": \"ok  \",\n"
                             "  \"fixed_interval\": 0\n"
                             "}\n"));
}

TEST(HeaderJson, escapes_the_unfiltered_surname_and_gives_null_for_an_unknown_sex) {
  PatientFields f;
  f.surname = QStringLiteral("a\"b\\c\td\x01");
  QByteArray header = encode_header(f, 4);
  header[223] = 0x33;
  const QByteArray json = QByteArray::fromStdString(header_json(decode_header(header)));
  EXPECT_TRUE(json.contains("\"surname\": \"a\\\"b\\\\c\\td\\u0001 \",")) << json.constData();
  EXPECT_TRUE(json.contains("\"sex\": null,")) << json.constData();
  header[0] = 'X';
  EXPECT_EQ(QByteArray::fromStdString(header_json(decode_header(header))), QByteArray("{\n  \"magic_ok\": false\n}\n"));
}
