#include "geometry/file_io.h"
#include "project/gnc_types.h"

namespace zeran {

bool write_gnc_file(TGNCOutput& writer, const std::string& path, char separator,
                    std::string* error) {
    writer.FileName = path;
    return write_file_atomically(path, writer.Text(separator), error);
}

} // namespace zeran
