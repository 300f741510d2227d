#pragma once
// The simulator's window: the view with the stock and the paths, the program
// listing with the block being run, the findings, and the run controls.
#include "simulator/core/simulation.h"
#include "view/palette.h"

#include <QMainWindow>
#include <QTimer>
#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QListWidget;
class QSlider;
class QSpinBox;

namespace zeran {
class Zoom_panel;
}

namespace simvo {

class SimWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit SimWindow(std::optional<StockSize> stock = std::nullopt, QWidget* parent = nullptr);
    ~SimWindow() override;

    // Chooses the machine (its control's dialect) by name, before a program is opened.
    void set_machine(const QString& name);
    // Loads and shows a program; false (with a message) when it cannot be read.
    bool open_file(const QString& path);
    // The same without questions on screen, for a file handed over by another program.
    void open_handed(const QString& path);

    void step();
    void play();
    void pause();
    void restart();
    // Runs until the block on `line` (1-based) has been done.
    void run_to_line(int line);
    void run_to_end();

    const Simulation* simulation() const { return sim_.get(); }
    QListWidget* listing() const { return listing_; }
    QListWidget* findings() const { return findings_; }

private:
    void build_menus();
    void build_controls();
    void tick();
    void redraw();
    void show_current();
    void fill_findings();
    void choose_machine_for(const std::string& text);
    bool machine_fixed_ = false;
    void edit_tools();
    std::string tool_file() const;
    NoseRadii nose_radii_of_tools() const;
    void fit();

    static constexpr int kToolSlots = 32;

    Program program_;
    std::unique_ptr<Simulation> sim_;
    NoseRadii nose_radii_;
    std::optional<StockSize> stock_option_;
    StockSize stock_;
    QString file_;
    double cycle_seconds_ = 0;
    zeran::ColourSet colours_;

    zeran::Zoom_panel* view_ = nullptr;
    QListWidget* listing_ = nullptr;
    QListWidget* findings_ = nullptr;
    QComboBox* machine_box_ = nullptr;
    QSlider* speed_ = nullptr;
    QSpinBox* line_box_ = nullptr;
    QLabel* status_ = nullptr;
    QTimer timer_;
};

} // namespace simvo
