#include "app/cycle_list_drag.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTreeWidget>

namespace zeran {

CycleListDrag::CycleListDrag(QTreeWidget* tree) : QObject(tree), tree_(tree) {
    tree_->setDragEnabled(false);
    tree_->viewport()->setAcceptDrops(true);
    tree_->viewport()->installEventFilter(this);
}

bool CycleListDrag::is_cycle_row(const QTreeWidgetItem* item) const {
    if (!item || item->parent()) return false;
    const int row = tree_->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item));
    return row > 0 && row < tree_->topLevelItemCount() - 1;
}

bool CycleListDrag::accepts(const QTreeWidgetItem* target) const {
    return target && !target->parent() &&
           tree_->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(target)) > 0;
}

void CycleListDrag::auto_scroll(QTreeWidgetItem* over) {
    if (!over) return;
    const QRect r = tree_->visualItemRect(over);
    if (r.bottom() >= tree_->viewport()->height() - 1) {
        if (QTreeWidgetItem* below = tree_->itemBelow(over)) tree_->scrollToItem(below);
    } else if (tree_->itemAt(QPoint(1, 1)) == over) {
        if (QTreeWidgetItem* above = tree_->itemAbove(over)) tree_->scrollToItem(above);
    }
}

void CycleListDrag::start(QTreeWidgetItem* item) {
    pressed_ = nullptr;
    auto* data = new QMimeData;
    data->setData(kMimeType, QByteArray::number(tree_->indexOfTopLevelItem(item)));
    auto* drag = new QDrag(tree_);
    drag->setMimeData(data);
    drag->exec(Qt::MoveAction);
}

bool CycleListDrag::drop(QDropEvent* e) {
    QTreeWidgetItem* target = tree_->itemAt(e->position().toPoint());
    bool number = false;
    const int from = e->mimeData()->data(kMimeType).toInt(&number);
    if (!number || !accepts(target) || (allowed && !allowed())) {
        e->ignore();
        return true;
    }
    e->acceptProposedAction();
    if (on_drop) on_drop(from, tree_->indexOfTopLevelItem(target));
    return true;
}

bool CycleListDrag::eventFilter(QObject* watched, QEvent* event) {
    if (watched != tree_->viewport()) return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* m = static_cast<QMouseEvent*>(event);
        QTreeWidgetItem* item = tree_->itemAt(m->position().toPoint());
        // Only a cycle row starts a drag; a press elsewhere ends any.
        pressed_ = m->button() == Qt::LeftButton && is_cycle_row(item) ? item : nullptr;
        press_at_ = m->position().toPoint();
        return false;
    }
    case QEvent::MouseMove: {
        auto* m = static_cast<QMouseEvent*>(event);
        if (!pressed_ || !(m->buttons() & Qt::LeftButton)) return false;
        if ((m->position().toPoint() - press_at_).manhattanLength() <
            QApplication::startDragDistance())
            return false;
        // The drag starts only from the selected cycle.
        if (pressed_ != tree_->currentItem() || (allowed && !allowed())) {
            pressed_ = nullptr;
            return false;
        }
        start(pressed_);
        return true;
    }
    case QEvent::MouseButtonRelease:
        pressed_ = nullptr;
        return false;
    case QEvent::DragEnter: {
        auto* e = static_cast<QDragEnterEvent*>(event);
        if (e->mimeData()->hasFormat(kMimeType))
            e->acceptProposedAction();
        else
            e->ignore();
        return true;
    }
    case QEvent::DragMove: {
        auto* e = static_cast<QDragMoveEvent*>(event);
        QTreeWidgetItem* over = tree_->itemAt(e->position().toPoint());
        auto_scroll(over);
        if (e->mimeData()->hasFormat(kMimeType) && accepts(over))
            e->acceptProposedAction();
        else
            e->ignore();
        return true;
    }
    case QEvent::DragLeave:
        return true;
    case QEvent::Drop:
        return drop(static_cast<QDropEvent*>(event));
    default:
        return false;
    }
}

} // namespace zeran
