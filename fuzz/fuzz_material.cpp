// The material file reader and the apply step on arbitrary files: every
// section must load, apply and save back without a crash.
#include "base/file_io.h"
#include "ncout/material_db.h"
#include "support/test_doubles.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path =
        "/tmp/zeran_fuzz_material_" + std::to_string(::getpid()) + ".tmf";
    std::string text(reinterpret_cast<const char*>(data), size);
    if (!zeran::write_file_atomically(path, text)) return 0;
    zeran::TMaterialDatabase db;
    db.DecimalSeparator = size > 0 && (data[0] & 1) ? ',' : '.';
    db.LoadMaterialFile(path);
    zeran::ScriptedPrompt prompt;
    for (int i = 0; i < static_cast<int>(db.Entries().size()) && i < 64; ++i) {
        db.Select(i);
        (void)db.ApplyMaterial(prompt);
        db.SetValue(i, 0, "1");
    }
    if (!db.Entries().empty()) {
        db.Rename(0, "Renamed");
        db.Delete(static_cast<int>(db.Entries().size()) - 1);
    }
    (void)db.SaveMaterials();
    return 0;
}
