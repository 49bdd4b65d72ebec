#include "shell/dialogs.h"

namespace pulvitra {

namespace {

class SilentDialogs final : public Dialogs {
 public:
  DlgAnswer message(DlgIcon, DlgButtons buttons, const QString&, const QString&) override {
    return buttons == DlgButtons::Ok ? DlgAnswer::Ok
           : buttons == DlgButtons::YesNo ? DlgAnswer::No : DlgAnswer::Cancel;
  }
  QString open_file_name(const QString&, const QString&, const QString&) override { return {}; }
  QString save_file_name(const QString&, const QString&, const QString&, const QString&,
                         const QString&) override {
    return {};
  }
  void show_help(int) override {}
};

SilentDialogs silent;
Dialogs* installed = &silent;

}  // namespace

QString with_default_suffix(const QString& name, const QString& suffix) {
  if (suffix.isEmpty()) return name;
  const qsizetype start = name.lastIndexOf(QLatin1Char('/')) + 1;
  QString base = name.mid(start);
  // Trailing dots name no extension; "foo." would otherwise become "foo..pul".
  while (base.endsWith(QLatin1Char('.'))) base.chop(1);
  if (base.isEmpty()) return name;  // only dots: no name to complete
  if (!base.contains(QLatin1Char('.'))) base += QLatin1Char('.') + suffix;
  return name.left(start) + base;
}

Dialogs& dialogs() { return *installed; }

void set_dialogs(Dialogs* implementation) { installed = implementation ? implementation : &silent; }

}  // namespace pulvitra
