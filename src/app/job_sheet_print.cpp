#include "app/job_sheet_print.h"

#include "project/project_model.h"
#include "view/qt_canvas.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <algorithm>
#include <filesystem>

namespace zeran {

namespace {

std::string translated(const std::string& text) {
    return QCoreApplication::translate("TMainForm", text.c_str()).toStdString();
}

// Every printer draws the sheet as a 300 dots-per-inch page would look, so
// that the pixel rules (margins, line steps, pen widths) give the same page
// on any resolution.
constexpr double kSheetDpi = 300;

QFont sheet_font() {
    QFont font(QStringLiteral("Sans Serif"));
    // Ten points on the nominal page; in pixels, so that the painter's scale
    // to the device applies to the text as to everything else.
    font.setPixelSize(42);
    // Ligatures would turn "fi" into one glyph, and a search for "finish"
    // in the PDF would not find it.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

void paint_title(QPainter& painter, const QString& title, int page_width) {
    const QFontMetrics fm(painter.font());
    const int x = (page_width - fm.horizontalAdvance(title)) / 2;
    painter.drawText(QPoint(x, 10 + fm.ascent()), title);
}

} // namespace

QString sheet_title(const ProjectModel& model) {
    return QCoreApplication::translate("TMainForm", "Spindra Turning") + " - " +
           QFileInfo(QString::fromStdString(model.project_file_name)).fileName();
}

SheetOrientation prepare_sheet_device(QPagedPaintDevice& device, const ProjectModel& model) {
    const SheetOrientation before = device.pageLayout().orientation() == QPageLayout::Landscape
                                        ? SheetOrientation::Landscape
                                        : SheetOrientation::Portrait;
    device.setPageOrientation(sheet_orientation(model) == SheetOrientation::Landscape
                                  ? QPageLayout::Landscape
                                  : QPageLayout::Portrait);
    const QString name = QFileInfo(QString::fromStdString(model.project_file_name)).fileName();
    if (auto* printer = dynamic_cast<QPrinter*>(&device)) printer->setDocName(name);
    if (auto* pdf = dynamic_cast<QPdfWriter*>(&device)) pdf->setTitle(name);
    return before;
}

void paint_job_sheet(QPainter& painter, QPagedPaintDevice& device, const ProjectModel& model,
                     const SheetSettings& settings) {
    const double k = device.logicalDpiX() > 0 ? device.logicalDpiX() / kSheetDpi : 1.0;
    painter.scale(k, k);
    const int page_w = static_cast<int>(device.width() / k);
    const int page_h = static_cast<int>(device.height() / k);
    painter.setFont(sheet_font());
    painter.setPen(Qt::black);
    const QFontMetrics fm(painter.font());
    const int line_height = fm.height();
    const QString title = sheet_title(model);

    // The picture is laid out on a quarter of the page and stretched onto it.
    const int picture_w = std::max(1, page_w / 4);
    const int picture_h = std::max(1, page_h / 4);
    const SheetWindow window = sheet_window(model, picture_w, picture_h, settings.border);
    // A border setting far larger than the drawing would leave no picture.
    const int p =
        std::max(std::min(sheet_page_margin(window, line_height), std::min(page_w, page_h) / 5),
                 line_height + 40);
    const QRect target(QPoint(p, p), QPoint(page_w - 2 * p, page_h - 2 * p));

    paint_title(painter, title, page_w);
    if (model.drawing_loaded && target.width() > 0 && target.height() > 0) {
        painter.save();
        painter.setClipRect(target);
        painter.translate(target.topLeft());
        painter.scale(double(target.width()) / picture_w, double(target.height()) / picture_h);
        QtCanvas canvas(painter);
        draw_sheet_picture(model, canvas, window, picture_w, picture_h, settings.colours,
                           std::max(1, line_height / 4));
        painter.restore();
    }

    const std::vector<std::string> lines = sheet_lines(model, translated);
    const SheetPage page{page_w, page_h, p, line_height};
    const auto width_of = [&fm](const std::string& s) {
        return fm.horizontalAdvance(QString::fromStdString(s));
    };
    int current = 0;
    painter.setFont(sheet_font());
    painter.setPen(Qt::black);
    for (const PlacedLine& line : place_sheet_lines(lines, page, width_of)) {
        if (line.text.empty()) continue;
        while (current < line.page) {
            device.newPage();
            ++current;
            paint_title(painter, title, page_w);
        }
        painter.drawText(QPoint(line.x, line.y + fm.ascent()), QString::fromStdString(line.text));
    }
}

bool sheet_replaces_project(const std::string& project, const std::string& output) {
    namespace fs = std::filesystem;
    std::error_code ec;
    for (const char* ext : {"", ".tdx", ".dxf", ".TDX", ".DXF"}) {
        fs::path source = project;
        if (*ext) source.replace_extension(ext);
        if (fs::exists(source, ec) && fs::exists(output, ec) && fs::equivalent(source, output, ec))
            return true;
    }
    return false;
}

bool write_job_sheet_pdf(const ProjectModel& model, const SheetSettings& settings,
                         const QString& path, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QStringLiteral("Cannot create file %1: %2").arg(path, file.errorString());
        return false;
    }
    {
        QPdfWriter pdf(&file);
        pdf.setResolution(300);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
        pdf.setCreator(QStringLiteral("ZERAN ") + QStringLiteral(ZERAN_VERSION));
        prepare_sheet_device(pdf, model);
        QPainter painter;
        if (!painter.begin(&pdf)) {
            if (error) *error = QStringLiteral("Cannot write the job sheet to %1").arg(path);
            file.cancelWriting();
            return false;
        }
        paint_job_sheet(painter, pdf, model, settings);
        painter.end();
    }
    if (!file.commit()) {
        if (error)
            *error = QStringLiteral("Cannot create file %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace zeran
