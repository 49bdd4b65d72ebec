// The variability figures are described wherever a user looks them up: each label in the
// table of the help in its language, and every key, in the order the commands print them, in
// the help and the manual page of pulvitra-cli.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include "tests/support/file_bytes.h"
#include "views/variability_figures.h"

namespace pulvitra {
namespace {

QString resource(const char* name) {
  return QString::fromUtf8(test::read_all(QStringLiteral(PULVITRA_SOURCE_DIR "/resources/") + QLatin1String(name)));
}

QStringList table_keys() {
  QStringList keys;
  for (const VariabilityFigure& figure : variability_figures()) keys << QString::fromLatin1(figure.key);
  return keys;
}

// The keys the manual page lists between "object: the heart-rate variability" and "null where".
QStringList manual_keys(const QString& page) {
  const qsizetype from = page.indexOf(QStringLiteral("heart-rate variability of the same beats"));
  const qsizetype to = page.indexOf(QStringLiteral("null where"), from);
  QString list = page.mid(from, to - from).section(QLatin1Char('\n'), 1);
  list.remove(QRegularExpression(QStringLiteral("\\.(RB|BR) ")));
  QStringList keys;
  for (const auto& match : QRegularExpression(QStringLiteral("[a-z][a-z0-9_]*")).globalMatch(list))
    keys << match.captured();
  return keys;
}

TEST(VariabilityFigures, EveryFigureIsInTheHelpAndTheManualPage) {
  struct Case {
    const char* help;
    const char* opening_quote;
    const char* closing_quote;
    const char* keys_intro;
    const char* VariabilityFigure::*label;
  };
  const Case cases[] = {{"pulvitra_de.hlp", "„", "“", "(Schlüssel ", &VariabilityFigure::german},
                        {"pulvitra_en.hlp", "\"", "\"", "(keys ", &VariabilityFigure::english}};
  const QString keys = table_keys().join(QStringLiteral(", "));
  for (const Case& c : cases) {
    const QString help = resource(c.help);
    ASSERT_FALSE(help.isEmpty()) << c.help;
    for (const VariabilityFigure& figure : variability_figures()) {
      const QString quoted = QString::fromUtf8(c.opening_quote) + QString::fromUtf8(figure.*c.label) +
                             QString::fromUtf8(c.closing_quote);
      EXPECT_TRUE(help.contains(quoted)) << c.help << ": " << quoted.toStdString();
    }
    EXPECT_TRUE(help.contains(QString::fromUtf8(c.keys_intro) + keys + QStringLiteral(").")))
        << c.help << " lists the keys " << keys.toStdString();
  }
  EXPECT_EQ(manual_keys(resource("man/pulvitra-cli.1")), table_keys());
}

}  // namespace
}  // namespace pulvitra
