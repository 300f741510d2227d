#pragma once
// zeran --sheet PROJECT.tcf --output SHEET.pdf: the job sheet as a PDF file,
// without a window or a display.
#include "app/batch.h"

#include <string>
#include <vector>

namespace zeran {

int batch_sheet_pdf(const std::vector<std::string>& args, BatchIo& io);

} // namespace zeran
