// The material file: the shipped materials, saving only what changed, applying
// with missing and broken values, locating a missing file, choosing.
#include "base/file_io.h"
#include "base/ini_document.h"
#include "ncout/material_db.h"
#include "support/test_doubles.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace zeran {
namespace {

namespace fs = std::filesystem;

const std::string kShipped = std::string(ZERAN_SOURCE_DIR) + "/examples/ZERAN.tmf";

class MaterialFile : public ::testing::Test {
protected:
    fs::path dir;
    std::string path;
    TMaterialDatabase db;
    ScriptedPrompt prompt;

    void SetUp() override {
        dir = test::scratch_dir("zeran_material");
        fs::remove_all(dir);
        fs::create_directories(dir);
        path = (dir / "shop.tmf").string();
        fs::copy_file(kShipped, path);
    }
    void TearDown() override { fs::remove_all(dir); }
};

TEST_F(MaterialFile, ShippedMaterialsAreCompleteAndSensible) {
    db.LoadMaterialFile(kShipped);
    ASSERT_EQ(db.Entries().size(), 10u);
    for (const char* m : {"Mild Steel", "Stainless Steel", "Aluminium", "Brass", "Acetal"}) {
        for (int inch = 0; inch < 2; ++inch) {
            std::string name = std::string(m) + (inch ? " (Inch)" : " (Metric)");
            SCOPED_TRACE(name);
            int i = db.Find(name);
            ASSERT_GE(i, 0);
            EXPECT_EQ(db.Entries()[static_cast<std::size_t>(i)].keys.size(), 19u);
            db.Select(i);
            TCycleParams p = db.ApplyMaterial(prompt);
            EXPECT_EQ(p.Units, inch);
            EXPECT_GT(p.Feed, 0);
            EXPECT_GT(p.Speed, 0);
            EXPECT_GT(p.DepthCutX, p.AllowanceX);
            EXPECT_LT(p.MinCut, p.DepthFirst);
            EXPECT_LT(p.DepthFirst, p.DepthThread);
            EXPECT_NEAR(p.DepthThread / p.Pitch, 0.613, 0.01); // ISO thread height
            EXPECT_EQ(p.TipAngle, 60);
            EXPECT_TRUE(p.Chamfer >= 1 && p.Chamfer <= 99);
            EXPECT_FALSE(p.UseCSS || p.UseFPR);
            // An inch feed is about the metric one over 25.4.
            EXPECT_LT(p.Feed, inch ? 0.02 : 0.5);
        }
    }
    EXPECT_TRUE(prompt.told.empty());
    // "Metric" from a large drawing's import picks the first metric material.
    EXPECT_EQ(db.Entries()[static_cast<std::size_t>(db.Preselect("Metric"))].name,
              "Acetal (Metric)");
    EXPECT_EQ(db.Preselect("metric"), -1);
    EXPECT_EQ(db.Entries()[static_cast<std::size_t>(db.Preselect("brass (inch)"))].name,
              "Brass (Inch)");
}

TEST_F(MaterialFile, SavingWritesOnlyWhatChangedAndErasesTheDeleted) {
    db.LoadMaterialFile(path);
    auto before = IniDocument::load(path);
    int brass = db.Find("Brass (Metric)");
    db.SetValue(brass, 1, "0.22");
    db.SetValue(brass, 2, "1300"); // unchanged: not an edit
    db.Delete(db.Find("Acetal (Inch)"));
    db.Select(db.Find("Aluminium (Metric)"));
    int added = db.Add();
    EXPECT_EQ(db.Entries()[static_cast<std::size_t>(added)].values,
              db.Entries()[static_cast<std::size_t>(db.Find("Aluminium (Metric)"))].values);
    EXPECT_EQ(db.Rename(added, "aluminium (metric)"), TMaterialDatabase::RenameResult::Duplicate);
    EXPECT_EQ(db.Rename(added, ""), TMaterialDatabase::RenameResult::Empty);
    EXPECT_EQ(db.Rename(added, "Copper (Metric)"), TMaterialDatabase::RenameResult::Ok);
    db.SetValue(db.Find("Copper (Metric)"), 2, "700");
    EXPECT_EQ(db.Rename(db.Find("Brass (Inch)"), "Brass2"), TMaterialDatabase::RenameResult::Ok);
    EXPECT_EQ(db.Changed(), (std::vector<std::string>{"Brass (Metric)", "_Acetal (Inch)",
                                                      "Copper (Metric)", "Brass2"}));
    ASSERT_TRUE(db.SaveMaterials());

    auto after = IniDocument::load(path);
    ASSERT_TRUE(after);
    EXPECT_FALSE(after->has_section("Acetal (Inch)"));
    EXPECT_TRUE(after->has_section("Brass (Inch)")); // a rename leaves the old section
    EXPECT_EQ(after->read_string("Brass2", "Feed rate"), "0.01");
    EXPECT_EQ(after->read_string("Brass (Metric)", "Feed rate"), "0.22");
    EXPECT_EQ(after->read_string("Copper (Metric)", "Spindle Speed"), "700");
    EXPECT_EQ(after->read_string("Aluminium (Metric)", "Spindle Speed"), "2000");
    // Untouched sections are exactly as they were, in their old order.
    for (const char* s : {"Mild Steel (Metric)", "Stainless Steel (Inch)", "Acetal (Metric)"})
        EXPECT_EQ(after->key_names(s), before->key_names(s)) << s;
    EXPECT_EQ(after->section_names().front(), "Mild Steel (Metric)");

    // Deleting everything leaves nothing selected.
    db.LoadMaterialFile(path);
    while (!db.Entries().empty()) db.Delete(0);
    EXPECT_EQ(db.Selected(), -1);
    EXPECT_EQ(db.SelectedEntry(), nullptr);
    EXPECT_EQ(db.ApplyMaterial(prompt), TCycleParams{});
}

TEST_F(MaterialFile, MissingKeysAndBrokenValuesAreReportedAndCountAsZero) {
    write_file_atomically(path, "[Odd]\r\nUnits=1\r\nFeed=0.3\r\nSpindle Speed=abc\r\n"
                                "Depth of cut in X=1,5\r\nNumber of repeats=2.6\r\n"
                                "Thread tip angle=1e300\r\n");
    db.DecimalSeparator = ',';
    db.LoadMaterialFile(path);
    TCycleParams p = db.ApplyMaterial(prompt);
    EXPECT_EQ(p.Units, 1);
    EXPECT_EQ(p.Feed, 0); // "Feed" is not "Feed rate"
    EXPECT_EQ(p.Speed, 0);
    EXPECT_EQ(p.DepthCutX, 1.5);
    EXPECT_EQ(p.Repeats, 3);
    EXPECT_EQ(p.TipAngle, 0);
    // 5 of the 19 keys given, 2 of them broken: 14 missing and 2 broken.
    ASSERT_EQ(prompt.told.size(), 16u);
    EXPECT_EQ(prompt.told[0], "The following entry,\n\n[Odd]\nFeed rate=?\n\nis missing from "
                              "the material file\n\n" +
                                  path);
    EXPECT_NE(prompt.told[1].find("[Odd]\nSpindle Speed=abc"), std::string::npos);
    EXPECT_NE(prompt.told[1].find("counts as 0"), std::string::npos);
}

TEST_F(MaterialFile, AMissingFileCanBeLocatedOrLeftAlone) {
    std::string missing = (dir / "Gone.tmf").string();
    std::string asked_folder, asked_name;
    MaterialFileChooser chooser = [&](const std::string& folder, const std::string& name) {
        asked_folder = folder;
        asked_name = name;
        return std::optional<std::string>(path);
    };
    // No: nothing loaded, the caller's path cleared.
    std::string p = missing, name = "Brass (Metric)";
    TCycleParams params;
    params.Feed = 7;
    prompt.answers = {Answer::No};
    EXPECT_EQ(LoadMaterial(db, p, name, params, prompt, chooser), 1);
    EXPECT_TRUE(p.empty());
    EXPECT_EQ(params.Feed, 7);
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0], "Unable to locate the material file " + missing +
                                   ".\n\nDo you wish to locate the material file yourself?");
    // Yes: the chosen file is loaded and reported as located.
    p = missing;
    prompt.answers = {Answer::Yes};
    EXPECT_EQ(LoadMaterial(db, p, name, params, prompt, chooser), 2);
    EXPECT_EQ(asked_folder, dir.string());
    EXPECT_EQ(asked_name, "Gone.tmf");
    EXPECT_EQ(p, path);
    EXPECT_EQ(params.Speed, 1300);
    // The file is there but the material is not: the name is cleared.
    name = "Unobtainium";
    params = {};
    EXPECT_EQ(LoadMaterial(db, p, name, params, prompt, chooser), 1);
    EXPECT_TRUE(name.empty());
    EXPECT_EQ(params, TCycleParams{});
    // The default path stands in for an empty one; paths keep their case.
    db.DefaultPath = path;
    std::string none;
    name = "BRASS (METRIC)";
    EXPECT_EQ(LoadMaterial(db, none, name, params, prompt, chooser), 0);
    EXPECT_EQ(none, path);
}

TEST_F(MaterialFile, ChoosingSavesOnOkOnlyAndASaveFailureKeepsTheFile) {
    std::string p = path, name = "Inch";
    TCycleParams params;
    bool ok = ChooseMaterial(db, p, name, params, prompt, nullptr, [](TMaterialDatabase& d) {
        EXPECT_EQ(d.SelectedEntry()->name, "Acetal (Inch)");
        d.SetValue(d.Selected(), 1, "0.009");
        return false; // Cancel
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(IniDocument::load(path)->read_string("Acetal (Inch)", "Feed rate"), "0.008");
    EXPECT_TRUE(db.Changed().empty());

    ok = ChooseMaterial(db, p, name, params, prompt, nullptr, [](TMaterialDatabase& d) {
        d.SetValue(d.Selected(), 1, "0.009");
        return true;
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(name, "Acetal (Inch)");
    EXPECT_EQ(params.Feed, 0.009);
    EXPECT_EQ(params.Units, 1);
    EXPECT_EQ(IniDocument::load(path)->read_string("Acetal (Inch)", "Feed rate"), "0.009");

    // A file that vanished into a missing folder cannot be saved; nothing else breaks.
    db.LoadMaterialFile((dir / "no" / "such.tmf").string());
    db.Add();
    std::string error;
    EXPECT_FALSE(db.SaveMaterials(&error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(db.Entries().size(), 1u);

    std::string fresh = (dir / "cfg" / "ZERAN.tmf").string();
    EXPECT_TRUE(InstallDefaultMaterialFile(kShipped, fresh));
    EXPECT_EQ(*read_file(fresh), *read_file(kShipped));
}

} // namespace
} // namespace zeran
