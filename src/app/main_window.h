#pragma once
// TMainForm: the program's one window. It owns the open project (the core
// model) and the settings, and shows them: the view on the left, the drawing
// tree and the cycle list on the right, the panels of the selected node.
#include "app/job_sheet_print.h"
#include "app/settings.h"
#include "cycles/cycle_kinds.h"
#include "geometry/canvas.h"
#include "geometry/point3d.h"
#include "project/hover_tool.h"
#include "project/profile_pick_tool.h"
#include "project/project_session.h"
#include "project/scene.h"

#include <QCursor>
#include <QMainWindow>
#include <QStringList>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QPrinter;
class QPrintPreviewDialog;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QRadioButton;
class QPushButton;
class QActionGroup;
class QLabel;
class QLayout;
class QMouseEvent;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QProgressBar;
class QSplitter;
class QStackedWidget;
class QTabWidget;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace zeran {

class DXF_Entity;
class BilletDragTool;
class DatumDragTool;
class StartPointTool;
class ProjectModel;
class Prompt;
class QtPrompt;
class TColourForm;
class TFormAbout;
class TFormHeader;
class TMaterialDatabase;
class TMaterialForm;
class TPostForm;
class TParamHint;
class TThinking_box;
class TRSpinEdit;
class TRealEdit;
class Zoom_panel;
struct CycleNode;
struct ViewMouse;

enum class CursorKind { Datum = 5, Plus = 6, Minus = 7, Billet = 8, StartPos = 9, DisDatum = 10 };

// What a file dialog is asked for; the window's file choosers take it.
struct FileRequest {
    enum class Mode { Open, Save } mode = Mode::Open;
    QString title;
    QString folder;
    QString file;
    QString filter; // Qt's form: "Name (*.ext)"
    QString suffix;
    int help_context = 0; // 0: no help button
};

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // `paths` from find_app_paths(); `prompt` answers the core's and the
    // window's questions (null: message boxes).
    TMainForm(const AppPaths& paths, Prompt* prompt = nullptr, QWidget* parent = nullptr);
    ~TMainForm() override;

    // ---- Operations ----
    bool OpenProject(const QString& file_name);
    bool QuerySaveChanges();
    bool SaveProject();
    bool SaveProjectAs();
    void AddToReopenList(const QString& file_name);
    void RemoveFromReopenList(const QString& file_name);
    void EnableCommands(bool flag);
    bool PostProcess();
    // Import of a drawing file, as the menu and a drop run it.
    bool ImportDxf(const QString& file_name);
    // The program's arguments that are not options, joined with single spaces.
    void OpenCommandLine(const QStringList& args);
    // Dropped files: the first one counts.
    void DropFiles(const QStringList& files);

    // ---- Commands ----
    void MenuNewClick();
    // New without the save question (asked already).
    void NewProject();
    void MenuOpenClick();
    void MenuReopenClick(int index);
    void MenuSaveAsClick();
    void MenuImportClick();
    void MenuPostClick();
    void MenuExportCNCClick();
    void MenuSetBorderClick();
    void MenuColoursClick();
    void MenuSelectMaterialClick();
    void MenuPrintClick();
    void MenuPrintPreviewClick();
    void MenuExportSheetClick();
    void MenuAboutClick();
    void MenuContentsClick();
    void MenuDrawClick(DrawStyle style);
    void DrawStyleBtnClick();
    void ShowProfileDirectionClick(bool from_button);
    void MenuAddCycleClick(CycleKind kind);
    void HeaderDialogClick();
    // Edit menu: the step before or after, and the selected cycle's place.
    void UndoClick();
    void RedoClick();
    void DeleteCycleClick();
    void MoveCycleClick(int direction);
    // The selected cycle's parameter dialog; OK applies its values as one step.
    void CycleParamsClick();
    // The cycle list's popup for the row `item`, which it selects; null when
    // the row is not a cycle's. Its actions are enabled for that cycle.
    QMenu* CyclePopupFor(QTreeWidgetItem* item);
    void CycleProgressMouseUp();
    void TabsTreeChange();
    // The points list's popup, its commands enabled for the list as it is;
    // null when no Profile node is selected.
    QMenu* PointsPopup();
    void PointsListClearClick();
    void PointsListDeleteClick();
    void PointsListCutClick();
    void PointsListCopyClick();
    void PointsListPasteClick();
    void PointsListSelectAllClick();

    // ---- Scene ----
    void ZoomBoxNeedReDraw();
    DrawStyle draw_style() const { return draw_style_; }
    bool show_direction() const;
    const DXF_Entity* highlighted() const { return highlighted_; }

    // ---- State for the panels and tests ----
    ProjectModel& model() { return *model_; }
    ProjectSession& session() { return *session_; }
    AppSettings& settings() { return settings_; }
    Zoom_panel* view() const { return view_; }
    QTreeWidget* files_tree() const { return files_tree_; }
    QTreeWidget* cycle_list() const { return cycle_list_; }
    QTabWidget* tabs() const { return tabs_; }
    QProgressBar* cycle_progress() const { return progress_; }
    TParamHint* param_hint() const { return param_hint_; }
    TThinking_box* busy_box() const { return busy_box_; }
    QMenu* reopen_menu() const { return reopen_menu_; }
    QAction* action(const QString& object_name) const;
    const QString& project_title() const { return title_; }
    const QCursor& cursor_of(CursorKind kind) const;
    TRSpinEdit* datum_edit_x() const { return datum_x_; }
    TRSpinEdit* datum_edit_y() const { return datum_y_; }
    // The help context F1 opens with the focus on `w`.
    int help_context_at(const QWidget* w) const;
    bool program_tab_active() const;
    void SetProgramTab(bool active);
    void RebuildFilesTree();
    void RebuildCycleList();
    void SelectCycleRow(int top_level_row, int child = -1);

    // The dialogs the commands run. The constructor sets every one of them
    // to the real dialog; a test may put its own answer in their place.
    // File choosers. Empty result: cancelled.
    std::function<QString(const FileRequest&)> choose_file;
    // Runs the post dialog; true after OK.
    std::function<bool(TPostForm&)> run_post_form;
    // Shows the header dialog; true after OK.
    std::function<bool(TFormHeader&)> run_header_form;
    // Shows the material dialog with the preselected entry; true after OK.
    std::function<bool(TMaterialDatabase&)> run_material_dialog;
    bool MaterialListDialog(TMaterialDatabase& db);
    // The print dialog (true: print) and the preview's modal run; tests
    // replace them.
    std::function<bool(QPrinter&)> run_print_dialog;
    std::function<void(QPrintPreviewDialog&)> run_print_preview;
    // The printer the sheet goes to; it keeps the user's choices between prints.
    QPrinter& printer();
    // The job sheet on a printer set up already; false after the error was shown.
    bool print_sheet(QPrinter& printer);
    // Milliseconds Post Process waits for the post-processor; 0 without limit.
    int post_timeout_ms = 0;
    // The post-processor's message of the last failed run, or empty.
    const QString& last_post_error() const { return last_post_error_; }

protected:
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    // main_window.cpp: layout and wiring.
    void create_actions();
    void create_menus();
    // main_window_list.cpp: "&Roughing" with its three kinds, then the others.
    void create_cycles_menu();
    void create_toolbar();
    void create_panels();
    void create_node_panels();
    void load_cursors();
    void FormShow();
    void FormDestroy();
    void MenuFileClick();
    void MenuGenerateClick();
    void set_title(const QString& name);
    void update_file_commands(bool enabled);
    void update_print_commands();
    void rebuild_reopen_menu();
    void set_help_context(QWidget* w, int context);
    // The right-hand panel's width that shows every cycle caption whole.
    int panel_width_needed() const;

    // main_window_trees.cpp: the two trees and the panels.
    void FilesTreeItemChanged(QTreeWidgetItem* item);
    void sync_files_tree();
    void CycleListChange();
    void CycleListItemChanged(QTreeWidgetItem* item);
    void CycleListDblClick(QTreeWidgetItem* item);
    void UseBilletClick(bool use_billet);
    void refresh_panels();
    // The Parameters panel's line saying whether the cycle is complete.
    void refresh_params_status();
    void refresh_cycle_item(QTreeWidgetItem* item, int row);
    void DatumEditChange();
    void BilletEditChange();
    void StartEditChange();
    void CommentEditChange();
    void ToolEditChange();
    void NoseEditChange();

    // main_window_tools.cpp: the Tool panel and the simulator's magazine.
    QWidget* create_tool_panel();
    void show_tool(int number, double width, double length);
    void ToolSizeChange();
    // A length edit with its unit label beside it; the labels follow the
    // project units.
    QLayout* with_unit(QWidget* edit);
    void refresh_unit_labels();
    void ReadToolList();
    void ToolComboChange();
    void ToolUpdateBtnClick();

    // main_window_scene.cpp: the picture and the view's mouse.
    SceneOptions scene_options() const;
    // The path audit after the cycles were drawn; the tree follows its verdicts.
    void audit_paths();
    void ZoomBoxMouseDown(const ViewMouse& m);
    void ZoomBoxMouseMove(const ViewMouse& m);
    void ZoomBoxMouseUp(const ViewMouse& m);
    void highlight(const DXF_Entity* element);
    // Drops every pointer into the drawing (hover, flashing) before the
    // drawing is replaced or freed.
    void forget_drawing_elements();
    void zoom_to_drawing();
    void set_view_cursor(CursorKind kind, bool on);
    // A marker tool's toggle: pressing one releases the other two.
    QToolButton* make_marker_tool(QWidget* parent, const char* name, CursorKind kind,
                                  const QString& icon, const QString& tip);
    void release_marker_tools(QToolButton* keep);
    bool dragging_marker() const;
    // main_window_bands.cpp: the datum cross and billet rectangle of a drag.
    void draw_drag_bands();

    // main_window_list.cpp: the cycle list's drag and its parameter hint,
    // the trees' collapse rules, a layer's reset.
    void install_tree_tools();
    void FilesTreeRightPress(const QMouseEvent& e);
    void CycleListDrop(int from, int before);
    void CycleListMouseMove(const QPoint& at);
    void hide_param_hint();
    // The reason a cycle shows as not ready, or empty.
    std::string cycle_trouble(const CycleNode& node) const;

    // main_window_pick.cpp: picking a profile in the view, and its points list.
    void create_points_panel(QWidget* page);
    bool profile_selected() const;
    void refresh_points_panel();
    // The selected profile's list cursor, and how many of its rows are selected.
    PointsCursor& points_cursor();
    int points_selected();
    void update_points_commands();
    bool marker_tool_checked() const;
    void show_pick_cursor(PickCursor c);
    // The cursor for the selected node, no element under the pointer.
    void update_pick_cursor();
    // The cursor for the element under the pointer.
    void pick_hover();
    // A press in the view while picking; false when picking does not apply.
    bool pick_press(const ViewMouse& m);
    // The points list's mouse; true when the event was taken.
    bool points_list_event(QObject* watched, QEvent* e);
    const QListWidgetItem* cut_item_at(const QPoint& at) const;
    // The whole text of an item the list cuts short, over the item.
    void show_points_hint(const QPoint& at);
    void hide_points_hint();
    void PointsListSelectionChange();
    void PointsListPressed();
    void points_edit(const std::string& label, const std::function<void(ProjectModel&)>& change);

    // main_window_edit.cpp: edits as undoable steps and what follows them.
    // Applies `edit` as the step `label`.
    bool edit(const std::string& label, ChangeNote note,
              const std::function<void(ProjectModel&)>& edit);
    void on_project_change(const ChangeNote& note);
    void update_edit_commands();

    // main_window_file.cpp
    QString ask_file(const FileRequest& r);
    bool write_project(const QString& file_name);
    void after_drawing_loaded();

    // main_window_material.cpp
    void install_material_hooks();

    // main_window_print.cpp
    void install_print_hooks();
    SheetSettings sheet_settings() const;
    std::unique_ptr<QPrinter> printer_;

    // main_window_post.cpp
    bool run_post_processor(std::string& destination, const std::string& previous_machine,
                            std::string& machine);
    bool start_postvex(const QString& settings_file);
    // The simulator's program, or empty when it is not installed.
    QString simulator_program() const;

    AppSettings settings_;
    std::unique_ptr<QtPrompt> own_prompt_;
    std::unique_ptr<Prompt> busy_prompt_;
    TThinking_box* busy_box_ = nullptr;
    TParamHint* param_hint_ = nullptr;
    Prompt* prompt_ = nullptr;
    std::unique_ptr<ProjectModel> model_;
    std::unique_ptr<ProjectSession> session_;
    std::unique_ptr<DatumDragTool> datum_drag_;
    std::unique_ptr<BilletDragTool> billet_drag_;
    std::unique_ptr<StartPointTool> start_place_;
    std::unique_ptr<ProfilePickTool> pick_;
    PickCursor shown_pick_ = PickCursor::Off;
    HoverTool hover_;
    char separator_ = '.';

    Zoom_panel* view_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QWidget* split_panel_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QWidget* tab_input_ = nullptr;
    QWidget* tab_program_ = nullptr;
    QTreeWidget* files_tree_ = nullptr;
    QTreeWidget* cycle_list_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QToolButton* draw_style_btn_ = nullptr;
    QMenu* reopen_menu_ = nullptr;
    QMenu* file_menu_ = nullptr;
    QMenu* generate_menu_ = nullptr;
    QMenu* draw_style_menu_ = nullptr;
    QMenu* cycles_menu_ = nullptr;
    QMenu* cycle_popup_ = nullptr;
    QActionGroup* draw_group_ = nullptr;
    std::array<QAction*, 4> draw_actions_{};
    std::array<QAction*, 8> cycle_actions_{};
    QAction* export_separator_ = nullptr;

    // Panels.
    TRSpinEdit* datum_x_ = nullptr;
    TRSpinEdit* datum_y_ = nullptr;
    QToolButton* datum_tool_ = nullptr;
    QToolButton* billet_tool_ = nullptr;
    QToolButton* start_tool_ = nullptr;
    QCheckBox* use_billet_ = nullptr;
    QStackedWidget* panels_ = nullptr;
    QLabel* header_text_ = nullptr;
    QWidget* billet_box_ = nullptr;
    TRSpinEdit* billet_l_ = nullptr;
    TRSpinEdit* billet_r_ = nullptr;
    QLineEdit* comment_edit_ = nullptr;
    QLabel* cycle_text_ = nullptr;
    QListWidget* points_list_ = nullptr;
    QGroupBox* add_type_box_ = nullptr;
    // How a pick adds: one element, or the chain from the focused one.
    AddType add_type_ = AddType::Single;
    QRadioButton* add_single_ = nullptr;
    QRadioButton* add_inclusive_ = nullptr;
    QMenu* points_popup_ = nullptr;
    QLabel* points_hint_ = nullptr;
    QTimer* points_hint_timer_ = nullptr;
    Qt::MouseButton points_press_button_ = Qt::NoButton;
    bool points_press_extends_ = false; // Shift or Ctrl: the list's own selection
    TRSpinEdit* tool_number_ = nullptr;
    QLabel* tool_text_ = nullptr;
    QComboBox* tool_combo_ = nullptr;
    QPushButton* tool_update_ = nullptr;
    TRSpinEdit* nose_radius_ = nullptr;
    QLabel* nose_unit_ = nullptr;
    QComboBox* nose_orientation_ = nullptr;
    TRealEdit* tool_width_ = nullptr;
    TRealEdit* tool_length_ = nullptr;
    std::vector<QLabel*> unit_labels_;
    TRSpinEdit* start_x_ = nullptr;
    TRSpinEdit* start_z_ = nullptr;
    QLabel* params_text_ = nullptr;
    QLabel* material_label_ = nullptr;

    std::unique_ptr<TColourForm> colour_form_;
    std::unique_ptr<TMaterialForm> material_form_;
    std::unique_ptr<TFormAbout> about_form_;
    std::unique_ptr<TFormHeader> header_form_;
    std::array<QCursor, 6> cursors_;

    DrawStyle draw_style_ = DrawStyle::Selected;
    const DXF_Entity* highlighted_ = nullptr;
    QString title_;
    QString last_post_error_;
    bool refreshing_ = false;
    // Import, reading or posting is under way: the views and lists take no input.
    bool busy_ = false;
    bool destroyed_ = false;
    bool panel_width_applied_ = false;

    // Flashing the elements of a pressed drawing-tree node.
    void start_flash(QTreeWidgetItem* item);
    void select_files_node(const DXF_Entity* element);
    void stop_flash();
    void FlasherTimer();
    QTimer* flasher_ = nullptr;
    std::vector<const DXF_Entity*> flash_list_;
    int flash_phase_ = 0;

public:
    const std::vector<const DXF_Entity*>& flash_list() const { return flash_list_; }
    bool flashing() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace zeran
