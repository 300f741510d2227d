#pragma once
// The hint shown while the pointer rests on a cycle's Parameters node: the
// cycle's state and parameter values, what is missing in red.
#include "view/param_hint_text.h"

#include <QRect>
#include <QTimer>
#include <QWidget>

namespace zeran {

class TParamControls;

class TParamHint : public QWidget {
    Q_OBJECT
public:
    explicit TParamHint(QWidget* parent = nullptr);

    // `node` identifies the tree node, `params` is its object; (x, y) is the
    // screen point under the node, `node_width` its display width. The same
    // node again changes nothing; another is shown after 500 ms.
    // `trouble`: why the cycle has no tool path, or empty.
    void ShowParamHint(int x, int y, const void* node, TParamControls& params, int node_width,
                       const std::string& trouble = {});
    // Shows or removes the hint at once.
    void SetHintWanted(bool wanted);
    bool HintShowing() const { return isVisible(); }

    const ParamHintText& hint() const { return hint_; }
    const QRect& hint_rect() const { return rect_; }
    bool timer_running() const { return timer_.isActive(); }
    const void* current_node() const { return node_; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void tick();
    QStringList shown_lines() const;

    ParamHintText hint_;
    const void* node_ = nullptr;
    QRect rect_;
    bool wanted_ = false;
    QTimer timer_;
};

} // namespace zeran
