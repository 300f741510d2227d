#pragma once
// A scratch home for window tests: its own settings folder and a projects
// folder holding a copy of the shaft example with its drawing and materials.
#include "app/settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace zeran::test {

struct WindowHome {
    QTemporaryDir dir;
    QString projects;
    WindowHome() {
        qputenv("HOME", dir.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (dir.path() + "/config").toUtf8());
        projects = dir.path() + "/projects";
        QDir().mkpath(projects);
        for (const char* f : {"shaft.tcf", "shaft.dxf", "ZERAN.tmf"})
            QFile::copy(QString(ZERAN_SOURCE_DIR) + "/examples/" + f, projects + "/" + f);
    }
    AppPaths paths() const {
        return find_app_paths(QCoreApplication::applicationFilePath().toStdString());
    }
};

} // namespace zeran::test
