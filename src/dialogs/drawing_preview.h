#pragma once
// The small picture of a drawing that the open dialog shows: which file to
// read for a selected name, the picture itself, and where it goes in a box.
#include <QImage>
#include <QRect>
#include <QString>
#include <memory>
#include <optional>

namespace zeran {

class DXF_Object;
class Prompt;

// A drawing read for previewing; its extents are the drawing's own.
using PreviewDrawing = std::shared_ptr<const DXF_Object>;

// The drawing to preview for a selected file: the file itself, or for a
// project (.tcf) its converted drawing: the file named under [DXF]
// TDXFileName, else the .tdx, else the .dxf of the same name. Nothing when
// the selection is not a file or the candidate does not exist.
std::optional<QString> previewable_drawing(const QString& selected);

// The largest side a preview picture gets; a larger drawing is drawn smaller
// rather than at one pixel per unit, so a huge drawing cannot exhaust memory.
inline constexpr int kMaxPreviewSide = 4096;

// Reads the drawing; null when it cannot be read or has no sensible
// extents. The reader's questions go to `prompt`.
PreviewDrawing read_preview_drawing(const QString& drawing_file, Prompt& prompt);

// The drawing one pixel per drawing unit with a 10-pixel margin in all
// (y up). A null image for a null drawing.
QImage make_preview_picture(const PreviewDrawing& drawing);
QImage make_preview_picture(const QString& drawing_file, Prompt& prompt);

// The drawing scaled, up or down, so that it fills `box` as far as its
// proportions allow, with a 5-pixel margin each side; the picture is the
// size of the box, white, with the drawing centred.
QImage make_fitted_picture(const PreviewDrawing& drawing, QSize box);

// Where a picture goes in a box: at its own size and centred when it fits,
// else scaled down to the box keeping its proportions, from the top left.
QRect preview_target(QSize picture, QSize box);

} // namespace zeran
