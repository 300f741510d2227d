#pragma once
// The project file (.tcf): an INI-style text beside the converted drawing
// (.tdx). Elements are referred to by their place in the selection lists.
#include <stdexcept>
#include <string>

namespace zeran {

class DXF_Entity;
class ProjectModel;

class ProjectFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ProjectReadOptions {
    // Reals in the project file use this decimal separator (a full stop is
    // always accepted when reading).
    char separator = '.';
    // A project found with only its .dxf gets a .tdx written beside it unless
    // the run must not write anything (batch runs).
    bool write_missing_tdx = true;
    // Refusals are told through the model's prompt as well as returned.
    bool tell_prompt = true;
};

// Writes the drawing to the .tdx beside `file_name`, then the project, each
// beside its old file and renamed over it when complete. Throws
// ProjectFileError with the reason when either cannot be written.
void WriteProjectFile(ProjectModel& model, const std::string& file_name, char separator = '.');

// Reads into a fresh model and swaps it in only when the whole file was
// understood; otherwise the model stays as it was and *error (when given)
// holds the one message that says what is wrong.
bool ReadProjectFile(ProjectModel& model, const std::string& file_name,
                     const ProjectReadOptions& options = {}, std::string* error = nullptr);

// What the project file holds, without its name, in a fixed form: two
// models hold the same document exactly when their texts are equal.
std::string ProjectText(const ProjectModel& model);

// Puts the document `text` (from ProjectText) into `model`, keeping its
// drawing, file name and settings. False with *error set when the text does
// not fit the drawing; the model then stays as it was.
bool RestoreProjectText(ProjectModel& model, const std::string& text, std::string* error = nullptr);

// "0_<group>_<position>" of an element copy, or "" when it is not in the selection lists.
std::string MakeEntityRef(const ProjectModel& model, const DXF_Entity* element);
// The element a reference names, or null when the lists do not hold it.
DXF_Entity* ResolveEntityRef(const ProjectModel& model, const std::string& ref);

std::string file_name_part(const std::string& path);

} // namespace zeran
