#pragma once
// The job sheet painted on a paged device: the printer, the print preview and
// a PDF file all take their pages from paint_job_sheet.
#include "cycles/can_cycle.h"
#include "project/job_sheet.h"

#include <QString>
#include <string>

class QPagedPaintDevice;
class QPainter;

namespace zeran {

class ProjectModel;

struct SheetSettings {
    CycleColours colours{};
    int border = 20; // the view's border setting, in pixels
};

// "Spindra Turning - " and the project file's name without its folder.
QString sheet_title(const ProjectModel& model);

// Turns the device to the sheet's orientation and gives it the document
// title; returns the orientation it had, for the caller to restore.
SheetOrientation prepare_sheet_device(QPagedPaintDevice& device, const ProjectModel& model);

// Paints every page with a painter already begun on the device. Reads the
// project, never changes it.
void paint_job_sheet(QPainter& painter, QPagedPaintDevice& device, const ProjectModel& model,
                     const SheetSettings& settings);

// True when `output` is the project file or its drawing: a sheet must never
// replace the files it is made from.
bool sheet_replaces_project(const std::string& project, const std::string& output);

// Writes the sheet as a PDF file, replacing `path` only once the file is
// complete. False with *error when it cannot be written.
bool write_job_sheet_pdf(const ProjectModel& model, const SheetSettings& settings,
                         const QString& path, QString* error);

} // namespace zeran
