#pragma once
// The small picture of a drawing that the open dialog shows: which file to
// read for a selected name, the picture itself, and where it goes in a box.
#include <QImage>
#include <QRect>
#include <QString>
#include <optional>

namespace zeran {

class Prompt;

// The drawing to preview for a selected file: the file itself, or for a
// project (.tcf) its converted drawing: the file named under [DXF]
// TDXFileName, else the .tdx, else the .dxf of the same name. Nothing when
// the selection is not a file or the candidate does not exist.
std::optional<QString> previewable_drawing(const QString& selected);

// The largest side a preview picture gets; a larger drawing is drawn smaller
// rather than at one pixel per unit, so a huge drawing cannot exhaust memory.
inline constexpr int kMaxPreviewSide = 4096;

// Reads the drawing and draws it one pixel per drawing unit with a 10-pixel
// margin in all (y up). A null image when it cannot be read or is empty of
// sensible extents. The reader's questions go to `prompt`.
QImage make_preview_picture(const QString& drawing_file, Prompt& prompt);

// Where a picture goes in a box: at its own size and centred when it fits,
// else scaled down to the box keeping its proportions, from the top left.
QRect preview_target(QSize picture, QSize box);

} // namespace zeran
