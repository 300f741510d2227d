#include "app/main_window.h"

#include "app/busy_prompt.h"
#include "app/tree_images.h"
#include "app/window_placement.h"
#include "cycles/cycle_kinds.h"
#include "cycles/kind_description.h"
#include "dialogs/about_form.h"
#include "dialogs/border_form.h"
#include "dialogs/colour_form.h"
#include "dialogs/header_form.h"
#include "dialogs/material_form.h"
#include "dialogs/post_form.h"
#include "dialogs/qt_prompt.h"
#include "dialogs/rspin_edit.h"
#include "ncout/tool_library.h"
#include "project/billet_start_tools.h"
#include "project/datum_drag_tool.h"
#include "project/project_model.h"
#include "view/help_link.h"
#include "view/zoom_panel.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPrinter>
#include <QProgressBar>
#include <QShortcut>
#include <QSplitter>
#include <QStackedWidget>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace zeran {

namespace {

// A caption as a hint: every "." and "&" removed.
QString stripped(QString caption) {
    return caption.remove('.').remove('&');
}

QAction* make_action(QWidget* owner, const QString& text, const char* name) {
    auto* a = new QAction(text, owner);
    a->setObjectName(name);
    return a;
}

class ProgressBar final : public QProgressBar {
public:
    std::function<void()> on_mouse_up;
    using QProgressBar::QProgressBar;

protected:
    void mouseReleaseEvent(QMouseEvent* e) override {
        QProgressBar::mouseReleaseEvent(e);
        if (on_mouse_up) on_mouse_up();
    }
};

} // namespace

TMainForm::TMainForm(const AppPaths& paths, Prompt* prompt, QWidget* parent)
    : QMainWindow(parent), settings_(paths) {
    setObjectName("MainForm");
    // Busy while the window is being made: no redraws, no edit handlers.
    if (!prompt) {
        own_prompt_ = std::make_unique<QtPrompt>(this, tr("Spindra Turning"));
        prompt = own_prompt_.get();
    }
    busy_box_ = new TThinking_box(this);
    busy_prompt_ = std::make_unique<BusyAwarePrompt>(*prompt, *busy_box_);
    prompt_ = busy_prompt_.get();
    model_ = std::make_unique<ProjectModel>(*prompt_);
    session_ = std::make_unique<ProjectSession>(*model_);
    datum_drag_ = std::make_unique<DatumDragTool>(*session_);
    billet_drag_ = std::make_unique<BilletDragTool>(*session_);
    start_place_ = std::make_unique<StartPointTool>(*session_);
    pick_ = std::make_unique<ProfilePickTool>(*session_);
    busy_ = true;
    const QString point = QLocale::system().decimalPoint();
    separator_ = point.isEmpty() ? '.' : point.front().toLatin1();
    if (separator_ == 0) separator_ = '.';

    settings_.load();
    model_->settings.default_material_file = default_material_file(paths);
    model_->material_file = model_->settings.default_material_file;
    model_->settings.default_author = default_author().toStdString();
    model_->settings.import_curves =
        settings_.read_curves ? CurveReading::Arcs : CurveReading::Chords;

    colour_form_ = std::make_unique<TColourForm>(this);
    about_form_ = std::make_unique<TFormAbout>(this);
    header_form_ = std::make_unique<TFormHeader>(this);

    create_actions();
    create_menus();
    create_panels();
    create_toolbar();
    load_cursors();
    setAcceptDrops(true);
    setWindowIcon(QIcon(":/zeran/MAINICON.png"));
    set_help_context(this, 20);
    rebuild_reopen_menu();

    choose_file = [this](const FileRequest& r) { return ask_file(r); };
    run_post_form = [](TPostForm& form) { return form.Execute(); };
    run_header_form = [](TFormHeader& form) { return form.Execute(); };
    run_material_dialog = [this](TMaterialDatabase& db) { return MaterialListDialog(db); };
    install_print_hooks();
    install_material_hooks();

    TFormPosSize(QString::fromStdString(paths.placement_file), objectName()).load(*this);
    model_->ClearProject();
    session_->listen([this](const ChangeNote& note) { on_project_change(note); });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        datum_drag_->cancel();
        billet_drag_->cancel();
        stop_flash();
        refresh_panels();
    });
    RebuildFilesTree();
    RebuildCycleList();
    update_edit_commands();
    set_title(tr("Untitled.tcf"));
    update_file_commands(false);
    busy_ = false;
    FormShow();
}

TMainForm::~TMainForm() {
    FormDestroy();
}

namespace {

// The window's commands: id (the action's object name), label, shortcuts,
// icon and handler, in one place.
struct CommandSpec {
    const char* id;
    const char* label;
    std::vector<QKeySequence> shortcuts;
    std::function<QIcon(const QStyle&)> icon;
    std::function<void(TMainForm&)> handler;
};

const std::vector<CommandSpec>& command_table() {
    using K = QKeySequence;
    auto standard = [](QStyle::StandardPixmap p) {
        return [p](const QStyle& style) { return style.standardIcon(p); };
    };
    auto glyph = [](const char* text, unsigned rgb) {
        return [text, rgb](const QStyle&) { return glyph_icon(QString::fromUtf8(text), rgb); };
    };
    static const std::vector<CommandSpec> table = {
        {"MenuNew",
         QT_TR_NOOP("&New"),
         {K::New},
         standard(QStyle::SP_FileIcon),
         [](TMainForm& w) { w.MenuNewClick(); }},
        {"MenuOpen",
         QT_TR_NOOP("&Open..."),
         {K::Open},
         standard(QStyle::SP_DialogOpenButton),
         [](TMainForm& w) { w.MenuOpenClick(); }},
        {"MenuSave",
         QT_TR_NOOP("&Save"),
         {K::Save},
         standard(QStyle::SP_DialogSaveButton),
         [](TMainForm& w) { w.SaveProject(); }},
        {"MenuSaveAs",
         QT_TR_NOOP("Save &As..."),
         {},
         nullptr,
         [](TMainForm& w) { w.MenuSaveAsClick(); }},
        {"MenuImport",
         QT_TR_NOOP("Import &DXF..."),
         {K(Qt::CTRL | Qt::Key_I)},
         glyph("DXF", 0x3c8c3c),
         [](TMainForm& w) { w.MenuImportClick(); }},
        {"MenuPrint",
         QT_TR_NOOP("&Print..."),
         {K::Print},
         nullptr,
         [](TMainForm& w) { w.MenuPrintClick(); }},
        {"MenuPrintPreview",
         QT_TR_NOOP("Print Pre&view..."),
         {},
         nullptr,
         [](TMainForm& w) { w.MenuPrintPreviewClick(); }},
        {"MenuExportSheet",
         QT_TR_NOOP("&Export Job Sheet..."),
         {},
         nullptr,
         [](TMainForm& w) { w.MenuExportSheetClick(); }},
        {"MenuExit", QT_TR_NOOP("E&xit"), {}, nullptr, [](TMainForm& w) { w.close(); }},
        {"MenuUndo",
         QT_TR_NOOP("&Undo"),
         {K(Qt::CTRL | Qt::Key_Z)},
         standard(QStyle::SP_ArrowBack),
         [](TMainForm& w) { w.UndoClick(); }},
        {"MenuRedo",
         QT_TR_NOOP("&Redo"),
         {K(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), K(Qt::CTRL | Qt::Key_Y)},
         standard(QStyle::SP_ArrowForward),
         [](TMainForm& w) { w.RedoClick(); }},
        {"MenuDeleteCycle",
         QT_TR_NOOP("&Delete Cycle"),
         {},
         nullptr,
         [](TMainForm& w) { w.DeleteCycleClick(); }},
        {"MenuMoveCycleUp",
         QT_TR_NOOP("Move Cycle &Up"),
         {},
         nullptr,
         [](TMainForm& w) { w.MoveCycleClick(-1); }},
        {"MenuMoveCycleDown",
         QT_TR_NOOP("Move Cycle Do&wn"),
         {},
         nullptr,
         [](TMainForm& w) { w.MoveCycleClick(1); }},
        {"MenuCycleParams",
         QT_TR_NOOP("&Parameters..."),
         {},
         nullptr,
         [](TMainForm& w) { w.CycleParamsClick(); }},
        {"MenuPost",
         QT_TR_NOOP("&Post Process..."),
         {},
         glyph("NC", 0xb03a2e),
         [](TMainForm& w) { w.MenuPostClick(); }},
        {"MenuExportCNC",
         QT_TR_NOOP("&Export to Simvo Turning"),
         {},
         nullptr,
         [](TMainForm& w) { w.MenuExportCNCClick(); }},
        {"MenuSelectMaterial",
         QT_TR_NOOP("Select &Material..."),
         {},
         nullptr,
         [](TMainForm& w) { w.MenuSelectMaterialClick(); }},
        {"MenuColours",
         QT_TR_NOOP("&Colours..."),
         {},
         nullptr,
         [](TMainForm& w) { w.MenuColoursClick(); }},
        {"MenuSetBorder",
         QT_TR_NOOP("&Border Width..."),
         {},
         nullptr,
         [](TMainForm& w) { w.MenuSetBorderClick(); }},
        {"MenuContents",
         QT_TR_NOOP("&Contents..."),
         {},
         nullptr,
         [](TMainForm& w) { w.MenuContentsClick(); }},
        {"MenuAbout",
         QT_TR_NOOP("&About..."),
         {},
         nullptr,
         [](TMainForm& w) { w.MenuAboutClick(); }},
        {"MenuHeader",
         QT_TR_NOOP("Header..."),
         {},
         nullptr,
         [](TMainForm& w) { w.HeaderDialogClick(); }},
    };
    return table;
}

} // namespace

void TMainForm::create_actions() {
    for (const CommandSpec& c : command_table()) {
        QAction* a = make_action(this, tr(c.label), c.id);
        a->setShortcuts(QList<QKeySequence>(c.shortcuts.begin(), c.shortcuts.end()));
        if (c.icon) a->setIcon(c.icon(*style()));
        const auto& handler = c.handler;
        connect(a, &QAction::triggered, this, [this, &handler] { handler(*this); });
    }
    auto add = [this](const QString& text, const char* name, auto slot) {
        QAction* a = make_action(this, text, name);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QAction* a = nullptr;
    a = add(tr("&Read Polyline Arcs and Curves"), "MenuReadCurves", [this](bool on) {
        settings_.read_curves = on;
        model_->settings.import_curves = on ? CurveReading::Arcs : CurveReading::Chords;
    });
    a->setCheckable(true);
    a->setChecked(settings_.read_curves);
    a = add(tr("Show Profile &Direction"), "MenuShowDirection",
            [this] { ShowProfileDirectionClick(false); });
    a->setCheckable(true);
    a->setIcon(glyph_icon(QString::fromUtf8("\u2192"), 0x707070));
    // One F1 for the whole window: the help of the control that has the focus.
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, this,
            [this] { show_help(help_context_at(QApplication::focusWidget())); });

    draw_group_ = new QActionGroup(this);
    const QString draw_texts[] = {tr("Draw &Selected Cycle"), tr("Draw &Enabled Cycles"),
                                  tr("Draw &All Cycles"), tr("Draw &No Cycles")};
    const char* draw_names[] = {"MenuDrawSelected", "MenuDrawEnabled", "MenuDrawAll",
                                "MenuDrawNone"};
    for (int i = 0; i < 4; ++i) {
        QAction* d = add(draw_texts[i], draw_names[i],
                         [this, i] { MenuDrawClick(static_cast<DrawStyle>(i)); });
        d->setCheckable(true);
        draw_group_->addAction(d);
        draw_actions_[std::size_t(i)] = d;
    }
    draw_actions_[0]->setChecked(true);

    static const char* const cycle_names[] = {"MenuAlongX",    "MenuAlongZ",   "MenuPattern",
                                              "MenuFinishing", "MenuGrooving", "MenuThreading",
                                              "MenuDrilling",  "MenuLinear"};
    for (const CycleKindDescription& d : cycle_kind_descriptions()) {
        const int k = cycle_kind_number(d.kind);
        QAction* c = add(tr(std::string(d.long_name).c_str()), cycle_names[k],
                         [this, kind = d.kind] { MenuAddCycleClick(kind); });
        c->setIcon(node_icon(k));
        c->setToolTip(QString::fromStdString(std::string(d.short_name)));
        cycle_actions_[std::size_t(k)] = c;
    }
}

QAction* TMainForm::action(const QString& object_name) const {
    return findChild<QAction*>(object_name);
}

void TMainForm::create_menus() {
    file_menu_ = menuBar()->addMenu(tr("&File"));
    file_menu_->addAction(action("MenuNew"));
    file_menu_->addAction(action("MenuOpen"));
    reopen_menu_ = file_menu_->addMenu(tr("&Reopen"));
    reopen_menu_->setObjectName("MenuReopen");
    file_menu_->addAction(action("MenuSave"));
    file_menu_->addAction(action("MenuSaveAs"));
    file_menu_->addSeparator();
    file_menu_->addAction(action("MenuImport"));
    file_menu_->addSeparator();
    file_menu_->addAction(action("MenuPrint"));
    file_menu_->addAction(action("MenuPrintPreview"));
    file_menu_->addAction(action("MenuExportSheet"));
    file_menu_->addSeparator();
    file_menu_->addAction(action("MenuExit"));
    connect(file_menu_, &QMenu::aboutToShow, this, [this] { MenuFileClick(); });

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->addAction(action("MenuUndo"));
    edit->addAction(action("MenuRedo"));
    edit->addSeparator();
    edit->addAction(action("MenuDeleteCycle"));
    edit->addAction(action("MenuMoveCycleUp"));
    edit->addAction(action("MenuMoveCycleDown"));
    connect(edit, &QMenu::aboutToShow, this, [this] { update_edit_commands(); });

    generate_menu_ = menuBar()->addMenu(tr("&Generate CNC"));
    generate_menu_->addAction(action("MenuPost"));
    export_separator_ = generate_menu_->addSeparator();
    generate_menu_->addAction(action("MenuExportCNC"));
    connect(generate_menu_, &QMenu::aboutToShow, this, [this] { MenuGenerateClick(); });

    QMenu* options = menuBar()->addMenu(tr("&Options"));
    options->addAction(action("MenuSelectMaterial"));
    options->addAction(action("MenuColours"));
    options->addAction(action("MenuSetBorder"));
    options->addAction(action("MenuReadCurves"));
    draw_style_menu_ = options->addMenu(tr("Draw &Style"));
    for (QAction* d : draw_actions_) draw_style_menu_->addAction(d);
    options->addAction(action("MenuShowDirection"));

    cycles_menu_ = menuBar()->addMenu(tr("&Cycles"));
    create_cycles_menu();

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->addAction(action("MenuContents"));
    help->addAction(action("MenuAbout"));
}

void TMainForm::create_toolbar() {
    toolbar_ = addToolBar(tr("Commands"));
    toolbar_->setObjectName("ToolBarBtns");
    toolbar_->setMovable(false);
    toolbar_->addAction(action("MenuNew"));
    toolbar_->addAction(action("MenuOpen"));
    toolbar_->addAction(action("MenuSave"));
    toolbar_->addSeparator();
    toolbar_->addAction(action("MenuUndo"));
    toolbar_->addAction(action("MenuRedo"));
    toolbar_->addSeparator();
    toolbar_->addAction(action("MenuImport"));
    toolbar_->addAction(action("MenuPost"));
    toolbar_->addSeparator();
    draw_style_btn_ = new QToolButton(toolbar_);
    draw_style_btn_->setObjectName("DrawStyleBtn");
    draw_style_btn_->setIcon(glyph_icon("S", 0x707070));
    draw_style_btn_->setMenu(draw_style_menu_);
    draw_style_btn_->setPopupMode(QToolButton::MenuButtonPopup);
    connect(draw_style_btn_, &QToolButton::clicked, this, [this] { DrawStyleBtnClick(); });
    toolbar_->addWidget(draw_style_btn_);
    toolbar_->addAction(action("MenuShowDirection"));
    if (auto* b =
            qobject_cast<QToolButton*>(toolbar_->widgetForAction(action("MenuShowDirection"))))
        b->setObjectName("ToolBtnDirec");
    toolbar_->addSeparator();
    for (QAction* c : cycle_actions_) toolbar_->addAction(c);
}

void TMainForm::create_panels() {
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName("SplitterV");
    view_ = new Zoom_panel(splitter_);
    view_->setObjectName("ZoomBox");
    view_->setColour(settings_.colours[kColourBackground]);
    view_->setHelpContext(37);
    view_->setZoomEnabled(false);
    view_->OnNeedReDraw = [this] { ZoomBoxNeedReDraw(); };
    view_->OnMouseDown = [this](const ViewMouse& m) { ZoomBoxMouseDown(m); };
    view_->OnMouseMove = [this](const ViewMouse& m) { ZoomBoxMouseMove(m); };
    view_->OnMouseUp = [this](const ViewMouse& m) { ZoomBoxMouseUp(m); };
    splitter_->addWidget(view_);

    split_panel_ = new QWidget(splitter_);
    split_panel_->setObjectName("SplitPanelLeft");
    // The panel's minimum comes from its contents, so that the splitter can
    // never squeeze the datum edits until they cut their numbers.
    auto* right = new QVBoxLayout(split_panel_);
    right->setContentsMargins(2, 2, 2, 2);
    tabs_ = new QTabWidget(split_panel_);
    tabs_->setObjectName("TabsTree");

    // "DXF Input": the drawing tree and the datum.
    tab_input_ = new QWidget(tabs_);
    tab_input_->setObjectName("TabInput");
    auto* input = new QVBoxLayout(tab_input_);
    files_tree_ = new QTreeWidget(tab_input_);
    files_tree_->setObjectName("FilesTree");
    files_tree_->setHeaderHidden(true);
    set_help_context(files_tree_, 38);
    input->addWidget(files_tree_, 1);
    auto* datum = new QGroupBox(tr("Datum"), tab_input_);
    set_help_context(datum, 41);
    auto* datum_row = new QHBoxLayout(datum);
    datum_tool_ = make_marker_tool(datum, "DatumCursPaint", CursorKind::Datum, ":/zeran/DATUM.png",
                                   tr("Place the datum in the view"));
    datum_x_ = new TRSpinEdit(datum);
    datum_x_->setObjectName("DatumEditX");
    datum_x_->setToolTip(tr("Datum in X"));
    datum_y_ = new TRSpinEdit(datum);
    datum_y_->setObjectName("DatumEditY");
    datum_y_->setToolTip(tr("Datum in Y"));
    for (TRSpinEdit* e : {datum_x_, datum_y_}) {
        e->setMinValue(-1e6);
        e->setMaxValue(1e6);
        connect(e, &TRSpinEdit::Change, this, [this] { DatumEditChange(); });
    }
    datum_row->addWidget(datum_tool_);
    datum_row->addWidget(new QLabel(tr("X"), datum));
    datum_row->addWidget(datum_x_, 1);
    datum_row->addWidget(new QLabel(tr("Y"), datum));
    datum_row->addWidget(datum_y_, 1);
    input->addWidget(datum);
    tabs_->addTab(tab_input_, tr("DXF Input"));

    // "Program": the cycle list and the panel of its selected node.
    tab_program_ = new QWidget(tabs_);
    tab_program_->setObjectName("TabProgram");
    auto* program = new QVBoxLayout(tab_program_);
    cycle_list_ = new QTreeWidget(tab_program_);
    cycle_list_->setObjectName("CycleList");
    cycle_list_->setHeaderHidden(true);
    cycle_list_->setIconSize(QSize(34, 16));
    set_help_context(cycle_list_, 44);
    program->addWidget(cycle_list_, 1);
    material_label_ = new QLabel(tab_program_);
    material_label_->setObjectName("MaterialLabel");
    // A long material name wraps instead of being cut at the panel's edge.
    material_label_->setWordWrap(true);
    program->addWidget(material_label_);
    create_node_panels();
    program->addWidget(panels_);
    tabs_->addTab(tab_program_, tr("Program"));

    right->addWidget(tabs_, 1);
    auto* bar = new ProgressBar(split_panel_);
    bar->setObjectName("CycleProgress");
    bar->setToolTip(tr("Click to Redraw"));
    bar->setTextVisible(false);
    bar->setMaximumHeight(14);
    bar->on_mouse_up = [this] { CycleProgressMouseUp(); };
    progress_ = bar;
    right->addWidget(progress_);
    right->setSizeConstraint(QLayout::SetMinimumSize);
    splitter_->addWidget(split_panel_);
    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 0);
    // The panel's stored width is applied once the window has its size
    // (showEvent): before, the splitter would scale it down with itself.
    setCentralWidget(splitter_);
    resize(1200, 800);

    connect(tabs_, &QTabWidget::currentChanged, this, [this] { TabsTreeChange(); });
    connect(files_tree_, &QTreeWidget::itemChanged, this,
            [this](QTreeWidgetItem* item) { FilesTreeItemChanged(item); });
    connect(files_tree_, &QTreeWidget::itemPressed, this,
            [this](QTreeWidgetItem* item) { start_flash(item); });
    files_tree_->viewport()->installEventFilter(this);
    flasher_ = new QTimer(this);
    flasher_->setSingleShot(true);
    flasher_->setInterval(300);
    connect(flasher_, &QTimer::timeout, this, [this] { FlasherTimer(); });
    connect(cycle_list_, &QTreeWidget::currentItemChanged, this, [this] { CycleListChange(); });
    connect(cycle_list_, &QTreeWidget::itemChanged, this,
            [this](QTreeWidgetItem* item) { CycleListItemChanged(item); });
    connect(cycle_list_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { CycleListDblClick(item); });
    install_tree_tools();
    cycle_list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(cycle_list_, &QTreeWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (QMenu* menu = CyclePopupFor(cycle_list_->itemAt(at)))
            menu->popup(cycle_list_->viewport()->mapToGlobal(at));
    });
}

void TMainForm::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (panel_width_applied_) return;
    panel_width_applied_ = true;
    const int panel = std::max(settings_.splitter_width, panel_width_needed());
    const int total = splitter_->width() - splitter_->handleWidth();
    splitter_->setSizes({std::max(1, total - panel), panel});
}

int TMainForm::panel_width_needed() const {
    // The longest caption a new cycle gets, beside its check box and icon,
    // one level in; the panel's own minimum (the datum row) as well.
    const QFontMetrics fm = cycle_list_->fontMetrics();
    int caption = 0;
    for (const CycleKindDescription& d : cycle_kind_descriptions()) {
        const QString text = (d.roughing ? tr("Roughing ") : QString()) +
                             QString::fromStdString(std::string(d.short_name));
        caption = std::max(caption, fm.horizontalAdvance(text));
    }
    const int check = style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, cycle_list_);
    const int scroll = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, cycle_list_);
    const int cycle_row = cycle_list_->indentation() + check + cycle_list_->iconSize().width() +
                          caption + scroll + 6 * fm.averageCharWidth();
    return std::max({cycle_row, split_panel_->minimumSizeHint().width(), kSplitterMinimum});
}

void TMainForm::load_cursors() {
    // Cursor numbers 5 to 10, hot spot in the middle of the cross.
    static const char* const names[] = {"DATUM", "PLUS", "MINUS", "BILLET", "STARTPOS", "DISDATUM"};
    for (std::size_t i = 0; i < cursors_.size(); ++i) {
        const QPixmap p(QString(":/zeran/%1.png").arg(names[i]));
        cursors_[i] = p.isNull() ? QCursor(Qt::CrossCursor) : QCursor(p, 15, 15);
    }
}

const QCursor& TMainForm::cursor_of(CursorKind kind) const {
    return cursors_.at(std::size_t(static_cast<int>(kind) - 5));
}

void TMainForm::set_help_context(QWidget* w, int context) {
    w->setProperty("helpContext", context);
}

int TMainForm::help_context_at(const QWidget* w) const {
    // The nearest widget up from the focus that carries a context; the view
    // has its own, which changes while a profile is picked.
    for (; w; w = w->parentWidget()) {
        if (w == view_ || view_->isAncestorOf(w)) return view_->HelpContext();
        const QVariant c = w->property("helpContext");
        if (c.isValid()) return c.toInt();
    }
    return 20;
}

void TMainForm::FormShow() {
    for (QAction* a : toolbar_->actions())
        if (!a->text().isEmpty()) a->setToolTip(stripped(a->text()));
    for (std::size_t k = 0; k < cycle_actions_.size(); ++k)
        cycle_actions_[k]->setToolTip(stripped(cycle_actions_[k]->text()));
    draw_style_btn_->setToolTip(stripped(tr("Draw &Style")) + " (" +
                                stripped(draw_actions_[0]->text()) + ")");
    tabs_->setCurrentWidget(tab_input_);
    const bool simulator = !simulator_program().isEmpty();
    export_separator_->setVisible(simulator);
    action("MenuExportCNC")->setVisible(simulator);
    ReadToolList();
    EnableCommands(false);
    model_->datum_set = false;
    model_->billet_defined = false;
}

void TMainForm::FormDestroy() {
    if (destroyed_) return;
    destroyed_ = true;
    TFormPosSize(QString::fromStdString(settings_.paths().placement_file), objectName())
        .save(*this);
    if (!model_->tdx_file_name.empty())
        settings_.tdx_folder =
            QFileInfo(QString::fromStdString(model_->tdx_file_name)).absolutePath().toStdString();
    if (!model_->project_folder.empty()) settings_.tcf_folder = model_->project_folder;
    const QList<int> sizes = splitter_->sizes();
    if (sizes.size() == 2 && sizes[1] > 0) settings_.splitter_width = sizes[1];
    settings_.save();
    session_->selected = {CyclePart::Header, nullptr};
    model_->ClearProject(KeepTree::Yes);
}

void TMainForm::closeEvent(QCloseEvent* e) {
    if (!QuerySaveChanges()) {
        e->ignore();
        return;
    }
    e->accept();
    FormDestroy();
}

void TMainForm::set_title(const QString& name) {
    title_ = tr("Spindra Turning") + " - " + name;
    setWindowTitle(title_);
}

void TMainForm::update_file_commands(bool enabled) {
    action("MenuSave")->setEnabled(enabled);
    action("MenuSaveAs")->setEnabled(enabled);
    update_print_commands();
}

void TMainForm::update_print_commands() {
    // The job sheet needs a drawing to show.
    for (const char* name : {"MenuPrint", "MenuPrintPreview", "MenuExportSheet"})
        action(name)->setEnabled(model_->drawing_loaded);
}

void TMainForm::EnableCommands(bool flag) {
    const bool program = program_tab_active();
    const bool datum = model_->datum_set;
    action("MenuShowDirection")->setEnabled(flag);
    draw_style_btn_->setEnabled(flag);
    draw_style_menu_->setEnabled(flag);
    for (QAction* d : draw_actions_) d->setEnabled(flag);
    for (QAction* c : cycle_actions_) c->setEnabled(flag && datum && program);
    datum_x_->setEnabled(flag);
    datum_y_->setEnabled(flag);
    datum_tool_->setEnabled(flag);
    action("MenuPost")->setEnabled(program);
    action("MenuExportCNC")->setEnabled(program && model_->post_allowed);
    tabs_->setTabVisible(tabs_->indexOf(tab_program_), flag && datum);
}

bool TMainForm::program_tab_active() const {
    return tabs_->currentWidget() == tab_program_;
}

void TMainForm::SetProgramTab(bool active) {
    tabs_->setCurrentWidget(active ? tab_program_ : tab_input_);
}

void TMainForm::TabsTreeChange() {
    if (destroyed_) return;
    EnableCommands(model_->drawing_loaded);
    if (!cycle_list_->currentItem() && cycle_list_->topLevelItemCount() > 0) {
        cycle_list_->setCurrentItem(cycle_list_->topLevelItem(0));
        cycle_list_->scrollToItem(cycle_list_->currentItem());
    }
    const bool input = !program_tab_active();
    datum_x_->setEnabled(input && model_->drawing_loaded);
    datum_y_->setEnabled(input && model_->drawing_loaded);
    // Either tab releases the datum tool: left pressed, a click on the
    // program's view would move the datum unasked.
    datum_tool_->setChecked(false);
    if (!input) refresh_panels();
    update_pick_cursor();
    view_->SetLatheReadout(!input);
    view_->Repaint();
}

void TMainForm::MenuFileClick() {
    update_print_commands();
}

void TMainForm::MenuGenerateClick() {
    action("MenuPost")->setEnabled(program_tab_active() || model_->post_allowed);
    const std::string& nc = model_->last_nc_file;
    action("MenuExportCNC")
        ->setEnabled(!nc.empty() && QFileInfo::exists(QString::fromStdString(nc)));
}

void TMainForm::rebuild_reopen_menu() {
    reopen_menu_->clear();
    int n = 0;
    for (const std::string& path : settings_.reopen.entries()) {
        const int index = n++;
        QAction* a =
            reopen_menu_->addAction(QString("&%1 %2").arg(n).arg(QString::fromStdString(path)));
        connect(a, &QAction::triggered, this, [this, index] { MenuReopenClick(index); });
    }
    reopen_menu_->setEnabled(!settings_.reopen.empty());
}

void TMainForm::AddToReopenList(const QString& file_name) {
    settings_.reopen.add(file_name.toStdString());
    rebuild_reopen_menu();
}

void TMainForm::RemoveFromReopenList(const QString& file_name) {
    settings_.reopen.remove(file_name.toStdString());
    rebuild_reopen_menu();
}

void TMainForm::MenuDrawClick(DrawStyle style) {
    draw_style_ = style;
    draw_actions_[std::size_t(style)]->setChecked(true);
    view_->Repaint();
}

void TMainForm::DrawStyleBtnClick() {
    const auto next = static_cast<DrawStyle>((static_cast<int>(draw_style_) + 1) % 4);
    MenuDrawClick(next);
    draw_style_btn_->setToolTip(stripped(tr("Draw &Style")) + " (" +
                                stripped(draw_actions_[std::size_t(next)]->text()) + ")");
}

bool TMainForm::show_direction() const {
    return action("MenuShowDirection")->isChecked();
}

void TMainForm::ShowProfileDirectionClick(bool from_button) {
    // The menu item and the toolbar button are one checkable action: a click
    // on either has already toggled it.
    Q_UNUSED(from_button);
    view_->Repaint();
}

void TMainForm::MenuSetBorderClick() {
    TBorderForm form(this);
    form.SetBorder(settings_.border);
    if (!form.Execute()) return;
    settings_.border = form.GetBorder();
    if (model_->drawing_loaded) {
        zoom_to_drawing();
        view_->setZoomEnabled(true);
    }
}

void TMainForm::MenuColoursClick() {
    colour_form_->SetColours(settings_.colours);
    if (!colour_form_->Execute()) return;
    settings_.colours = colour_form_->Colours();
    view_->setColour(settings_.colours[kColourBackground]);
    view_->Repaint();
}

void TMainForm::MenuContentsClick() {
    show_help(1000);
}

void TMainForm::MenuAboutClick() {
    about_form_->SetVersionText(QString::fromStdString(GetVersionText(ZERAN_VERSION)));
    about_form_->exec();
}

void TMainForm::CycleProgressMouseUp() {
    if (!model_->tree.filled) return;
    zoom_to_drawing();
    view_->setZoomEnabled(true);
}

} // namespace zeran
