#pragma once
// The material database behind the material dialog: the material file's
// sections with their keys and values, the edits made to them, saving only
// what changed, and turning a material into a default parameter record.
#include "base/prompt.h"
#include "cycles/cycle_params.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zeran {

struct MaterialEntry {
    std::string name;
    std::vector<std::string> keys;   // in file order
    std::vector<std::string> values; // same order as keys
};

// Asks the user for a material file: (folder, file name) -> chosen path.
using MaterialFileChooser =
    std::function<std::optional<std::string>(const std::string& folder, const std::string& name)>;

enum class MaterialOpen { Found = 0, NotLoaded = 1, Located = 2 };

class TMaterialDatabase {
public:
    // Used when the caller gives no path: the settings file with ".tmf".
    std::string DefaultPath;
    char DecimalSeparator = '.';

    // The existing file is loaded (Found); a missing one is offered to the
    // chooser after the locate question (Located), or nothing is loaded.
    MaterialOpen OpenMaterialFile(const std::string& path, Prompt& prompt,
                                  const MaterialFileChooser& choose);
    // Reads every section; a missing or unreadable file gives an empty list.
    void LoadMaterialFile(const std::string& path);
    // Writes the changed materials and erases the deleted ones; false with
    // *error when the file cannot be written (the old file stays).
    bool SaveMaterials(std::string* error = nullptr);

    // The material record for the selected entry. A missing key and a value
    // that is not a number each give one message and count as 0.
    TCycleParams ApplyMaterial(Prompt& prompt) const;

    const std::string& Path() const { return path_; }
    const std::vector<MaterialEntry>& Entries() const { return entries_; }
    const std::vector<std::string>& Changed() const { return changed_; }
    int Selected() const { return selected_; }
    const MaterialEntry* SelectedEntry() const;
    void Select(int index);
    // The entry of that name without regard to case, or -1.
    int Find(const std::string& name) const;
    // "Metric" or "Inch": the first entry whose name contains that word;
    // any other name: the entry of exactly that name. -1 when none.
    int Preselect(const std::string& name) const;

    // Edits as the dialog makes them.
    int Add(); // "New Material", a copy of the selected one or all 19 keys at "0"
    enum class RenameResult { Ok, Empty, Duplicate };
    RenameResult Rename(int index, const std::string& name);
    static std::string RenameMessage(RenameResult result);
    void Delete(int index);
    void SetValue(int index, std::size_t key, const std::string& value);
    void MarkChanged(const std::string& name);
    void ClearChanged() { changed_.clear(); }

private:
    std::string path_;
    std::vector<MaterialEntry> entries_;
    std::vector<std::string> changed_;
    int selected_ = -1;

    void sort_entries();
};

// Loads the named material from the file, asking for the file when it is
// missing. 0: loaded from the given file, 1: nothing loaded (the path is
// cleared when the file was not found, the name when the material was not),
// 2: loaded from a file the user located.
int LoadMaterial(TMaterialDatabase& db, std::string& path, std::string& name, TCycleParams& params,
                 Prompt& prompt, const MaterialFileChooser& choose);

// The dialog's steps around its modal run: `run_dialog` shows the database
// with the preselected entry and returns true for OK. On OK the changes are
// saved and the selected material applied.
bool ChooseMaterial(TMaterialDatabase& db, std::string& path, std::string& name,
                    TCycleParams& params, Prompt& prompt, const MaterialFileChooser& choose,
                    const std::function<bool(TMaterialDatabase&)>& run_dialog);

// Copies the shipped material file to `default_path` when none is there yet.
bool InstallDefaultMaterialFile(const std::string& shipped, const std::string& default_path);

} // namespace zeran
