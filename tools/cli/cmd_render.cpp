// pulvitra-cli render: draws the screen picture of one view of a recording file into a PNG,
// exactly as the window shows it, without a window and without a display.
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <optional>
#include <cstdio>
#include <string>
#include <vector>

#include "shell/file_replace.h"
#include "shell/language.h"
#include "tools/cli/command.h"
#include "tools/cli/options.h"
#include "tools/cli/output_check.h"
#include "tools/cli/recording_input.h"
#include "views/canvas.h"
#include "views/redraw.h"
#include "views/screen_image.h"
#include "views/view_table.h"

namespace pulvitra::cli {

namespace {

struct RenderRequest {
  QString out;
  int view = 0;  // index into view_names()
  ViewState settings;
  int column = 0;
  int row = 0;
  std::optional<ImageSize> size;  // in window pixels; the view's first size when not given
  double pixel_ratio = 1.0;
};

// The largest picture drawn: a side of 16384 device pixels (a gigabyte of image at most).
constexpr int kLargestDeviceSide = 16384;

Option::Take image_size(std::optional<ImageSize>& size) {
  return [&size](const QStringList& values) {
    const QStringList sides = values.first().split(QLatin1Char('x'));
    bool width_ok = false, height_ok = false;
    const int width = sides.size() == 2 ? sides[0].toInt(&width_ok) : 0;
    const int height = sides.size() == 2 ? sides[1].toInt(&height_ok) : 0;
    if (!width_ok || !height_ok || width < 1 || height < 1 || width > kLargestDeviceSide || height > kLargestDeviceSide)
      return QStringLiteral("needs WIDTHxHEIGHT in window pixels, for example 1090x796");
    size = ImageSize{width, height};
    return QString();
  };
}

Option::Take pixel_ratio(double& ratio) {
  return [&ratio](const QStringList& values) {
    bool ok = false;
    const double r = values.first().toDouble(&ok);
    if (!ok || !(r >= 1.0 && r <= 4.0)) return QStringLiteral("needs a number from 1 to 4, for example 1.5");
    ratio = r;
    return QString();
  };
}

// The views as --view names them, in the order of the window's pages.
const QStringList& view_names() {
  static const QStringList names = [] {
    QStringList list;
    for (const ViewDescription* view : views_with_pages()) list << QString::fromLatin1(view->name);
    return list;
  }();
  return names;
}

// The overview's position and selected row as far as an overview of that size shows them: the
// first size shows 4 strips of 21, so positions 0..17 and rows 0..3.
QString check_overview_place(const RenderRequest& r, ImageSize size) {
  const int rows = overview_rows(size.height);
  if (r.settings.overview_pos > overview_last_position(rows))
    return QStringLiteral("render: --position needs a whole number from 0 to %1 at that size")
        .arg(overview_last_position(rows));
  if (r.row >= rows) return QStringLiteral("render: --selection needs a row from 0 to %1 at that size").arg(rows - 1);
  return QString();
}

std::vector<Option> render_options(RenderRequest& r) {
  return {
      {"--view", 1, one_of(view_names(), r.view)},
      // How far the overview scrolls, and which rows it shows, follow its height (checked below).
      {"--position", 1, whole_number(0, kOverviewStrips - 1, r.settings.overview_pos)},
      {"--page", 1, whole_number(1, 171, r.settings.zoom_pos)},
      {"--zoom", 1, zoom_factor(r.settings.zoom_factor)},
      {"--scale", 1, one_of({"period", "rate"}, r.settings.scale)},
      {"--axis", 1, one_of({"time", "pages"}, r.settings.axis)},
      {"--limits", 2, whole_numbers(15, 90, r.settings.limit1, r.settings.limit2)},
      {"--selection", 2, [&r](const QStringList& values) {
         int column = 0, row = 0;
         if (!whole_number(0, kSelectionLastColumn, column)(values.mid(0, 1)).isEmpty() ||
             !whole_number(0, kOverviewStrips - 1, row)(values.mid(1, 1)).isEmpty())
           return QStringLiteral("needs a column 0..6 and a row 0..3 (more rows in a taller overview)");
         r.column = column;
         r.row = row;
         return QString();
       }},
      {"--size", 1, image_size(r.size)},
      {"--pixel-ratio", 1, pixel_ratio(r.pixel_ratio)},
      {"-o", 1, text_into(r.out)},
  };
}

int run_render(const QStringList& args) {
  RenderRequest request;
  QString error;
  const auto line = parse_command_line(QStringLiteral("render"), args, render_options(request), 1, error);
  if (!line) return usage_error(error);
  if (line->files.isEmpty()) return usage_error(QStringLiteral("render: no recording file given"));
  if (request.out.isEmpty()) return usage_error(QStringLiteral("render: no output file given (-o OUT.png)"));
  if (is_standard_output(request.out)) return usage_error(QStringLiteral("render: a PNG goes to a file, not to standard output"));
  if (!output_acceptable(request.out, line->files, OverRecording::kRefused)) return 2;

  const ViewDescription& view = *views_with_pages()[request.view];
  // The window never makes a view smaller than its first size.
  const ImageSize size = request.size.value_or(view.size);
  if (size.width < view.size.width || size.height < view.size.height)
    return usage_error(QStringLiteral("render: --size of the %1 needs at least %2x%3")
                           .arg(QString::fromLatin1(view.name)).arg(view.size.width).arg(view.size.height));
  if (size.width * request.pixel_ratio > kLargestDeviceSide || size.height * request.pixel_ratio > kLargestDeviceSide)
    return usage_error(QStringLiteral("render: --size times --pixel-ratio is more than %1 pixels on a side")
                           .arg(kLargestDeviceSide));

  // The overview's place options concern the overview only; other views leave them at the first size.
  request.settings.overview_size = view.kind == kViewOverview ? size : kOverviewImageSize;
  if (const QString error = check_overview_place(request, request.settings.overview_size); !error.isEmpty())
    return usage_error(error);

  auto input = open_recording(line->files.first());
  if (!input) return 1;
  decode(*input);
  const TEKG& ekg = *input->ekg;
  request.settings.SelColumn = request.column;
  request.settings.SelRow = request.row;
  request.settings.LastOverviewPos = request.settings.overview_pos;

  // The window's font and language, so the picture matches the window's: the picture is
  // German unless --language says otherwise (the messages are English unless it does).
  QGuiApplication::setFont(window_font());

  QImage image = make_screen_image(size, request.pixel_ratio);
  if (image.isNull()) {
    print_write_error(request.out, QStringLiteral("not enough memory for a picture of that size"));
    return 1;
  }
  image.fill(screen_colours().face);  // a view without beats keeps the empty picture
  ViewTarget target;
  target.language = line->language.value_or(kGerman);
  target.screen.*view.image = &image;
  target.screen.pixel_ratio = request.pixel_ratio;
  target.marks = &input->decoder.marks;
  redraw_views(view.kind, target, ekg, request.settings);
  // The picture is made in memory and goes to disk whole, so a full disk never leaves a cut PNG.
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) {
    print_write_error(request.out, QStringLiteral("PNG"));
    return 1;
  }
  if (const WriteResult written = write_file_replacing(request.out, png); !written.ok) {
    print_write_error(request.out, written.system_error);
    return 1;
  }
  return 0;
}

const std::string kRenderUsage =
    "FILE.pul [--view " + view_names().join(QLatin1Char('|')).toStdString() +
    "] [--position N] [--page N] [--zoom PCT] "
    "[--scale period|rate] [--axis time|pages] [--limits P1 P2] [--selection COLUMN ROW] [--size WxH] "
    "[--pixel-ratio R] [--language de|en] -o OUT.png";

const Command kRender(
    "render", kRenderUsage.c_str(),
    "Draws the screen picture of one view of the recording, as the window shows it, into a PNG "
    "(overview position 0..17, zoom page 1..171, zoom 20..400 %, limits 15..90 in units of 2/min, "
    "selection column 0..6 and row 0..3; a taller overview shows more rows and scrolls less far). --size draws the view as a window grown to show it that large "
    "(in window pixels, at least its first size), --pixel-ratio at that screen density (1 to 4): the PNG "
    "then has R times the pixels, drawn at that resolution",
    run_render, Command::kDraws);

}  // namespace

}  // namespace pulvitra::cli
