#include "sim_window.h"

#include "sim_scene.h"
#include "simulator/core/cycle_time.h"
#include "simulator/core/gcode_reader.h"
#include "simulator/core/tool_table.h"
#include "tool_editor.h"
#include "view/zoom_panel.h"

#include "base/ini_document.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QSlider>
#include <QSpinBox>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace simvo {

namespace {

// The user's path colours from ZERAN's settings, else ZERAN's defaults.
zeran::ColourSet user_colours() {
    zeran::ColourSet colours = zeran::default_colours();
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (auto ini = zeran::IniDocument::load((config + "/Kelvard/ZERAN.ini").toStdString()))
        for (std::size_t i = 0; i < colours.size(); ++i)
            colours[i] = static_cast<zeran::Colour>(
                             ini->read_int("Colours", std::to_string(i), colours[i])) &
                         0xFFFFFF;
    return colours;
}

QString clock(double seconds) {
    const long long s = static_cast<long long>(seconds + 0.5);
    return QString("%1:%2:%3")
        .arg(s / 3600, 2, 10, QChar('0'))
        .arg(s / 60 % 60, 2, 10, QChar('0'))
        .arg(s % 60, 2, 10, QChar('0'));
}

} // namespace

SimWindow::SimWindow(std::optional<StockSize> stock, QWidget* parent)
    : QMainWindow(parent), stock_option_(stock), colours_(user_colours()) {
    setWindowTitle(QStringLiteral("Simvo Turning"));
    auto* split = new QSplitter(this);
    view_ = new zeran::Zoom_panel(split);
    view_->setColour(colours_[zeran::kColourBackground]);
    view_->OnNeedReDraw = [this] { redraw(); };
    auto* side = new QSplitter(Qt::Vertical, split);
    listing_ = new QListWidget(side);
    listing_->setFont(QFont(QStringLiteral("monospace")));
    findings_ = new QListWidget(side);
    connect(findings_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { run_to_line(item->data(Qt::UserRole).toInt()); });
    connect(listing_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { run_to_line(listing_->row(item) + 1); });
    side->setStretchFactor(0, 3);
    side->setStretchFactor(1, 1);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    split->setSizes({820, 380});
    setCentralWidget(split);
    status_ = new QLabel(this);
    statusBar()->addWidget(status_, 1);
    build_menus();
    build_controls();
    connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
    resize(1200, 760);
}

SimWindow::~SimWindow() = default;

void SimWindow::build_menus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("&Open..."), QKeySequence::Open, this, [this] {
        const QString path = QFileDialog::getOpenFileName(
            this, tr("Open CNC program"), QFileInfo(file_).path(),
            tr("CNC programs (*.nc *.NC *.ngc *.FNL *.fnl *.tap *.txt);;All files (*)"));
        if (!path.isEmpty()) open_file(path);
    });
    file->addAction(tr("&Tool Library..."), this, [this] { edit_tools(); });
    file->addSeparator();
    file->addAction(tr("E&xit"), QKeySequence::Quit, this, &QWidget::close);
}

void SimWindow::build_controls() {
    QToolBar* bar = addToolBar(tr("Run"));
    bar->addAction(tr("Restart"), this, [this] { restart(); });
    bar->addAction(tr("Play"), this, [this] { play(); });
    bar->addAction(tr("Pause"), this, [this] { pause(); });
    bar->addAction(tr("Step"), this, [this] { step(); });
    bar->addAction(tr("End"), this, [this] { run_to_end(); });
    bar->addSeparator();
    bar->addWidget(new QLabel(tr(" Run to line "), bar));
    line_box_ = new QSpinBox(bar);
    line_box_->setRange(1, 1);
    bar->addWidget(line_box_);
    bar->addAction(tr("Go"), this, [this] { run_to_line(line_box_->value()); });
    bar->addSeparator();
    bar->addWidget(new QLabel(tr(" Speed "), bar));
    speed_ = new QSlider(Qt::Horizontal, bar);
    speed_->setRange(1, 50);
    speed_->setValue(5);
    speed_->setMaximumWidth(140);
    bar->addWidget(speed_);
    bar->addSeparator();
    bar->addWidget(new QLabel(tr(" Machine "), bar));
    machine_box_ = new QComboBox(bar);
    for (const Machine& m : known_machines()) machine_box_->addItem(QString::fromStdString(m.name));
    connect(machine_box_, &QComboBox::activated, this, [this] {
        machine_fixed_ = true;
        if (!file_.isEmpty()) open_file(file_);
    });
    bar->addWidget(machine_box_);
}

void SimWindow::set_machine(const QString& name) {
    const int i = machine_box_->findText(name, Qt::MatchFixedString);
    if (i < 0) return;
    machine_box_->setCurrentIndex(i);
    machine_fixed_ = true;
}

void SimWindow::choose_machine_for(const std::string& text) {
    if (machine_fixed_) return;
    if (const std::optional<Dialect> d = guess_dialect(text))
        machine_box_->setCurrentText(QString::fromStdString(machine_for(*d).name));
}

bool SimWindow::open_file(const QString& path) {
    pause();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        QMessageBox::warning(this, windowTitle(), tr("Cannot read %1").arg(path));
        return false;
    }
    const std::string text = f.readAll().toStdString();
    if (path != file_) choose_machine_for(text);
    const Machine machine = *find_machine(machine_box_->currentText().toStdString());
    ReaderOptions options;
    options.dialect = machine.dialect;
    options.home = {machine.home_x / 2, machine.home_z};
    Program program;
    try {
        program = read_program(text, options);
    } catch (const ProgramError& e) {
        listing_->clear();
        listing_->addItems(QString::fromStdString(text).split('\n'));
        if (e.line() - 1 < listing_->count()) listing_->setCurrentRow(e.line() - 1);
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(e.what()));
        return false;
    }
    file_ = path;
    program_ = std::move(program);
    stock_ = stock_option_ ? *stock_option_ : stock_from_program(program_);
    cycle_seconds_ = cycle_seconds(program_, machine);
    listing_->clear();
    for (const std::string& line : program_.lines) listing_->addItem(QString::fromStdString(line));
    line_box_->setRange(1, std::max(1, listing_->count()));
    setWindowTitle(QStringLiteral("Simvo Turning - ") + QFileInfo(path).fileName());
    nose_radii_ = nose_radii_of_tools();
    sim_ = std::make_unique<Simulation>(program_, machine, stock_, nose_radii_);
    fill_findings();
    show_current();
    // Fit once the window has its size.
    QTimer::singleShot(0, this, [this] {
        fit();
        show_current();
    });
    return true;
}

void SimWindow::open_handed(const QString& path) {
    machine_fixed_ = false; // another program, perhaps for another machine
    showNormal();
    raise();
    activateWindow();
    open_file(path);
}

void SimWindow::fill_findings() {
    findings_->clear();
    Simulation whole(program_, *find_machine(machine_box_->currentText().toStdString()), stock_,
                     nose_radii_);
    whole.run_to_end();
    for (const Finding& f : whole.findings()) {
        auto* item = new QListWidgetItem(
            tr("line %1: %2").arg(f.line).arg(QString::fromStdString(f.message)), findings_);
        item->setData(Qt::UserRole, f.line);
    }
    if (whole.findings().empty()) findings_->addItem(tr("No findings"));
}

void SimWindow::fit() {
    if (!sim_) return;
    const SceneExtents e = scene_extents(*sim_, stock_);
    view_->SetActive(true);
    view_->SetLatheReadout(true);
    const double margin = 0.05 * std::max(e.z_max - e.z_min, e.x_max - e.x_min);
    view_->FitExtents(10, e.x_max + margin, e.x_min - margin, e.z_max + margin, e.z_min - margin);
    view_->setZoomEnabled(true);
    view_->Repaint();
}

void SimWindow::redraw() {
    auto& canvas = view_->DrawCanvas();
    if (QImage* img = canvas.image())
        canvas.fill_rect({0, 0}, {img->width(), img->height()}, colours_[zeran::kColourBackground]);
    if (QImage* img = view_->MarkCanvas().image())
        view_->MarkCanvas().fill_rect({0, 0}, {img->width(), img->height()}, 0xFFFFFF);
    if (!sim_) return;
    const WorldToDevice map = [this](double z, double x) {
        return view_->WorldToBitmap({z, x, 0});
    };
    draw_simulation(canvas, map, *sim_, colours_);
}

void SimWindow::show_current() {
    if (!sim_) return;
    const auto& motions = program_.motions;
    const std::size_t done = sim_->next();
    if (done > 0) {
        const int row = motions[done - 1].line - 1;
        listing_->setCurrentRow(row);
        listing_->scrollToItem(listing_->item(row));
    }
    double elapsed = 0;
    const Machine machine = *find_machine(machine_box_->currentText().toStdString());
    for (std::size_t i = 0; i < done; ++i)
        elapsed += motion_seconds(motions[i], machine, program_.inch);
    status_->setText(tr("Move %1 of %2   time %3 of %4   stock %5 x %6")
                         .arg(done)
                         .arg(motions.size())
                         .arg(clock(elapsed))
                         .arg(clock(cycle_seconds_))
                         .arg(stock_.length)
                         .arg(stock_.radius));
    view_->Repaint();
}

void SimWindow::step() {
    if (!sim_ || sim_->done()) return;
    const int line = program_.motions[sim_->next()].line;
    // One block at a time: a canned cycle's passes run together.
    while (!sim_->done() && program_.motions[sim_->next()].line == line) sim_->step();
    show_current();
}

void SimWindow::tick() {
    if (!sim_ || sim_->done()) {
        pause();
        return;
    }
    for (int i = 0; i < speed_->value() && !sim_->done(); ++i) sim_->step();
    show_current();
}

void SimWindow::play() {
    if (sim_) timer_.start(40);
}

void SimWindow::pause() {
    timer_.stop();
}

void SimWindow::restart() {
    pause();
    if (file_.isEmpty()) return;
    sim_ = std::make_unique<Simulation>(
        program_, *find_machine(machine_box_->currentText().toStdString()), stock_, nose_radii_);
    show_current();
}

void SimWindow::run_to_end() {
    run_to_line(listing_->count());
}

void SimWindow::run_to_line(int line) {
    if (!sim_) return;
    pause();
    if (sim_->next() > 0 && program_.motions[sim_->next() - 1].line > line) restart();
    while (!sim_->done() && program_.motions[sim_->next()].line <= line) sim_->step();
    show_current();
}

std::string SimWindow::tool_file() const {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return tool_file_of(simulator_settings_file(config.toStdString()));
}

void SimWindow::edit_tools() {
    ToolEditor editor(tool_file(), kToolSlots, this);
    editor.exec();
}

// A table that cannot be read leaves every tool's radius unknown: the
// programmed path is cut as it stands.
NoseRadii SimWindow::nose_radii_of_tools() const {
    std::vector<ToolEntry> tools;
    NoseRadii radii;
    if (!load_tool_table(tool_file(), kToolSlots, tools)) return radii;
    for (std::size_t i = 0; i < tools.size(); ++i)
        if (tools[i].nose_radius > 0) radii[static_cast<int>(i) + 1] = tools[i].nose_radius;
    return radii;
}

} // namespace simvo
