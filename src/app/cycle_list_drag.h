#pragma once
// Reordering the cycle list by dragging: a selected cycle row is dragged onto
// another top-level row (not the header) and dropped before it; dropping on
// the footer moves it to the end. Near the edges the list scrolls by a row.
#include <QObject>
#include <QPoint>
#include <functional>

class QDropEvent;
class QTreeWidget;
class QTreeWidgetItem;

namespace zeran {

class CycleListDrag : public QObject {
    Q_OBJECT
public:
    // The rows the drag carries, as a drop reads them.
    static constexpr const char* kMimeType = "application/x-zeran-cycle-row";

    explicit CycleListDrag(QTreeWidget* tree);

    // Called with the dragged row and the row it goes before (both top-level
    // indexes; the last row is the footer).
    std::function<void(int from, int before)> on_drop;
    // False while the list may not change (busy).
    std::function<bool()> allowed;

    // A row the dragged cycle may be dropped on.
    bool accepts(const QTreeWidgetItem* target) const;
    // Scrolls one row when `over` is at the bottom or top edge of the list.
    void auto_scroll(QTreeWidgetItem* over);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool is_cycle_row(const QTreeWidgetItem* item) const;
    void start(QTreeWidgetItem* item);
    bool drop(QDropEvent* e);

    QTreeWidget* tree_;
    QPoint press_at_;
    QTreeWidgetItem* pressed_ = nullptr;
};

} // namespace zeran
