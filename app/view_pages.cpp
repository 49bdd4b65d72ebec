#include "app/view_pages.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <algorithm>

#include "shell/language.h"
#include "app/image_control.h"
#include "app/radio_group.h"
#include "app/control_factory.h"
#include "app/device_page.h"
#include "app/hrv_panel.h"
#include "app/tmain.h"
#include "app/track_bar.h"
#include "recording/recorded_time.h"
#include "views/recording_note.h"
#include "views/histogram_view.h"
#include "views/screen_image.h"
#include "views/selection.h"

namespace pulvitra {

namespace {

constexpr int kZoomItem200 = 1;
constexpr int kZoomItem100 = 3;

// How a control follows the window's growth (Anchor::follows).
constexpr int kMoveX = 1;
constexpr int kMoveY = 2;
constexpr int kGrowWidth = 4;
constexpr int kGrowHeight = 8;
constexpr int kGrow = kGrowWidth | kGrowHeight;

QLabel* label(QWidget* parent, const char* name, const char* caption, int x, int y) {
  return make_label(parent, name, caption, x, y, 150);
}

QLabel* coloured_label(QWidget* parent, const char* name, const char* caption, int x, int y, QColor colour) {
  QLabel* l = label(parent, name, caption, x, y);
  QPalette palette = l->palette();
  palette.setColor(QPalette::WindowText, colour);
  l->setPalette(palette);
  return l;
}

ImageControl* image(QWidget* parent, const char* name, ImageSize size, int x, int y) {
  auto* control = new ImageControl(QLatin1String(name), size.width, size.height, parent);
  control->move(x, y);
  return control;
}

TrackBar* track_bar(QWidget* parent, const char* name, int x, int y) {
  auto* bar = new TrackBar(QLatin1String(name), parent);
  bar->setGeometry(x, y, 545, 30);
  bar->setRange(kLimitMin, kLimitMax);
  return bar;
}

}  // namespace

ViewPages::ViewPages(TMain& main) : QObject(&main), main_(main) {
  build();
  connect_handlers();
}

void ViewPages::build() {
  QWidget* overview = make_control<QWidget>(main_.page(kPageOverview), "Panel3", 0, 0, 625, 420);
  Image2 = image(overview, "Image2", kOverviewImageSize, 8, 8);
  ScrollBar1 = make_control<QScrollBar>(overview, "ScrollBar1", 597, 8, 21, 398);
  ScrollBar1->setOrientation(Qt::Vertical);
  ScrollBar1->setFocusPolicy(Qt::StrongFocus);  // the arrow keys scroll the overview
  ScrollBar1->setPageStep(1);
  // The note on a recording with hardly any beats lies over the foot of the last strip, where
  // an ECG rarely reaches; clicks go through it to the overview. Hidden while there is nothing
  // to say.
  Label38 = make_label(overview, "Label38", "", 15, 377, 529, 20);
  Label38->setFrameShape(QFrame::Box);
  Label38->setAutoFillBackground(true);
  Label38->setIndent(4);
  Label38->setAttribute(Qt::WA_TransparentForMouseEvents);
  Label38->hide();

  QWidget* zoom = make_control<QWidget>(main_.page(kPageZoom), "Panel4", 0, 0, 625, 420);
  Image1 = image(zoom, "Image1", kZoomImageSize, 19, 0);
  ScrollBar2 = make_control<QScrollBar>(zoom, "ScrollBar2", 19, 320, 550, 17);
  ScrollBar2->setOrientation(Qt::Horizontal);
  ScrollBar2->setMinimum(1);
  ScrollBar2->setPageStep(1);
  auto* factor_box = make_control<QGroupBox>(zoom, "GroupBox6", 19, 340, 90, 50);
  factor_box->setTitle(QStringLiteral("&Zoom"));
  ComboBox1 = make_control<QComboBox>(factor_box, "ComboBox1", 8, 20, 55, 21);
  ComboBox1->setEditable(true);
  ComboBox1->setInsertPolicy(QComboBox::NoInsert);
  ComboBox1->addItems({"300", "200", "150", "100", "50", "33", "25"});
  label(factor_box, "Label24", "%", 68, 22);
  RadioGroup3 = new RadioGroup(QStringLiteral("RadioGroup3"), QStringLiteral("&Scala"),
                               {QStringLiteral("P&ulsperiodendauer ( ms )"), QStringLiteral("H&erzfrequenz ( 1 / min ) ")},
                               zoom);
  RadioGroup3->setGeometry(115, 340, 200, 60);
  RadioGroup1 = new RadioGroup(QStringLiteral("RadioGroup1"), QStringLiteral("&X"),
                               {QStringLiteral("Zeit"), QStringLiteral("Seiten")}, zoom);
  RadioGroup1->setGeometry(320, 340, 90, 60);
  coloured_label(zoom, "Label25", "Rot:", 420, 340, QColor(223, 0, 0));
  label(zoom, "Label28", "Marker", 460, 340);
  coloured_label(zoom, "Label26", "Blau:", 420, 356, QColor(0, 0, 210));
  label(zoom, "Label29", "Pace-Marken", 460, 356);
  coloured_label(zoom, "Label27", "Grün:", 420, 372, QColor(0, 128, 0));
  label(zoom, "Label30", "Beginn/End-Marken", 460, 372);

  QWidget* histogram = make_control<QWidget>(main_.page(kPageHistogram), "Panel5", 0, 0, 625, 420);
  label(histogram, "Label5", "Unterer Grenzwert ->", 24, 22);
  TrackBar1 = track_bar(histogram, "TrackBar1", 24, 40);
  Image4 = image(histogram, "Image4", kHistogramImageSize, 0, 72);
  TrackBar2 = track_bar(histogram, "TrackBar2", 24, 361);
  label(histogram, "Label12", "<- Oberer Grenzwert", 440, 392);
  auto* hint = label(histogram, "Label16", "Mit den Grenzwertgebern können kleine, nicht signifikante Werte herausgefiltert werden.", 24, 4);
  hint->resize(560, 16);

  QWidget* trend = make_control<QWidget>(main_.page(kPageTrend), "Panel7", 0, 0, 625, 420);
  Image3 = image(trend, "Image3", kTrendImageSize, 0, 0);
  coloured_label(trend, "Label33", "Rot:", 8, 372, QColor(223, 0, 0));
  label(trend, "Label34", "Marker", 48, 372);
  coloured_label(trend, "Label31", "Grün:", 160, 372, QColor(0, 128, 0));
  label(trend, "Label37", "Beginn/End-Marken", 200, 372);

  QWidget* lorenz = make_control<QWidget>(main_.page(kPageLorenz), "Panel8", 0, 0, 625, 420);
  // The diagram at the left leaves room for its heart-rate variability at the right.
  Image5 = image(lorenz, "Image5", kLorenzImageSize, 2, 0);
  hrv_panel_ = new HrvPanel(lorenz, 459, 0, 135, kLorenzImageSize.height);
}

void ViewPages::connect_handlers() {
  connect(ScrollBar1, &QScrollBar::valueChanged, this, [this] { ScrollBar1Change(); });
  connect(ScrollBar2, &QScrollBar::valueChanged, this, [this] { ScrollBar2Change(); });
  connect(Image2, &ImageControl::mousePressed, this, [this](int x, int y, Qt::MouseButton) { Image1MouseDown(x, y); });
  connect(Image2, &ImageControl::doubleClicked, this, [this] { Image1DblClick(); });
  connect(Image1, &ImageControl::doubleClicked, this, [this] { Image1DblClick(); });
  // A factor counts as chosen when picked from the list or when the typed text is confirmed.
  connect(ComboBox1, &QComboBox::activated, this, [this] { ComboBox1Change(); });
  connect(ComboBox1->lineEdit(), &QLineEdit::editingFinished, this, [this] { ComboBox1Change(); });
  connect(RadioGroup3, &RadioGroup::clicked, this, [this] { RadioGroup3Click(); });
  connect(RadioGroup1, &RadioGroup::clicked, this, [this] { RadioGroup3Click(); });
  connect(TrackBar1, &QSlider::valueChanged, this, [this] { TrackBarChange(); });
  connect(TrackBar2, &QSlider::valueChanged, this, [this] { TrackBarChange(); });
}

void ViewPages::init_controls() {
  RadioGroup1->setItems({lang_text(QStringLiteral("Zeit"), QStringLiteral("Time")),
                         lang_text(QStringLiteral("Seiten"), QStringLiteral("Pages"))});
  ComboBox1->setCurrentIndex(kZoomItem200);
  state_.zoom_factor = ComboBox1->currentText().toInt();
  ScrollBar1->setMaximum(overview_last_position(state_.rows()));
  ScrollBar1->move(552, ScrollBar1->y());
  ScrollBar2->setMaximum(kZoomLastPage);
  RadioGroup3->setItemIndex(0);
  RadioGroup1->setItemIndex(0);
  state_.scale = 0;
  state_.axis = 0;
  {
    const QSignalBlocker block1(TrackBar1);
    const QSignalBlocker block2(TrackBar2);
    TrackBar1->setValue(kLimitMin);
    TrackBar2->setValue(kLimitMax);
  }
  state_.limit1 = kLimitMin;
  state_.limit2 = kLimitMax;
  TrackBar1->setSelection(kLimitMin, kLimitMax);
  TrackBar2->setSelection(kLimitMin, kLimitMax);
}

void ViewPages::derive_zoom_position() { ScrollBar2->setValue(state_.selected_first_page()); }

ImageControl* ViewPages::image_control(int kind) const {
  switch (kind) {
    case kViewZoom: return Image1;
    case kViewOverview: return Image2;
    case kViewTrend: return Image3;
    case kViewHistogram: return Image4;
    case kViewLorenz: return Image5;
    default: return nullptr;
  }
}

ScreenImages ViewPages::screen_images() const {
  return {&Image1->picture(), &Image2->picture(), &Image3->picture(), &Image4->picture(), &Image5->picture(),
          Image2->pixel_ratio()};
}

void ViewPages::refresh_images() {
  for (ImageControl* control : {Image1, Image2, Image3, Image4, Image5}) control->refresh();
}

void ViewPages::redraw_views(int kind) {
  ViewTarget target;
  target.language = cur_lang;
  target.screen = screen_images();
  target.marks = &main_.decoder.marks;
  last_reading_ = ::pulvitra::redraw_views(kind, target, main_.ekg, state_);
  refresh_images();
  if (kind == kViewAll || kind == kViewLorenz) show_hrv();
  if (kind == kViewAll) show_recording_note();
}

// All views are drawn exactly when the recording has been replaced (New, Open, an upload):
// the note follows the recording, and each one that needs it goes into the status log too.
void ViewPages::show_recording_note() {
  const auto note = few_beats_note(main_.ekg.BeatCount, recorded_time_ms(main_.ekg, main_.decoder));
  Label38->setText(note.value_or(QString()));
  Label38->setVisible(note.has_value());
  if (note) main_.device->ComStat->appendPlainText(*note);
}

void ViewPages::show_hrv() { hrv_panel_->show_figures(main_.ekg, state_.limit1, state_.limit2); }

// Sets the overview scroll bar to the state's position without running its change handler:
// the state has already taken the scroll.
void ViewPages::show_overview_position() {
  const QSignalBlocker block(ScrollBar1);
  ScrollBar1->setValue(state_.overview_pos);
}

void ViewPages::toggle_selection_on_screen() {
  toggle_selection(Image2->picture(), state_, screen_scale(Image2->picture(), Image2->pixel_ratio()));
  Image2->refresh();
}

void ViewPages::ScrollBar1Change() {
  state_.scroll_overview(ScrollBar1->value());
  if (!upload_running) redraw_views(kViewOverview);
}

void ViewPages::Image1MouseDown(int x, int y) {
  toggle_selection_on_screen();
  state_.press(x, y);
  toggle_selection_on_screen();
}

// The zoom at the selection's first page, 100 %, drawn.
void ViewPages::open_selection_in_zoom() {
  state_.open_selection_in_zoom();
  {
    const QSignalBlocker block(ScrollBar2);
    ScrollBar2->setValue(state_.zoom_pos);
  }
  ComboBox1->setCurrentIndex(kZoomItem100);
  ScrollBar2Change();
}

void ViewPages::Image1DblClick() {
  const int page = main_.TabbedNotebook1->currentIndex();
  if (page == kPageOverview) {
    DblClickNav = true;
    open_selection_in_zoom();
    main_.TabbedNotebook1->setCurrentIndex(kPageZoom);
  } else if (page == kPageZoom) {
    DblClickNav = true;
    zoom_to_overview();
    redraw_views(kViewOverview);
    main_.TabbedNotebook1->setCurrentIndex(kPageOverview);
  }
}

void ViewPages::overview_resized() {
  state_.resize_overview(screen_scale(Image2->picture(), Image2->pixel_ratio()).logical);
  {
    // The position stays within the new range by the state's own rule, not the scroll bar's.
    const QSignalBlocker block(ScrollBar1);
    ScrollBar1->setMaximum(overview_last_position(state_.rows()));
  }
  show_overview_position();
  if (!upload_running) redraw_views(kViewOverview);
}

void ViewPages::zoom_to_overview() {
  state_.zoom_to_overview();
  show_overview_position();
}

void ViewPages::TabbedNotebook1Change(int index) {
  const int previous = shown_page_;
  shown_page_ = index;
  if (index == kPageOverview) {
    // Coming back from the zoom, the overview shows where the zoom was; from any other page
    // the selection stays where the user left it.
    if (!DblClickNav && previous == kPageZoom) zoom_to_overview();
    DblClickNav = false;
    redraw_views(kViewOverview);
  } else if (index == kPageZoom) {
    const bool opened_by_double_click = DblClickNav;
    DblClickNav = false;
    if (opened_by_double_click) {
      ScrollBar2Change();
    } else {
      open_selection_in_zoom();
    }
  }
}

void ViewPages::ScrollBar2Change() {
  state_.zoom_pos = ScrollBar2->value();
  redraw_views(kViewZoom);
}

void ViewPages::RadioGroup3Click() {
  state_.scale = std::max(RadioGroup3->itemIndex(), 0);
  state_.axis = std::max(RadioGroup1->itemIndex(), 0);
  ScrollBar2Change();
}

void ViewPages::ComboBox1Change() {
  state_.zoom_pos = ScrollBar2->value();
  ComboBox1->setEditText(state_.choose_factor(ComboBox1->currentText()));
  redraw_views(kViewZoom);
}

void ViewPages::TrackBarChange() {
  state_.limit1 = TrackBar1->value();
  state_.limit2 = TrackBar2->value();
  const int p1 = state_.limit1;
  const int p2 = state_.limit2;
  // Each caption names the limit that its own bar holds now.
  auto* label5 = main_.control<QLabel>("Label5");
  auto* label12 = main_.control<QLabel>("Label12");
  if (p1 < p2) {
    label12->setText(table_text(QStringLiteral("txt_hist_upper_left")));
    label5->setText(table_text(QStringLiteral("txt_hist_lower_right")));
  } else {
    label12->setText(table_text(QStringLiteral("txt_hist_lower_left")));
    label5->setText(table_text(QStringLiteral("txt_hist_upper_right")));
  }
  TrackBar1->setSelection(std::min(p1, p2), std::max(p1, p2));
  TrackBar2->setSelection(std::min(p1, p2), std::max(p1, p2));
  redraw_views(kViewHistogram);
  show_hrv();  // the variability is that of the beats between the limits
}

void ViewPages::focus_overview() { ScrollBar1->setFocus(); }

// Each page's controls keep their places relative to the image's edges: what lies below an
// image moves down with its bottom edge, what lies right of it moves with its right edge, and
// bars along an image grow with it. Recorded at the first fit, after the creation steps have
// put everything at its first place.
void ViewPages::anchor_controls() {
  const std::pair<const char*, int> follow[] = {
      {"Panel3", kGrow}, {"ScrollBar1", kMoveX | kGrowHeight}, {"Label38", kMoveY | kGrowWidth},
      {"Panel4", kGrow}, {"ScrollBar2", kMoveY | kGrowWidth}, {"GroupBox6", kMoveY}, {"RadioGroup3", kMoveY},
      {"RadioGroup1", kMoveY}, {"Label25", kMoveY}, {"Label26", kMoveY}, {"Label27", kMoveY},
      {"Label28", kMoveY}, {"Label29", kMoveY}, {"Label30", kMoveY},
      {"Panel5", kGrow}, {"TrackBar1", kGrowWidth}, {"TrackBar2", kMoveY | kGrowWidth},
      {"Label12", kMoveX | kMoveY},
      {"Panel7", kGrow}, {"Label33", kMoveY}, {"Label34", kMoveY}, {"Label31", kMoveY}, {"Label37", kMoveY},
      {"Panel8", kGrow}, {"GroupBox7", kMoveX},
  };
  for (const auto& [name, follows] : follow) {
    if (auto* control = main_.control<QWidget>(name)) anchors_.push_back({control, control->geometry(), follows});
  }
}

void ViewPages::fit_to_window(QSize window, double pixel_ratio) {
  if (anchors_.empty()) anchor_controls();
  const ImageSize window_size{window.width(), window.height()};
  const int dw = std::max(0, window.width() - kMainWindowSize.width);
  const int dh = std::max(0, window.height() - kMainWindowSize.height);
  // The limit bars span the histogram's bins, which widen a whole bin width at a time.
  const int bins_growth =
      screen_histogram_bins_width(grown_image_size(*view_of_kind(kViewHistogram), window_size), pixel_ratio) -
      screen_histogram_bins_width(kHistogramImageSize, 1.0);
  // The variability panel stays beside the Lorenz diagram.
  const int lorenz_growth = grown_image_size(*view_of_kind(kViewLorenz), window_size).width - kLorenzImageSize.width;
  for (const Anchor& a : anchors_) {
    const int grown_width = a.control == TrackBar1 || a.control == TrackBar2 ? bins_growth : dw;
    const int moved_x = a.control == hrv_panel_ ? lorenz_growth : dw;
    a.control->setGeometry(a.first.x() + (a.follows & kMoveX ? moved_x : 0), a.first.y() + (a.follows & kMoveY ? dh : 0),
                           a.first.width() + (a.follows & kGrowWidth ? grown_width : 0),
                           a.first.height() + (a.follows & kGrowHeight ? dh : 0));
  }
  for (const ViewDescription* view : views_with_pages()) {
    ImageControl* control = image_control(view->kind);
    if (!control) continue;
    const QSize before = control->picture().size();
    control->set_picture_size(grown_image_size(*view, window_size), pixel_ratio);
    if (control->picture().size() != before) redraw_resized_view(view->kind);
  }
}

// A new bitmap is empty: its view is drawn again (the overview with its selection, in as many
// strips as it now holds). While an upload fills the recording nothing is drawn; its end draws
// every view anyway.
void ViewPages::redraw_resized_view(int kind) {
  if (kind == kViewOverview) {
    overview_resized();
  } else if (!upload_running) {
    redraw_views(kind);
  }
}

}  // namespace pulvitra
