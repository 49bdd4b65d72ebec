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
  QString save_file_name(const QString&, const QString&, const QString&, const QString&) override {
    return {};
  }
  void show_help(int) override {}
};

SilentDialogs silent;
Dialogs* installed = &silent;

}  // namespace

Dialogs& dialogs() { return *installed; }

void set_dialogs(Dialogs* implementation) { installed = implementation ? implementation : &silent; }

}  // namespace pulvitra
