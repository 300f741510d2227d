#include "tool_editor.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace simvo {

namespace {

enum Column { Description, Type, TipSize, Diameter, Length, NoseRadius, Orientation, Columns };

QString number(double v) {
    return v == 0 ? QString() : QString::number(v, 'g', 15);
}

} // namespace

ToolEditor::ToolEditor(const std::string& tool_file, int slot_count, QWidget* parent)
    : QDialog(parent), file_(tool_file) {
    setWindowTitle(tr("Tool Library"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromStdString(tool_file), this));
    table_ = new QTableWidget(slot_count, Columns, this);
    table_->setHorizontalHeaderLabels({tr("Description"), tr("Type"), tr("Tip size"),
                                       tr("Width / diameter"), tr("Length"), tr("Nose radius"),
                                       tr("Orientation")});
    table_->horizontalHeader()->setSectionResizeMode(Description, QHeaderView::Stretch);
    layout->addWidget(table_);
    std::vector<ToolEntry> tools;
    std::string error;
    if (!load_tool_table(tool_file, slot_count, tools, &error))
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(error));
    for (int r = 0; r < slot_count; ++r) {
        const ToolEntry t =
            r < static_cast<int>(tools.size()) ? tools[std::size_t(r)] : ToolEntry{};
        table_->setVerticalHeaderItem(r, new QTableWidgetItem(QString::number(r + 1)));
        const QString cells[Columns] = {QString::fromStdString(t.description),
                                        t.type ? QString::number(t.type) : QString(),
                                        number(t.tip_size),
                                        number(t.diameter),
                                        number(t.length),
                                        number(t.nose_radius),
                                        t.orientation ? QString::number(t.orientation) : QString()};
        for (int c = 0; c < Columns; ++c) table_->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { save(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(760, 520);
}

bool ToolEditor::read_rows(std::vector<ToolEntry>& out, QString& error) const {
    out.clear();
    for (int r = 0; r < table_->rowCount(); ++r) {
        auto text = [&](int c) {
            return table_->item(r, c) ? table_->item(r, c)->text().trimmed() : QString();
        };
        auto real = [&](int c, double& v) {
            const QString s = text(c);
            bool ok = true;
            v = s.isEmpty() ? 0 : s.toDouble(&ok);
            if (!ok || v < 0) error = tr("Slot %1: \"%2\" is not a length.").arg(r + 1).arg(s);
            return ok && v >= 0;
        };
        auto whole = [&](int c, int& v) {
            const QString s = text(c);
            bool ok = true;
            v = s.isEmpty() ? 0 : s.toInt(&ok);
            if (!ok || v < 0)
                error = tr("Slot %1: \"%2\" is not a whole number.").arg(r + 1).arg(s);
            return ok && v >= 0;
        };
        ToolEntry t;
        t.description = text(Description).toStdString();
        if (!whole(Type, t.type) || !real(TipSize, t.tip_size) || !real(Diameter, t.diameter) ||
            !real(Length, t.length) || !real(NoseRadius, t.nose_radius) ||
            !whole(Orientation, t.orientation))
            return false;
        out.push_back(t);
    }
    return true;
}

void ToolEditor::save() {
    std::vector<ToolEntry> tools;
    QString problem;
    if (!read_rows(tools, problem)) {
        QMessageBox::warning(this, windowTitle(), problem);
        return;
    }
    std::string error;
    if (!save_tool_table(file_, tools, &error)) {
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(error));
        return;
    }
    accept();
}

} // namespace simvo
