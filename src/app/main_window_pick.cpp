// Picking a cycle's profile in the view, and the points list that shows it:
// the add type, the list's selection, the flashing of its elements, the hint
// for items too long for the list and the popup's commands.
#include "app/main_window.h"
#include "project/profile_pick_tool.h"
#include "project/project_model.h"
#include "view/view_mouse.h"
#include "view/zoom_panel.h"

#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace zeran {

namespace {

constexpr int kPickHelp = 31;
constexpr int kViewHelp = 37;

} // namespace

void TMainForm::create_points_panel(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    add_type_box_ = new QGroupBox(tr("Add Type"), page);
    add_type_box_->setObjectName("PointAddType");
    set_help_context(add_type_box_, kPickHelp);
    auto* row = new QHBoxLayout(add_type_box_);
    add_single_ = new QRadioButton(tr("Add Single"), add_type_box_);
    add_single_->setObjectName("AddSingle");
    add_inclusive_ = new QRadioButton(tr("Add Inclusive"), add_type_box_);
    add_inclusive_->setObjectName("AddInclusive");
    add_single_->setChecked(true);
    row->addWidget(add_single_);
    row->addWidget(add_inclusive_);
    connect(add_inclusive_, &QRadioButton::toggled, this, [this](bool on) {
        if (!refreshing_) add_type_ = on ? AddType::Inclusive : AddType::Single;
    });
    layout->addWidget(add_type_box_);

    points_list_ = new QListWidget(page);
    points_list_->setObjectName("PointsList");
    points_list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    points_list_->viewport()->setMouseTracking(true);
    points_list_->viewport()->installEventFilter(this);
    layout->addWidget(points_list_);
    connect(points_list_, &QListWidget::itemSelectionChanged, this,
            [this] { PointsListSelectionChange(); });
    connect(points_list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (refreshing_ || !profile_selected()) return;
        PointsCursor& at = session_->cursor(*session_->selected.node);
        at.focused = row;
        at.tag = row;
    });
    connect(points_list_, &QListWidget::itemPressed, this, [this] { PointsListPressed(); });

    points_popup_ = new QMenu(points_list_);
    points_popup_->setObjectName("PointsListPopup");
    const struct {
        const char* name;
        const char* text;
        QKeySequence keys;
        void (TMainForm::*run)();
    } commands[] = {
        {"PUPointsListClear", QT_TR_NOOP("C&lear List"), {}, &TMainForm::PointsListClearClick},
        {"PUPointsListDelete", QT_TR_NOOP("&Delete"), QKeySequence(Qt::Key_Delete),
         &TMainForm::PointsListDeleteClick},
        {"PUPointsListCut", QT_TR_NOOP("Cu&t"), QKeySequence(Qt::CTRL | Qt::Key_X),
         &TMainForm::PointsListCutClick},
        {"PUPointsListCopy", QT_TR_NOOP("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C),
         &TMainForm::PointsListCopyClick},
        {"PUPointsListPaste", QT_TR_NOOP("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V),
         &TMainForm::PointsListPasteClick},
        {"PUPointsListSelectAll", QT_TR_NOOP("Select &All"), QKeySequence(Qt::CTRL | Qt::Key_A),
         &TMainForm::PointsListSelectAllClick},
    };
    for (const auto& c : commands) {
        auto* a = new QAction(tr(c.text), points_list_);
        a->setObjectName(c.name);
        a->setShortcut(c.keys);
        // The keys belong to the list: elsewhere Ctrl+C and Del mean other things.
        a->setShortcutContext(Qt::WidgetShortcut);
        connect(a, &QAction::triggered, this, c.run);
        points_list_->addAction(a);
        points_popup_->addAction(a);
    }
    points_list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(points_list_, &QListWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (QMenu* menu = PointsPopup()) menu->popup(points_list_->viewport()->mapToGlobal(at));
    });
}

bool TMainForm::profile_selected() const {
    return session_->selected.part == CyclePart::Profile && session_->selected.node;
}

void TMainForm::refresh_points_panel() {
    if (!profile_selected()) return;
    const bool was = refreshing_;
    refreshing_ = true;
    const PointsList& list = session_->selected.node->points;
    const PointsCursor& at = session_->cursor(*session_->selected.node);
    points_list_->clear();
    for (const ProfileItem& item : list.items) {
        auto* row = new QListWidgetItem(QString::fromStdString(item.text), points_list_);
        row->setSelected(at.is_selected(item.id));
    }
    if (at.focused >= 0 && at.focused < list.count())
        points_list_->setCurrentRow(at.focused, QItemSelectionModel::NoUpdate);
    // Inclusive adds need a point to start from and room for more.
    const bool choosable = model_->AddTypeAvailable(*session_->selected.node);
    if (!choosable) add_type_ = AddType::Single;
    add_type_box_->setEnabled(choosable);
    (add_type_ == AddType::Inclusive ? add_inclusive_ : add_single_)->setChecked(true);
    refreshing_ = was;
    update_points_commands();
    update_pick_cursor();
}

void TMainForm::update_points_commands() {
    const PointsList* list = profile_selected() ? &session_->selected.node->points : nullptr;
    const int count = list ? list->count() : 0;
    const int selected =
        list ? session_->cursor(*session_->selected.node).selected_count(*list) : 0;
    const bool paste = list && !session_->clipboard.empty() &&
                       !model_->SingleElementFull(*session_->selected.node);
    points_list_->findChild<QAction*>("PUPointsListClear")->setEnabled(count > 1);
    for (const char* name : {"PUPointsListDelete", "PUPointsListCut", "PUPointsListCopy"})
        points_list_->findChild<QAction*>(name)->setEnabled(selected > 0);
    points_list_->findChild<QAction*>("PUPointsListPaste")->setEnabled(paste);
    points_list_->findChild<QAction*>("PUPointsListSelectAll")->setEnabled(selected < count);
}

QMenu* TMainForm::PointsPopup() {
    if (busy_ || !profile_selected()) return nullptr;
    hide_points_hint();
    update_points_commands();
    return points_popup_;
}

void TMainForm::PointsListSelectionChange() {
    if (refreshing_ || !profile_selected()) return;
    const std::vector<ProfileItem>& items = session_->selected.node->points.items;
    PointsCursor& at = session_->cursor(*session_->selected.node);
    for (int i = 0; i < points_list_->count() && i < static_cast<int>(items.size()); ++i)
        at.select(items[std::size_t(i)].id, points_list_->item(i)->isSelected());
    update_points_commands();
}

// ---- The view in pick mode ----

bool TMainForm::marker_tool_checked() const {
    for (const QToolButton* tool : {datum_tool_, billet_tool_, start_tool_})
        if (tool && tool->isChecked()) return true;
    return false;
}

void TMainForm::show_pick_cursor(PickCursor c) {
    // A marker tool's cursor is its own.
    if (marker_tool_checked()) c = PickCursor::Off;
    if (c == PickCursor::Off && shown_pick_ == PickCursor::Off) return;
    shown_pick_ = c;
    switch (c) {
    case PickCursor::Off:
        view_->setPictureCursor(QCursor(Qt::CrossCursor));
        break;
    case PickCursor::Plus:
        view_->setPictureCursor(cursor_of(CursorKind::Plus));
        break;
    case PickCursor::Minus:
        view_->setPictureCursor(cursor_of(CursorKind::Minus));
        break;
    case PickCursor::Refuse:
        view_->setPictureCursor(QCursor(Qt::ArrowCursor));
        break;
    }
    // Picking presses are clicks, never the start of a zoom box.
    view_->setShowDrawRect(c == PickCursor::Off ? TDrawRect::drZoom : TDrawRect::drNone);
    view_->setHelpContext(c == PickCursor::Plus || c == PickCursor::Minus ? kPickHelp : kViewHelp);
}

void TMainForm::update_pick_cursor() {
    // Without a pointer over the view no element is under it: the element
    // the hover saw last may belong to lists built since.
    const bool picking = program_tab_active() && !marker_tool_checked() && model_->drawing_loaded;
    show_pick_cursor(picking ? pick_->hover(nullptr) : PickCursor::Off);
}

void TMainForm::pick_hover() {
    const bool picking = program_tab_active() && !marker_tool_checked();
    show_pick_cursor(picking ? pick_->hover(hover_.current()) : PickCursor::Off);
}

bool TMainForm::pick_press(const ViewMouse& m) {
    if (!program_tab_active() || marker_tool_checked() || !model_->drawing_loaded ||
        !model_->selection || !pick_->engaged())
        return false;
    if (m.shift.double_click) return true;
    const Point2D p = view_->ScreenToWorld(m.at);
    hover_.move({p.x, p.y, 0}, model_->selection.get());
    const PickCursor c = pick_->hover(hover_.current());
    // Only the refusal answers every button; adding and removing are the left one's.
    if (c == PickCursor::Off || (c != PickCursor::Refuse && m.button != MouseButton::Left))
        return c != PickCursor::Off;
    highlight(nullptr);
    if (pick_->press(hover_.current(), add_type_)) refresh_points_panel();
    // The picture was composed again: the element under the pointer is lit anew.
    highlighted_ = nullptr;
    highlight(hover_.current());
    pick_hover();
    return true;
}

// ---- The points list's mouse ----

bool TMainForm::points_list_event(QObject* watched, QEvent* e) {
    if (!points_list_ || watched != points_list_->viewport()) return false;
    switch (e->type()) {
    case QEvent::MouseButtonPress: {
        const auto* me = static_cast<QMouseEvent*>(e);
        hide_points_hint();
        points_press_button_ = me->button();
        points_press_extends_ = (me->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) != 0;
        // A right press below the last item stands for the last one.
        if (me->button() == Qt::RightButton && !points_list_->itemAt(me->position().toPoint()) &&
            points_list_->count() > 0)
            points_list_->setCurrentRow(points_list_->count() - 1);
        return false;
    }
    case QEvent::MouseButtonRelease:
        points_press_button_ = Qt::NoButton;
        stop_flash();
        return false;
    case QEvent::MouseMove: {
        const auto* me = static_cast<QMouseEvent*>(e);
        if (!(me->buttons() & Qt::LeftButton)) show_points_hint(me->position().toPoint());
        return false;
    }
    case QEvent::ToolTip:
        // The list's own tooltip would hide the hint.
        show_points_hint(static_cast<QHelpEvent*>(e)->pos());
        return true;
    case QEvent::Leave:
        // Leaving for the hint that lies over the item is no leaving.
        if (!points_list_->viewport()->rect().contains(
                points_list_->viewport()->mapFromGlobal(QCursor::pos())))
            hide_points_hint();
        return false;
    default:
        return false;
    }
}

// The item at `at` in the list's viewport when its text does not fit the list.
const QListWidgetItem* TMainForm::cut_item_at(const QPoint& at) const {
    const QListWidgetItem* item = points_list_->itemAt(at);
    if (!item) return nullptr;
    const int wanted = points_list_->fontMetrics().horizontalAdvance(item->text()) + 6;
    return wanted > points_list_->viewport()->width() ? item : nullptr;
}

void TMainForm::show_points_hint(const QPoint& at) {
    const QListWidgetItem* item = cut_item_at(at);
    if (!item) {
        hide_points_hint();
        return;
    }
    if (!points_hint_) {
        points_hint_ = new QLabel(points_list_, Qt::ToolTip | Qt::WindowTransparentForInput);
        points_hint_->setObjectName("PointsHint");
        points_hint_->setForegroundRole(QPalette::ToolTipText);
        points_hint_->setBackgroundRole(QPalette::ToolTipBase);
        points_hint_->setAutoFillBackground(true);
        points_hint_->setMaximumWidth(1000);
        points_hint_timer_ = new QTimer(points_hint_);
        points_hint_timer_->setInterval(250);
        // The pointer may rest on the hint itself: where it is counts, not
        // which window it is over.
        connect(points_hint_timer_, &QTimer::timeout, this, [this] {
            const QPoint at = points_list_->viewport()->mapFromGlobal(QCursor::pos());
            if (points_list_->viewport()->rect().contains(at))
                show_points_hint(at);
            else
                hide_points_hint();
        });
    }
    // Over the item itself, so that its text reads on whole.
    const QRect rect = points_list_->visualItemRect(item);
    points_hint_->setText(item->text());
    points_hint_->adjustSize();
    QPoint at_item = points_list_->viewport()->mapToGlobal(rect.topLeft() + QPoint(-1, -3));
    // Kept on the screen: a long text moves left rather than being cut.
    const QRect screen = points_list_->screen()->availableGeometry();
    at_item.setX(
        std::max(screen.left(), std::min(at_item.x(), screen.right() + 1 - points_hint_->width())));
    points_hint_->move(at_item);
    points_hint_->show();
    points_hint_timer_->start();
}

void TMainForm::hide_points_hint() {
    if (!points_hint_) return;
    points_hint_timer_->stop();
    points_hint_->hide();
}

void TMainForm::PointsListPressed() {
    if (busy_ || !profile_selected()) return;
    if (points_press_button_ != Qt::LeftButton || points_press_extends_) return;
    // The picked elements flash in the view until the button is released.
    highlight(nullptr);
    flash_list_.clear();
    const PointsCursor& at = session_->cursor(*session_->selected.node);
    for (const ProfileItem& item : session_->selected.node->points.items)
        if (at.is_selected(item.id)) flash_list_.push_back(item.element);
    if (flash_list_.empty()) return;
    flash_phase_ = 1;
    flasher_->start();
}

// ---- The popup's commands ----

void TMainForm::points_edit(const std::string& label,
                            const std::function<void(ProjectModel&)>& change) {
    if (busy_ || !profile_selected()) return;
    stop_flash();
    hide_points_hint();
    edit(label, {Change::Cycle, model_->cycle_index(session_->selected.node)}, change);
    refresh_points_panel();
}

PointsCursor& TMainForm::points_cursor() {
    return session_->cursor(*session_->selected.node);
}

int TMainForm::points_selected() {
    return points_cursor().selected_count(session_->selected.node->points);
}

void TMainForm::PointsListClearClick() {
    if (!profile_selected() || session_->selected.node->points.count() < 2) return;
    CycleNode* node = session_->selected.node;
    PointsCursor* at = &points_cursor();
    points_edit("Clear Profile", [node, at](ProjectModel& m) { m.ClearPoints(*node, *at); });
}

void TMainForm::PointsListDeleteClick() {
    if (!profile_selected() || points_selected() == 0) return;
    const PointsList& list = session_->selected.node->points;
    PointsCursor* at = &points_cursor();
    // Deleting works from the focused item; a selection made without one focuses its first.
    for (int i = 0; at->focused < 0 && i < list.count(); ++i)
        if (at->is_selected(list.items[std::size_t(i)].id)) at->focused = i;
    CycleNode* node = session_->selected.node;
    points_edit("Delete Points",
                [node, at](ProjectModel& m) { m.DeleteSelectedPoints(*node, *at); });
}

void TMainForm::PointsListCutClick() {
    if (!profile_selected() || points_selected() == 0) return;
    CycleNode* node = session_->selected.node;
    PointsCursor* at = &points_cursor();
    PointsClipboard* clip = &session_->clipboard;
    points_edit("Cut Points",
                [node, at, clip](ProjectModel& m) { m.CutPoints(*node, *at, *clip); });
}

// Copying and selecting change what the list shows, not the project: no step.
void TMainForm::PointsListCopyClick() {
    if (busy_ || !profile_selected()) return;
    if (points_selected() == 0) return;
    model_->CopyPoints(*session_->selected.node, points_cursor(), session_->clipboard);
    update_points_commands();
}

void TMainForm::PointsListPasteClick() {
    if (!profile_selected() || session_->clipboard.empty()) return;
    CycleNode* node = session_->selected.node;
    PointsCursor* at = &points_cursor();
    const PointsClipboard* clip = &session_->clipboard;
    points_edit("Paste Points",
                [node, at, clip](ProjectModel& m) { m.PastePoints(*node, *at, *clip); });
}

void TMainForm::PointsListSelectAllClick() {
    if (busy_ || !profile_selected()) return;
    points_cursor().select_all(session_->selected.node->points);
    refresh_points_panel();
}

} // namespace zeran
