#include "ncout/material_db.h"

#include "base/ini_document.h"
#include "base/number_text.h"
#include "ncout/machine_data.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <system_error>

namespace zeran {

namespace {

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string file_part(const std::string& path) {
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

MaterialOpen TMaterialDatabase::OpenMaterialFile(const std::string& given, Prompt& prompt,
                                                 const MaterialFileChooser& choose) {
    // Paths keep their case: file names here are case-sensitive.
    std::string path = given.empty() ? DefaultPath : given;
    MaterialOpen result = MaterialOpen::Found;
    if (!file_exists(path)) {
        std::string question = "Unable to locate the material file " + path +
                               ".\n\nDo you wish to locate the material file yourself?";
        result = MaterialOpen::NotLoaded;
        if (prompt.ask(MessageKind::Confirmation, question, {Answer::Yes, Answer::No}) ==
            Answer::Yes) {
            std::string name = file_part(path);
            if (auto chosen = choose ? choose(folder_of(path), name) : std::nullopt) {
                path = *chosen;
                result = MaterialOpen::Located;
            }
        }
    }
    if (result != MaterialOpen::NotLoaded) LoadMaterialFile(path);
    return result;
}

void TMaterialDatabase::LoadMaterialFile(const std::string& path) {
    entries_.clear();
    path_ = path;
    if (auto doc = IniDocument::load(path)) {
        for (const auto& section : doc->sections()) {
            MaterialEntry e;
            e.name = section.name;
            for (const auto& kv : section.entries) {
                e.keys.push_back(kv.key);
                e.values.push_back(kv.value);
            }
            entries_.push_back(std::move(e));
        }
    }
    sort_entries();
    selected_ = entries_.empty() ? -1 : 0;
    changed_.clear();
}

void TMaterialDatabase::sort_entries() {
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const MaterialEntry& a, const MaterialEntry& b) {
                         return lower(a.name) < lower(b.name);
                     });
}

bool TMaterialDatabase::SaveMaterials(std::string* error) {
    IniDocument doc;
    if (file_exists(path_)) {
        auto loaded = IniDocument::load(path_, error);
        if (!loaded) return false; // never overwrite a file that could not be read
        doc = std::move(*loaded);
    }
    for (const auto& name : changed_) {
        if (int i = Find(name); i >= 0) {
            const auto& e = entries_[static_cast<std::size_t>(i)];
            doc.erase_section(e.name);
            for (std::size_t k = 0; k < e.keys.size(); ++k)
                doc.write(e.name, e.keys[k], e.values[k]);
        } else if (name.size() > 1 && name[0] == '_') {
            doc.erase_section(name.substr(1));
        }
    }
    return doc.save(path_, error);
}

TCycleParams TMaterialDatabase::ApplyMaterial(Prompt& prompt) const {
    TCycleParams params;
    const MaterialEntry* e = SelectedEntry();
    if (!e) return params;
    for (const auto& row : param_descriptions()) {
        double value = 0;
        auto it = std::find_if(e->keys.begin(), e->keys.end(),
                               [&](const std::string& k) { return iequals(k, row.name); });
        if (it == e->keys.end()) {
            prompt.tell(MessageKind::Warning,
                        "The following entry,\n\n[" + e->name + "]\n" + std::string(row.name) +
                            "=?\n\nis missing from the material file\n\n" + path_);
        } else {
            const std::string& text = e->values[static_cast<std::size_t>(it - e->keys.begin())];
            auto number = parse_real(text, DecimalSeparator);
            if (number && std::isfinite(*number) && std::fabs(*number) < 1e9) {
                value = *number;
            } else {
                prompt.tell(
                    MessageKind::Warning,
                    "The following entry,\n\n[" + e->name + "]\n" + std::string(row.name) + "=" +
                        text +
                        "\n\nis not a valid number and counts as 0 in the material file\n\n" +
                        path_);
            }
        }
        set_param(params, row.field, value);
    }
    params.UseCSS = false;
    params.UseFPR = false;
    return params;
}

const MaterialEntry* TMaterialDatabase::SelectedEntry() const {
    if (selected_ < 0 || selected_ >= static_cast<int>(entries_.size())) return nullptr;
    return &entries_[static_cast<std::size_t>(selected_)];
}

void TMaterialDatabase::Select(int index) {
    selected_ = index >= 0 && index < static_cast<int>(entries_.size()) ? index : -1;
}

int TMaterialDatabase::Find(const std::string& name) const {
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (iequals(entries_[i].name, name)) return static_cast<int>(i);
    return -1;
}

int TMaterialDatabase::Preselect(const std::string& name) const {
    if (name != "Inch" && name != "Metric") return Find(name);
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].name.find(name) != std::string::npos) return static_cast<int>(i);
    return -1;
}

int TMaterialDatabase::Add() {
    MaterialEntry e;
    e.name = "New Material";
    if (const MaterialEntry* from = SelectedEntry()) {
        e.keys = from->keys;
        e.values = from->values;
    } else {
        for (const auto& row : param_descriptions()) {
            e.keys.emplace_back(row.name);
            e.values.emplace_back("0");
        }
    }
    // New entries go to the end until the rename places them; the list view
    // sorts when the name is committed.
    entries_.push_back(std::move(e));
    selected_ = static_cast<int>(entries_.size()) - 1;
    return selected_;
}

TMaterialDatabase::RenameResult TMaterialDatabase::Rename(int index, const std::string& name) {
    if (index < 0 || index >= static_cast<int>(entries_.size())) return RenameResult::Empty;
    if (name.empty()) return RenameResult::Empty;
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (static_cast<int>(i) != index && iequals(entries_[i].name, name))
            return RenameResult::Duplicate;
    std::string keep = name;
    entries_[static_cast<std::size_t>(index)].name = name;
    MarkChanged(name);
    sort_entries();
    selected_ = Find(keep);
    return RenameResult::Ok;
}

std::string TMaterialDatabase::RenameMessage(RenameResult result) {
    switch (result) {
    case RenameResult::Ok:
        return {};
    case RenameResult::Empty:
        return "Material name contains no characters, please enter a valid name.";
    case RenameResult::Duplicate:
        return "Duplicate material name entered, please enter a unique name.";
    }
    return {};
}

void TMaterialDatabase::Delete(int index) {
    if (index < 0 || index >= static_cast<int>(entries_.size())) return;
    MarkChanged("_" + entries_[static_cast<std::size_t>(index)].name);
    entries_.erase(entries_.begin() + index);
    selected_ = entries_.empty() ? -1 : std::max(0, index - 1);
}

void TMaterialDatabase::SetValue(int index, std::size_t key, const std::string& value) {
    if (index < 0 || index >= static_cast<int>(entries_.size())) return;
    auto& e = entries_[static_cast<std::size_t>(index)];
    if (key >= e.values.size()) return;
    if (e.values[key] != value) MarkChanged(e.name);
    e.values[key] = value;
}

void TMaterialDatabase::MarkChanged(const std::string& name) {
    for (const auto& c : changed_)
        if (iequals(c, name)) return;
    changed_.push_back(name);
}

int LoadMaterial(TMaterialDatabase& db, std::string& path, std::string& name, TCycleParams& params,
                 Prompt& prompt, const MaterialFileChooser& choose) {
    MaterialOpen opened = db.OpenMaterialFile(path, prompt, choose);
    if (opened == MaterialOpen::NotLoaded) {
        path.clear();
        return 1;
    }
    int index = db.Find(name);
    if (index < 0) {
        name.clear();
        return 1;
    }
    db.Select(index);
    params = db.ApplyMaterial(prompt);
    path = db.Path();
    return static_cast<int>(opened);
}

bool ChooseMaterial(TMaterialDatabase& db, std::string& path, std::string& name,
                    TCycleParams& params, Prompt& prompt, const MaterialFileChooser& choose,
                    const std::function<bool(TMaterialDatabase&)>& run_dialog) {
    if (db.OpenMaterialFile(path, prompt, choose) == MaterialOpen::NotLoaded) return false;
    if (int pre = db.Preselect(name); pre >= 0) db.Select(pre);
    bool ok = run_dialog && run_dialog(db) && db.SelectedEntry();
    if (ok) {
        std::string error;
        if (!db.SaveMaterials(&error)) prompt.tell(MessageKind::Error, error);
        params = db.ApplyMaterial(prompt);
        path = db.Path();
        name = db.SelectedEntry()->name;
    }
    db.ClearChanged();
    return ok;
}

bool InstallDefaultMaterialFile(const std::string& shipped, const std::string& default_path) {
    if (file_exists(default_path)) return true;
    std::error_code ec;
    std::string folder = folder_of(default_path);
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);
    return std::filesystem::copy_file(shipped, default_path, ec) && !ec;
}

} // namespace zeran
