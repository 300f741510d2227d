// Post Process: the GNC file written from the project as the batch run
// writes it, the post dialog, then postvex run while the window stays live.
#include "app/busy_prompt.h"
#include "app/main_window.h"
#include "base/ini_document.h"
#include "base/prompt.h"
#include "dialogs/post_form.h"
#include "dialogs/run_simvo_turn.h"
#include "ncout/gnc_writer.h"
#include "ncout/machine_data.h"
#include "ncout/tool_library.h"
#include "project/post_job.h"
#include "project/posted_program_check.h"
#include "project/project_file.h"
#include "project/project_model.h"
#include "simulator/link/instance_link.h"
#include "view/zoom_panel.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include <csignal>
#include <sys/prctl.h>

namespace zeran {

bool TMainForm::PostProcess() {
    last_post_error_.clear();
    const bool was_modified = model_->IsModified();
    TGNCOutput writer;
    auto busy = std::make_unique<BusyScope>(*busy_box_, view_, tr("Generating the program..."));
    const std::vector<CycleFailure> failures = fill_gnc_writer(*model_, writer);
    busy.reset();
    if (!failures.empty()) {
        // The forced regeneration marks the failed cycles; nothing was edited.
        if (!was_modified) model_->ClearChangeFlags();
        // Leaving a cycle out would give a program that looks complete but is not.
        QString text = tr("These enabled cycles cannot generate a tool path:");
        for (const CycleFailure& f : failures)
            text += "\n" +
                    tr("Cycle %1 (%2): %3")
                        .arg(f.number)
                        .arg(QString::fromStdString(f.caption), QString::fromStdString(f.reason));
        prompt_->tell(MessageKind::Error, text.toStdString());
        return false;
    }
    SaveProject();
    writer.Header->ProjectName = file_name_part(model_->project_file_name);
    try {
        writer.WriteFile(settings_.paths().gnc_file, separator_);
    } catch (const std::exception& e) {
        prompt_->tell(MessageKind::Error, e.what());
        return false;
    }
    model_->last_nc_file = model_->project_file_name;
    std::string machine;
    if (!run_post_processor(model_->last_nc_file, model_->machine_name, machine)) {
        model_->last_nc_file.clear();
        return false;
    }
    writer.MachineName = machine;
    if (model_->machine_name != machine)
        edit("Select Machine", {Change::Header},
             [&machine](ProjectModel& model) { model.machine_name = machine; });
    action("MenuExportCNC")->setEnabled(last_post_error_.isEmpty());
    if (!last_post_error_.isEmpty()) {
        model_->last_nc_file.clear();
        return false;
    }
    // The program is kept, but a post-processor fault must not pass unseen.
    const PostedCheck check =
        check_posted_program(settings_.paths().gnc_file, model_->last_nc_file, machine);
    if (!check.difference.empty())
        prompt_->tell(MessageKind::Warning,
                      tr("The posted program does not follow the tool path:\n%1")
                          .arg(QString::fromStdString(check.difference))
                          .toStdString());
    return true;
}

void TMainForm::MenuPostClick() {
    PostProcess();
}

bool TMainForm::run_post_processor(std::string& destination, const std::string& previous_machine,
                                   std::string& machine) {
    const std::string postvex = find_postvex();
    const std::string own_folder = postvex.empty() ? std::string() : postvex_data_folder(postvex);
    TPostForm form(*prompt_, this);
    if (!form.LoadMachines(own_folder, settings_.ini())) return false;
    form.SelectMachine(previous_machine);
    form.SetDestination(destination);
    form.SetSource(settings_.paths().gnc_file);
    form.RefreshMachine();
    if (!run_post_form(form) || !form.Accepted()) return false;
    destination = form.Destination();
    machine = form.MachineName();
    write_postvex_keys(settings_.ini(), settings_.paths().gnc_file, destination, machine);
    if (!settings_.flush()) {
        last_post_error_ =
            tr("Unable to write %1").arg(QString::fromStdString(settings_.paths().settings_file));
        prompt_->tell(MessageKind::Error, last_post_error_.toStdString());
        return true;
    }
    if (postvex.empty()) {
        last_post_error_ = tr("The post-processor postvex was not found beside zeran.");
        prompt_->tell(MessageKind::Error, last_post_error_.toStdString());
        return true;
    }
    start_postvex(QString::fromStdString(settings_.paths().settings_file));
    return true;
}

bool TMainForm::start_postvex(const QString& settings_file) {
    QProcess process;
    process.setProgram(QString::fromStdString(find_postvex()));
    process.setArguments({settings_file});
    process.setProcessChannelMode(QProcess::SeparateChannels);
    // Killed with the window, so that it never goes on writing the output alone.
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    QEventLoop loop;
    connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    connect(&process, &QProcess::errorOccurred, &loop, [&loop](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart) loop.quit();
    });
    QTimer limit;
    if (post_timeout_ms > 0) {
        limit.setSingleShot(true);
        connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
        limit.start(post_timeout_ms);
    }
    action("MenuPost")->setEnabled(false);
    process.start();
    // The window keeps handling its events until postvex has finished.
    if (process.state() != QProcess::NotRunning || process.error() != QProcess::FailedToStart)
        loop.exec();
    action("MenuPost")->setEnabled(true);
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(2000);
        last_post_error_ = tr("The post-processor did not finish in time.");
    } else if (process.error() == QProcess::FailedToStart) {
        last_post_error_ = tr("Cannot start %1: %2").arg(process.program(), process.errorString());
    } else if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString message = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        last_post_error_ = tr("postvex ended with exit code %1").arg(process.exitCode());
        if (!message.isEmpty()) last_post_error_ += ":\n" + message;
    }
    if (!last_post_error_.isEmpty()) {
        prompt_->tell(MessageKind::Error, last_post_error_.toStdString());
        return false;
    }
    return true;
}

QString TMainForm::simulator_program() const {
    // Named by the simulator's own settings file, else simvoturn beside this program.
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const std::string settings = (config + "/Kelvard/SimvoTurning5.ini").toStdString();
    const IniDocument ini = IniDocument::load(settings).value_or(IniDocument{});
    const SimulatorSetup setup = LocateSimulator(
        ini, QCoreApplication::applicationDirPath().toStdString(), config.toStdString());
    return QString::fromStdString(setup.executable);
}

void TMainForm::MenuExportCNCClick() {
    const QString nc = QString::fromStdString(model_->last_nc_file);
    if (simvo::simulator_answers()) {
        ExportCNCFile(this, nc);
        return;
    }
    const QString simulator = simulator_program();
    export_separator_->setVisible(!simulator.isEmpty());
    action("MenuExportCNC")->setVisible(!simulator.isEmpty());
    if (simulator.isEmpty()) return;
    TRunSimvoTurn dialog(simulator, this);
    dialog.working_folder = QString::fromStdString(settings_.simulator_folder);
    dialog.cnc_file = nc;
    dialog.exec();
    settings_.simulator_folder = dialog.working_folder.toStdString();
}

} // namespace zeran
