#pragma once
// A small editor for the tool magazine file that ZERAN reads: one row per
// slot with number, description, type, tip size, width or diameter, length,
// nose radius and orientation.
#include "simulator/core/tool_table.h"

#include <QDialog>
#include <string>

class QTableWidget;

namespace simvo {

class ToolEditor : public QDialog {
    Q_OBJECT
public:
    ToolEditor(const std::string& tool_file, int slot_count, QWidget* parent = nullptr);

    // The table as the rows show it; a cell that is not a number refuses it.
    bool read_rows(std::vector<ToolEntry>& out, QString& error) const;
    QTableWidget* table() const { return table_; }

private:
    void save();
    std::string file_;
    QTableWidget* table_ = nullptr;
};

} // namespace simvo
