// The real Qt boxes and dialogs of the program, as the user sees them: the standard buttons
// in the chosen language, and the save dialog that asks before it replaces a file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <optional>

#include "shell/application.h"
#include "shell/language.h"
#include "app/qt_dialogs.h"
#include "app/qt_translation.h"
#include "tests/support/file_bytes.h"

using namespace pulvitra;
using pulvitra::test::read_all;

namespace {

// Runs each step on the next modal window that comes up, while the code under test waits
// in its exec(). A step that never gets its window fails the test instead of hanging it.
class ModalSteps : public QObject {
 public:
  using Step = std::function<void(QWidget* modal)>;
  explicit ModalSteps(std::deque<Step> steps) : steps_(std::move(steps)) {
    timer_.setInterval(20);
    connect(&timer_, &QTimer::timeout, this, &ModalSteps::poll);
    timer_.start();
  }
  bool all_done() const { return steps_.empty(); }

 private:
  void poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (++ticks_ > 250) {  // 5 s without the expected window
      ADD_FAILURE() << "a modal window did not come up";
      steps_.clear();
      if (modal) modal->close();
    }
    if (!modal || steps_.empty() || modal == last_) return;
    last_ = modal;
    Step step = std::move(steps_.front());
    steps_.pop_front();
    step(modal);
    if (steps_.empty()) timer_.stop();
  }

  std::deque<Step> steps_;
  QTimer timer_;
  QWidget* last_ = nullptr;
  int ticks_ = 0;
};

QStringList button_texts(QWidget* modal) {
  QStringList texts;
  auto* box = qobject_cast<QMessageBox*>(modal);
  if (!box) return {QStringLiteral("<no message box>")};
  for (QAbstractButton* b : box->buttons()) texts << b->text().remove(QLatin1Char('&'));
  texts.sort();
  return texts;
}

// Presses the box's button in that role (No, Cancel or Yes); the box then closes.
void press(QWidget* modal, QMessageBox::StandardButton which) {
  if (auto* box = qobject_cast<QMessageBox*>(modal)) {
    if (QAbstractButton* b = box->button(which)) b->click();
  }
}

struct LanguageGuard {
  ~LanguageGuard() {
    cur_lang = kGerman;
    apply_qt_translation(kEnglish);
  }
};

}  // namespace

TEST(QtDialogs, standard_buttons_speak_the_chosen_language) {
  LanguageGuard guard;
  struct Case {
    std::uint8_t language;
    DlgButtons buttons;
    QStringList texts;  // sorted, without accelerator marks
    QMessageBox::StandardButton pressed;
    DlgAnswer answer;
  } cases[] = {
      {kGerman, DlgButtons::YesNo, {"Ja", "Nein"}, QMessageBox::Yes, DlgAnswer::Yes},
      {kGerman, DlgButtons::Cancel, {"Abbrechen"}, QMessageBox::Cancel, DlgAnswer::Cancel},
      {kGerman, DlgButtons::Ok, {"OK"}, QMessageBox::Ok, DlgAnswer::Ok},
      {kEnglish, DlgButtons::YesNo, {"No", "Yes"}, QMessageBox::No, DlgAnswer::No},
      {kEnglish, DlgButtons::Cancel, {"Cancel"}, QMessageBox::Cancel, DlgAnswer::Cancel},
      {kGerman, DlgButtons::YesNo, {"Ja", "Nein"}, QMessageBox::No, DlgAnswer::No},  // and back
  };
  QtDialogs dialogs;
  for (const Case& c : cases) {
    cur_lang = c.language;
    QStringList seen;
    ModalSteps steps({[&](QWidget* modal) {
      seen = button_texts(modal);
      press(modal, c.pressed);
    }});
    const DlgAnswer answer = dialogs.message(DlgIcon::Exclamation, c.buttons, QStringLiteral("Frage"),
                                             table_text(QStringLiteral("txt_discard_question")));
    EXPECT_EQ(seen, c.texts) << int(c.language);
    EXPECT_EQ(answer, c.answer) << int(c.language);
  }
}

// Enter takes the box's default button: Yes for a plain question, No where Yes would replace
// another patient's recording.
TEST(QtDialogs, enter_answers_with_the_preselected_button) {
  LanguageGuard guard;
  cur_lang = kEnglish;
  QtDialogs dialogs;
  const std::pair<std::optional<DlgAnswer>, DlgAnswer> cases[] = {
      {std::nullopt, DlgAnswer::Yes}, {DlgAnswer::No, DlgAnswer::No}};
  for (const auto& [preselected, expected] : cases) {
    ModalSteps steps({[](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Return); }});
    const QString text = QStringLiteral("Replace it?");
    const DlgAnswer answer =
        preselected ? dialogs.message_preselecting(DlgIcon::Exclamation, DlgButtons::YesNo, "Question", text, *preselected)
                    : dialogs.message(DlgIcon::Exclamation, DlgButtons::YesNo, "Question", text);
    EXPECT_TRUE(steps.all_done());
    EXPECT_EQ(answer, expected) << int(expected);
  }
}

// Typing "foo" (or "foo.") while foo.pul exists: the dialog asks first, and No keeps the
// old file byte for byte; Yes returns foo.pul for the program to write.
TEST(QtDialogs, save_dialog_asks_before_it_replaces_the_completed_name) {
  LanguageGuard guard;
  cur_lang = kEnglish;
  QTemporaryDir dir;
  const QString existing = dir.filePath("foo.pul");
  const QByteArray old_bytes("an earlier patient's recording");
  {
    QFile f(existing);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(old_bytes);
  }
  auto type_name = [](const QString& typed) {
    return [typed](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      ASSERT_NE(dialog, nullptr);
      auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      ASSERT_NE(edit, nullptr);
      edit->setText(typed);
      QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    };
  };
  QString question;
  auto answer = [&question](QMessageBox::StandardButton which) {
    return [&question, which](QWidget* modal) {
      if (auto* box = qobject_cast<QMessageBox*>(modal)) question = box->text();
      press(modal, which);
    };
  };
  auto cancel_dialog = [](QWidget* modal) { modal->close(); };
  QtDialogs dialogs;
  for (const char* typed : {"foo", "foo."}) {
    question.clear();
    {
      ModalSteps steps({type_name(typed), answer(QMessageBox::No), cancel_dialog});
      EXPECT_EQ(dialogs.save_file_name("Save as", dir.path(), "Pulvitra data|*.pul", QString(), "pul"), QString())
          << typed;
      EXPECT_TRUE(steps.all_done());
    }
    EXPECT_TRUE(question.contains(QStringLiteral("foo.pul"))) << question.toStdString();
    EXPECT_EQ(read_all(existing), old_bytes) << typed;
    {
      ModalSteps steps({type_name(typed), answer(QMessageBox::Yes)});
      EXPECT_EQ(dialogs.save_file_name("Save as", dir.path(), "Pulvitra data|*.pul", QString(), "pul"), existing)
          << typed;
    }
    EXPECT_EQ(read_all(existing), old_bytes) << "the dialog itself writes nothing";
  }
}

// Among several filters a typed name takes the chosen filter's extension.
TEST(QtDialogs, save_dialog_completes_with_the_chosen_filters_extension) {
  LanguageGuard guard;
  cur_lang = kEnglish;
  QTemporaryDir dir;
  QtDialogs dialogs;
  for (const auto& [filter, expected] : {std::pair{"EDF+ (*.edf)", "signal.edf"}, std::pair{"Beat list (*.csv)", "signal.csv"}}) {
    ModalSteps steps({[filter = QString::fromLatin1(filter)](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      ASSERT_NE(dialog, nullptr);
      dialog->selectNameFilter(filter);
      dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("signal"));
      QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    }});
    EXPECT_EQ(dialogs.save_file_name("Export", dir.path(), "Beat list|*.csv|EDF+|*.edf", QString(), "csv"),
              dir.filePath(QLatin1String(expected)));
    EXPECT_TRUE(steps.all_done());
  }
}

namespace {

TEST(QtPrintDialog, is_the_platform_print_dialog_titled_as_asked_and_cancel_prints_nothing) {
  QtDialogs qt;
  QString title;
  bool print_dialog = false;
  ModalSteps steps({[&](QWidget* modal) {
    title = modal->windowTitle();
    print_dialog = qobject_cast<QPrintDialog*>(modal) != nullptr;
    modal->close();
  }});
  const PrintChoice choice = qt.choose_printer(QString::fromUtf8(kApplicationTitle));
  EXPECT_TRUE(steps.all_done());
  EXPECT_TRUE(print_dialog);
  EXPECT_EQ(title, kApplicationTitle);
  EXPECT_EQ(choice.kind, PrintChoice::kCancelled);
}

TEST(QtPrintDialog, speaks_german_in_the_german_program) {
  QtDialogs qt;
  cur_lang = kGerman;
  QStringList buttons;
  ModalSteps steps({[&](QWidget* modal) {
    for (auto* button : modal->findChildren<QPushButton*>()) buttons << button->text().remove('&');
    modal->close();
  }});
  qt.choose_printer(QString::fromUtf8(kApplicationTitle));
  EXPECT_TRUE(steps.all_done());
  EXPECT_TRUE(buttons.contains("Drucken")) << buttons.join(", ").toStdString();
  EXPECT_TRUE(buttons.contains("Abbrechen")) << buttons.join(", ").toStdString();
}

}  // namespace
