#include "app/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "shell/language.h"

namespace pulvitra {

namespace {

QTranslator& german_translator() {
  static QTranslator translator;
  return translator;
}

bool german_installed = false;

}  // namespace

bool apply_qt_translation(std::uint8_t language) {
  QTranslator& translator = german_translator();
  if (language != kGerman) {
    if (german_installed) QCoreApplication::removeTranslator(&translator);
    german_installed = false;
    return true;
  }
  if (german_installed) return true;
  if (translator.isEmpty())
    (void)translator.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  german_installed = !translator.isEmpty() && QCoreApplication::installTranslator(&translator);
  return german_installed;
}

}  // namespace pulvitra
