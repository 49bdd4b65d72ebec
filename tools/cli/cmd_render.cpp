// pulvitra-cli render: draws the screen picture of one view of a recording file into a PNG,
// exactly as the window shows it, without a window and without a display.
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

#include "shell/language.h"
#include "files/recording_file.h"
#include "recording/decoder.h"
#include "tools/cli/command.h"
#include "views/canvas.h"
#include "views/redraw.h"
#include "views/screen_sizes.h"

namespace pulvitra::cli {

namespace {

struct ViewChoice {
  int kind;
  ImageSize size;
};

// The views by name, with the size of their screen image.
const std::map<QString, ViewChoice>& views() {
  static const std::map<QString, ViewChoice> choices = {
      {"overview", {kViewOverview, kOverviewImageSize}}, {"zoom", {kViewZoom, kZoomImageSize}},
      {"histogram", {kViewHistogram, kHistogramImageSize}}, {"trend", {kViewTrend, kTrendImageSize}},
      {"lorenz", {kViewLorenz, kLorenzImageSize}},
  };
  return choices;
}

struct RenderRequest {
  QString file;
  QString out;
  QString view = "overview";
  ViewState settings;
  int column = 0;
  int row = 0;
  int language = kGerman;
};

// Parses "--name VALUE" as a whole number within limits; the error text names the option.
// i is at the option or at its previous value; the value is the next argument.
bool take_int(const QString& name, const QStringList& args, int& i, int low, int high, int& value, QString& error) {
  bool ok = false;
  const int v = i + 1 < args.size() ? args[i + 1].toInt(&ok) : 0;
  if (!ok || v < low || v > high) {
    error = QStringLiteral("render: %1 needs a whole number from %2 to %3").arg(name).arg(low).arg(high);
    return false;
  }
  value = v;
  ++i;
  return true;
}

bool take_word(const QStringList& args, int& i, const QStringList& words, int& index, QString& error) {
  const QString name = args[i];
  index = i + 1 < args.size() ? static_cast<int>(words.indexOf(args[i + 1])) : -1;
  if (index < 0) {
    error = QStringLiteral("render: %1 needs one of %2").arg(name, words.join(QStringLiteral(", ")));
    return false;
  }
  ++i;
  return true;
}

bool parse(const QStringList& args, RenderRequest& r, QString& error) {
  for (int i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    bool ok = true;
    int word = 0;
    if (a == "--view") {
      ok = i + 1 < args.size() && views().count(args[i + 1]) > 0;
      if (ok) r.view = args[++i];
      else error = QStringLiteral("render: --view needs one of overview, zoom, histogram, trend, lorenz");
    } else if (a == "--position") {
      ok = take_int(a, args, i, 0, 17, r.settings.overview_pos, error);
    } else if (a == "--page") {
      ok = take_int(a, args, i, 1, 171, r.settings.zoom_pos, error);
    } else if (a == "--zoom") {
      // As the window's zoom box: a factor outside 20..400 is taken as the nearest end.
      ok = take_int(a, args, i, -1000000, 1000000, r.settings.zoom_factor, error);
      r.settings.zoom_factor = std::clamp(r.settings.zoom_factor, 20, 400);
    } else if (a == "--scale") {
      ok = take_word(args, i, {"period", "rate"}, r.settings.scale, error);
    } else if (a == "--axis") {
      ok = take_word(args, i, {"time", "pages"}, r.settings.axis, error);
    } else if (a == "--limits") {
      ok = take_int(a, args, i, 15, 90, r.settings.limit1, error) && take_int(a, args, i, 15, 90, r.settings.limit2, error);
    } else if (a == "--selection") {
      ok = take_int(a, args, i, 0, 6, r.column, error) && take_int(a, args, i, 0, 3, r.row, error);
    } else if (a == "--language") {
      ok = take_word(args, i, {"de", "en"}, word, error);
      r.language = word == 0 ? kGerman : kEnglish;
    } else if (a == "-o") {
      ok = i + 1 < args.size();
      if (ok) r.out = args[++i];
      else error = QStringLiteral("render: -o needs the name of the PNG file");
    } else if (a.startsWith("-") || !r.file.isEmpty()) {
      ok = false;
      error = QStringLiteral("render: unexpected argument '%1'").arg(a);
    } else {
      r.file = a;
    }
    if (!ok) return false;
  }
  if (r.file.isEmpty()) error = QStringLiteral("render: no recording file given");
  else if (r.out.isEmpty()) error = QStringLiteral("render: no output file given (-o OUT.png)");
  return error.isEmpty();
}

int file_error(const RecordingFile& file, const QString& path) {
  QString text;
  if (file.status == ReadStatus::CannotOpen) text = QStringLiteral("cannot open %1: %2").arg(path, file.system_error);
  else if (file.status == ReadStatus::NotARecording) text = QStringLiteral("%1 is not a recording file (no \"KORDAMAT File\" header)").arg(path);
  else text = read_failure_text(file, path);
  std::fprintf(stderr, "pulvitra-cli: %s\n", text.toLocal8Bit().constData());
  return 1;
}

int run_render(const QStringList& args) {
  RenderRequest request;
  QString error;
  if (!parse(args, request, error)) return usage_error(error);

  const RecordingFile file = read_recording_file(request.file);
  if (file.status != ReadStatus::Ok) return file_error(file, request.file);
  auto ekg = std::make_unique<TEKG>();
  clear_recording(*ekg);
  copy_image(file.image, *ekg);
  FixedInterval = file.header.fixed_interval;
  DecodeRecording(*ekg);
  request.settings.SelColumn = request.column;
  request.settings.SelRow = request.row;
  request.settings.LastOverviewPos = request.settings.overview_pos;

  // The window's font and language, so the picture matches the window's.
  cur_lang = static_cast<std::uint8_t>(request.language);
  fill_language_table();
  QFont font(QStringLiteral("Sans Serif"));
  font.setPointSize(8);
  QGuiApplication::setFont(font);

  const ViewChoice& view = views().at(request.view);
  QImage image(view.size.width, view.size.height, QImage::Format_RGB32);
  image.fill(screen_colours().face);  // a view without beats keeps the empty picture
  ViewTarget target;
  QImage** slot = view.kind == kViewOverview    ? &target.screen.overview
                  : view.kind == kViewZoom      ? &target.screen.zoom
                  : view.kind == kViewTrend     ? &target.screen.trend
                  : view.kind == kViewHistogram ? &target.screen.histogram
                                                : &target.screen.lorenz;
  *slot = &image;
  redraw_views(view.kind, target, *ekg, request.settings);
  if (!image.save(request.out, "PNG")) {
    std::fprintf(stderr, "pulvitra-cli: cannot write %s\n", request.out.toLocal8Bit().constData());
    return 1;
  }
  return 0;
}

const Command kRender(
    "render",
    "FILE.pul [--view overview|zoom|histogram|trend|lorenz] [--position N] [--page N] [--zoom PCT] "
    "[--scale period|rate] [--axis time|pages] [--limits P1 P2] [--selection COLUMN ROW] [--language de|en] -o OUT.png",
    "Draws the screen picture of one view of the recording, as the window shows it, into a PNG "
    "(overview position 0..17, zoom page 1..171, zoom 20..400 %, limits 15..90 in units of 2/min, "
    "selection column 0..6 and row 0..3)",
    run_render);

}  // namespace

}  // namespace pulvitra::cli
