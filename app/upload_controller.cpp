#include "app/upload_controller.h"

#include <QProgressBar>
#include <QPushButton>
#include <memory>

#include "app/device_page.h"
#include "app/patient_page.h"
#include "app/tmain.h"
#include "app/view_pages.h"
#include "shell/language.h"

namespace pulvitra {

namespace {

// The views that need beats keep their last drawing while there are none; after an upload
// that would be the previous recording's figures. Draw them as New leaves them instead.
void draw_beat_views_as_new(TMain& main) {
  auto empty = std::make_unique<TEKG>();
  clear_recording(*empty);
  const ScreenImages images = main.views->screen_images();
  for (const ViewDescription* view : views_with_pages()) {
    if (!view->needs_beats) continue;
    ViewTarget target;
    target.language = cur_lang;
    target.screen.*view->image = images.*view->image;
    redraw_views(view->kind, target, *empty, main.views->state());
  }
  main.views->refresh_images();
}

}  // namespace

UploadController::UploadController(TMain& main, DevicePage& page)
    : QObject(&page),
      main_(main),
      page_(page),
      upload_(std::make_unique<Upload>(page.link(), page.baud_selector(), main.ekg, main.decoder)) {
  setObjectName(QStringLiteral("UploadController"));
  upload_->set_host(*this);
  // The device page goes before its children: its link and port still exist while it is
  // being destroyed, the window's widgets may not. That is the last moment to tell the
  // recorder to stop sending.
  connect(&page, &QObject::destroyed, this, [this] { upload_->abandon(); });
  page.ProgressBar1->setRange(0, kUploadBlocks);
  page.ProgressBar1->setValue(0);
  // The caption follows the link's lock: ComPortOpen shows the stop text, ComPortClose the
  // start text; until the first dialogue it is the designed one.
  connect(page.Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
}

UploadController::~UploadController() = default;

void UploadController::progress(int position) { page_.ProgressBar1->setValue(position); }

void UploadController::decoded() {
  main_.data_changed = true;  // the uploaded recording is in no file yet
  main_.patient->recording_uploaded();
  if (!main_.views) return;
  main_.views->redraw_views(kViewAll);
  if (main_.ekg.BeatCount == 0) draw_beat_views_as_new(main_);
}

void UploadController::succeeded() { main_.TabbedNotebook1->setCurrentIndex(kPageOverview); }

QCoro::Task<> UploadController::Button3Click() {
  // During a communication test the click starts nothing (the upload does not claim the link).
  const bool starting = upload_->UploadRunning == 0 && !main_.device->link().busy();
  // Scrolling the overview would redraw it from a recording the upload is about to replace.
  if (starting && main_.views) main_.views->upload_running = true;
  co_await upload_->start_or_stop();
  if (starting && main_.views) main_.views->upload_running = false;
}

}  // namespace pulvitra
