// The post-processing dialog's decisions: machine list order, selection,
// library and extension defaults, the destination's extension, OK enabling.
#include "base/file_io.h"
#include "ncout/post_setup.h"
#include "support/test_doubles.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace zeran {
namespace {

namespace fs = std::filesystem;

class PostSetup : public ::testing::Test {
protected:
    fs::path dir;
    ScriptedPrompt prompt;
    IniDocument settings;
    void SetUp() override {
        dir = test::scratch_dir("zeran_post_setup");
        fs::remove_all(dir);
        fs::create_directories(dir / "own" / "Libs");
        write("own/MachData.ini", "[Turning]\nb=b.ini\nA=a.ini\nPlain=missing.ini\n");
        write("own/a.ini", "[A]\nLibrary=Libs/A.slb\nExtension=NGC\n");
        write("own/b.ini", "[b]\nExtension=NC\n");
        write("own/Libs/A.slb", "[PROLOGUE]\n");
    }
    void TearDown() override { fs::remove_all(dir); }
    void write(const std::string& rel, const std::string& text) {
        ASSERT_TRUE(write_file_atomically((dir / rel).string(), text));
    }
    std::string own() const { return (dir / "own").string(); }
};

TEST_F(PostSetup, MachinesSortedDefaultsFilledAndTheDestinationFollows) {
    TPostSetup s;
    s.Destination = (dir / "shaft.tcf").string();
    ASSERT_TRUE(s.LoadMachines(own(), settings, prompt));
    ASSERT_EQ(s.Machines.size(), 3u);
    EXPECT_EQ(s.Machines[0].name, "A");
    EXPECT_EQ(s.Machines[1].name, "b");
    EXPECT_EQ(s.MachineName(), "A");
    EXPECT_EQ(s.Library, own() + "/Libs/A.slb");
    EXPECT_EQ(s.Destination, (dir / "shaft.NGC").string());
    EXPECT_TRUE(s.OkEnabled());
    EXPECT_EQ(s.BrowseFilter(), "Turn CNC files (*.ngc)|*.NGC|Any file (*.*)|*.*");

    // A machine without a library key gets the marker library, which is missing here.
    s.SelectMachine("B"); // exact case only
    EXPECT_EQ(s.MachineName(), "A");
    s.ClickMachine(1);
    EXPECT_EQ(s.Library, own() + "/Libs/Fanucl.slb");
    EXPECT_EQ(s.Destination, (dir / "shaft.NC").string());
    EXPECT_FALSE(s.OkEnabled());
    s.ClickMachine(2); // no machine file at all: both defaults
    EXPECT_EQ(s.Extension, "FNL");

    // No folder part, or a missing folder: OK stays disabled.
    s.ClickMachine(0);
    s.SetDestination("Untitled.tcf");
    EXPECT_EQ(s.Destination, "Untitled.NGC");
    EXPECT_FALSE(s.OkEnabled());
    s.SetDestination((dir / "nowhere" / "x").string());
    EXPECT_FALSE(s.OkEnabled());

    s.SetDestination((dir / "job").string());
    EXPECT_TRUE(s.OverwriteQuestion().empty());
    write("job.NGC", "old");
    EXPECT_EQ(s.OverwriteQuestion(), "The file " + (dir / "job.NGC").string() +
                                         ", already exists.\n\nDo wish to overwrite it?");
    s.Source = "/data/ZERAN.gnc";
    IniDocument out;
    s.WritePostvexKeys(out);
    EXPECT_EQ(out.read_string("Postvex", "Source"), "/data/ZERAN.gnc");
    EXPECT_EQ(out.read_string("Postvex", "Destination"), (dir / "job.NGC").string());
    EXPECT_EQ(out.read_string("Postvex", "Machine"), "A");
}

TEST_F(PostSetup, BeginSelectsThePreviousMachineOrKeepsTheFirst) {
    TPostSetup s;
    ASSERT_TRUE(s.Begin(own(), settings, prompt, "/data/ZERAN.gnc", "/jobs/shaft.tcf", "b"));
    EXPECT_EQ(s.MachineName(), "b");
    EXPECT_EQ(s.Destination, "/jobs/shaft.NC");
    EXPECT_EQ(s.Source, "/data/ZERAN.gnc");
    ASSERT_TRUE(s.Begin(own(), settings, prompt, "/data/ZERAN.gnc", "/jobs/shaft", "Gone"));
    EXPECT_EQ(s.MachineName(), "A");
    EXPECT_EQ(s.Destination, "/jobs/shaft.NGC");
    EXPECT_EQ(s.Library, own() + "/Libs/A.slb");
}

TEST_F(PostSetup, NoMachinesIsToldAndAnotherFolderNeedsItsMarker) {
    TPostSetup s;
    fs::remove(dir / "own" / "MachData.ini");
    EXPECT_FALSE(s.LoadMachines(own(), settings, prompt));
    ASSERT_EQ(prompt.told.size(), 1u);
    EXPECT_EQ(prompt.told[0], "Unable to read any machines defined in the \"Turning\" section of " +
                                  own() + "/MachData.ini.");
    EXPECT_FALSE(s.OkEnabled());

    fs::create_directories(dir / "shop" / "Libs");
    write("shop/MachData.ini", "[Turning]\nShop=shop.ini\n");
    settings.write("Kelvard Machine Tools", "Directory", (dir / "shop").string());
    EXPECT_FALSE(s.LoadMachines(own(), settings, prompt)); // no marker: still the own folder
    write("shop/Libs/Fanucl.slb", "");
    EXPECT_TRUE(s.LoadMachines(own(), settings, prompt));
    EXPECT_EQ(s.MachineName(), "Shop");
    EXPECT_EQ(s.MachineToolsFolder, (dir / "shop").string() + "/");
    EXPECT_EQ(s.Library, (dir / "shop" / "Libs" / "Fanucl.slb").string());
}

TEST(ShippedMachines, EveryMachineHasItsLibraryAndExtension) {
    std::string data = std::string(ZERAN_SOURCE_DIR) + "/postvex/data";
    auto machines = read_machine_list(data);
    ASSERT_EQ(machines.size(), 3u);
    for (const auto& m : machines) {
        MachineData d = read_machine_data(data, m);
        EXPECT_TRUE(file_exists(d.library)) << m.name << ": " << d.library;
        EXPECT_FALSE(d.extension.empty());
    }
    EXPECT_TRUE(file_exists(data + "/Libs/Fanucl.slb"));
}

} // namespace
} // namespace zeran
