// Saving and reading projects: round trips keep every field, and a file that
// cannot be understood is refused without touching the project in memory.
#include "base/file_io.h"
#include "base/ini_document.h"
#include "cycles/can_cycle.h"
#include "cycles/kind_description.h"
#include "cycles/param_controls.h"
#include "cycles/tool_control.h"
#include "geometry/point_entities.h"
#include "geometry/polyline.h"
#include "ncout/gnc_writer.h"
#include "project/project_file.h"
#include "project/project_model.h"
#include "support/test_doubles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace zeran {
namespace {

namespace fs = std::filesystem;

// A stepped shaft outline on layer PART: face, OD, shoulder, OD, back face, plus a fillet arc.
const char* kDrawing =
    "0\r\nSECTION\r\n2\r\nENTITIES\r\n"
    "0\r\nLINE\r\n8\r\nPART\r\n10\r\n0\r\n20\r\n0\r\n11\r\n0\r\n21\r\n10\r\n"
    "0\r\nLINE\r\n8\r\nPART\r\n10\r\n0\r\n20\r\n10\r\n11\r\n-20\r\n21\r\n10\r\n"
    "0\r\nLINE\r\n8\r\nPART\r\n10\r\n-20\r\n20\r\n10\r\n11\r\n-20\r\n21\r\n12\r\n"
    "0\r\nLINE\r\n8\r\nPART\r\n10\r\n-23\r\n20\r\n15\r\n11\r\n-40\r\n21\r\n15\r\n"
    "0\r\nLINE\r\n8\r\nPART\r\n10\r\n-40\r\n20\r\n15\r\n11\r\n-40\r\n21\r\n-5\r\n"
    "0\r\nARC\r\n8\r\nPART\r\n10\r\n-23\r\n20\r\n12\r\n40\r\n3\r\n50\r\n90\r\n51\r\n180\r\n"
    "0\r\nENDSEC\r\n0\r\nEOF\r\n";

class ProjectFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("zeran_prj_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
        dxf = (dir / "part.dxf").string();
        std::ofstream(dxf, std::ios::binary) << kDrawing;
    }
    void TearDown() override { fs::remove_all(dir); }

    // A project with a datum, billet, material and two cycles with profiles.
    void build(ProjectModel& m) {
        ASSERT_TRUE(m.LoadDrawing(dxf));
        m.SetDatumFromPoint({0, 0, 0});
        m.SetBillet(45, 17);
        m.material_name = "Brass (Metric)";
        m.machine_name = "LinuxCNC Lathe";
        m.post_out_directory = "/tmp/out";
        m.header.header->Author = "A. Turner";
        m.header.header->Date = 45123.5;

        CycleNode& rough = m.AddCycle(CycleKind::AlongX);
        m.SetComment(rough, "outside");
        for (int i : {1, 2})
            m.AddToProfile(rough, (*m.selection)[0]->at(static_cast<std::size_t>(i)), false);
        m.AddToProfile(rough, (*m.selection)[1]->at(0), false);
        m.AddToProfile(rough, (*m.selection)[0]->at(3), false);
        rough.tool->ToolNumber = 3;
        rough.tool->ToolWidth = 0.8;
        rough.tool->ToolLength = 42.5;
        rough.params->StartX = 18;
        rough.params->StartZ = 2;
        rough.params->SetControl(ParamField::Feed, 0.25);
        rough.params->SetControl(ParamField::Speed, 1100);
        rough.params->SetControl(ParamField::UseFPR, 1);
        rough.params->SetControl(ParamField::DepthCutX, 1.5);
        rough.params->SetControl(ParamField::RetractX, 0.5);
        rough.params->SetControl(ParamField::AllowanceX, 0.2);

        CycleNode& finish = m.AddCycle(CycleKind::Finishing);
        finish.state_index = kStateUnchecked;
        m.AddToProfile(finish, (*m.selection)[0]->at(1), false);
        finish.params->StartX = 18;
        finish.params->StartZ = 2;
        finish.params->UseBillet = true;
        finish.params->SetControl(ParamField::Feed, 0.1);
        finish.params->SetControl(ParamField::Speed, 1500);
    }

    fs::path dir;
    std::string dxf;
    ScriptedPrompt prompt;
};

TEST_F(ProjectFileTest, SaveAndReadKeepEveryField) {
    ProjectModel a(prompt);
    build(a);
    // Leave one element out of the drawing: it must stay out after reading.
    a.ToggleTreeNode(5);
    const std::string tcf = (dir / "part.tcf").string();
    WriteProjectFile(a, tcf);
    EXPECT_TRUE(fs::exists(dir / "part.tdx"));
    EXPECT_FALSE(a.IsModified());

    ProjectModel b(prompt);
    std::string error;
    ASSERT_TRUE(ReadProjectFile(b, tcf, {}, &error)) << error;
    EXPECT_TRUE(b.datum_set);
    EXPECT_EQ(b.datum_x, 0);
    EXPECT_EQ(b.billet_edit_l, 45);
    EXPECT_EQ(b.billet_edit_r, 17);
    EXPECT_TRUE(b.billet_defined);
    EXPECT_EQ(b.material_name, "Brass (Metric)");
    EXPECT_EQ(b.machine_name, "LinuxCNC Lathe");
    EXPECT_EQ(b.post_out_directory, "/tmp/out");
    EXPECT_EQ(b.header.header->Author, "A. Turner");
    EXPECT_DOUBLE_EQ(b.header.header->Date, 45123.5);
    EXPECT_EQ(b.header.header->ProjectName, "part.tcf");
    EXPECT_EQ(b.header.header->BilletLength, 45);
    EXPECT_FALSE(b.IsModified());

    // Tree states come back node for node.
    auto na = a.tree.nodes_in_order();
    auto nb = b.tree.nodes_in_order();
    ASSERT_EQ(na.size(), nb.size());
    // The root is named after the file read (.dxf, then .tdx); the rest must agree.
    for (std::size_t i = 1; i < na.size(); ++i) {
        EXPECT_EQ(na[i]->caption, nb[i]->caption) << i;
        EXPECT_EQ(na[i]->state_index, nb[i]->state_index) << na[i]->caption;
    }

    ASSERT_EQ(b.cycles.size(), 2u);
    for (std::size_t c = 0; c < 2; ++c) {
        const CycleNode& x = *a.cycles[c];
        const CycleNode& y = *b.cycles[c];
        EXPECT_EQ(x.kind(), y.kind());
        EXPECT_EQ(x.caption, y.caption);
        EXPECT_EQ(x.state_index, y.state_index);
        EXPECT_EQ(x.cycle->Comment, y.cycle->Comment);
        EXPECT_EQ(x.tool->ToolNumber, y.tool->ToolNumber);
        EXPECT_EQ(x.tool->ToolWidth, y.tool->ToolWidth);
        EXPECT_EQ(x.tool->ToolLength, y.tool->ToolLength);
        EXPECT_EQ(x.params->StartX, y.params->StartX);
        EXPECT_EQ(x.params->StartZ, y.params->StartZ);
        EXPECT_EQ(x.params->UseBillet, y.params->UseBillet);
        EXPECT_EQ(x.params->Controls(), y.params->Controls());
        ASSERT_EQ(x.points.count(), y.points.count());
        for (int i = 0; i < x.points.count(); ++i) {
            const auto* ex = x.points.items[static_cast<std::size_t>(i)].element;
            const auto* ey = y.points.items[static_cast<std::size_t>(i)].element;
            EXPECT_EQ(ex->start_point(), ey->start_point());
            EXPECT_EQ(ex->end_point(), ey->end_point());
            EXPECT_EQ(x.points.items[static_cast<std::size_t>(i)].text,
                      y.points.items[static_cast<std::size_t>(i)].text);
        }
    }
    EXPECT_EQ(b.cycles[0]->caption, "Along X (outside)");

    // Saving what was read gives the same file again.
    const std::string again = (dir / "again.tcf").string();
    fs::copy_file(dir / "part.tdx", dir / "again.tdx");
    WriteProjectFile(b, again);
    auto t1 = read_file(tcf);
    auto t2 = read_file(again);
    ASSERT_TRUE(t1 && t2);
    std::string expected = *t1;
    expected.replace(expected.find("part.tdx"), 8, "again.tdx");
    expected.replace(expected.find("Project=part.tcf"), 16, "Project=again.tcf");
    EXPECT_EQ(*t2, expected);
}

TEST_F(ProjectFileTest, EveryKindsProfileTakesWhatItsRuleAllows) {
    ProjectModel m(prompt);
    ASSERT_TRUE(m.LoadDrawing(dxf));
    m.SetDatumFromPoint({0, 0, 0});
    for (const CycleKindDescription& d : cycle_kind_descriptions()) {
        CycleNode& c = m.AddCycle(d.kind);
        EXPECT_TRUE(m.AddToProfile(c, (*m.selection)[0]->at(1), false)) << d.short_name;
        EXPECT_EQ(m.AddToProfile(c, (*m.selection)[0]->at(2), false),
                  d.profile != ProfileRule::OneElement)
            << d.short_name;
        EXPECT_EQ(m.AddToProfile(c, (*m.selection)[1]->at(0), false),
                  d.profile == ProfileRule::AnyElements)
            << d.short_name;
    }
}

TEST_F(ProjectFileTest, FileLayoutAndOlderStartPointForm) {
    ProjectModel a(prompt);
    build(a);
    const std::string tcf = (dir / "part.tcf").string();
    WriteProjectFile(a, tcf);
    auto ini = IniDocument::load(tcf);
    ASSERT_TRUE(ini);
    EXPECT_EQ(ini->section_names(), (std::vector<std::string>{"DXF", "Material", "Machine",
                                                              "Header", "Cycle1", "Cycle2"}));
    EXPECT_EQ(ini->read_string("DXF", "PART"), "1");
    EXPECT_EQ(ini->read_string("DXF", "PART_LINES"), "2");
    EXPECT_EQ(ini->read_string("DXF", "PART_LINE 1"), "3");
    EXPECT_EQ(ini->read_string("Cycle1", "Entity_2"), "0_1_0");
    EXPECT_FALSE(ini->has_key("Material", "File")) << "the default material file is not written";
    const auto keys = ini->key_names("Cycle1");
    EXPECT_EQ(std::vector<std::string>(keys.begin(), keys.begin() + 3),
              (std::vector<std::string>{"CycleType", "Checked", "Comment"}));

    // The older form: absolute drawing positions, the datum taken off; tool 0 reads as 1.
    ini->erase_key("Cycle1", "Param_StartPosZ");
    ini->write("Cycle1", "Param_StartPosY", "12.5");
    ini->write("Cycle1", "Param_StartPosX", "40");
    ini->write("DXF", "Datun_x", "30");
    ini->write("DXF", "Datun_y", "0");
    ini->write("Cycle1", "Tool_Number", "0");
    // A gap in the numbering ends the cycle list.
    ini->erase_section("Cycle2");
    ini->write("Cycle3", "CycleType", "3");
    ASSERT_TRUE(ini->save(tcf));
    ProjectModel b(prompt);
    std::string error;
    ASSERT_TRUE(ReadProjectFile(b, tcf, {}, &error)) << error;
    ASSERT_EQ(b.cycles.size(), 1u);
    EXPECT_DOUBLE_EQ(b.cycles[0]->params->StartX, 12.5);
    EXPECT_DOUBLE_EQ(b.cycles[0]->params->StartZ, 10);
    EXPECT_EQ(b.cycles[0]->tool->ToolNumber, 1);
}

TEST_F(ProjectFileTest, NoseAndCompensationAreKeptAndWrittenOnlyWhenSet) {
    ProjectModel a(prompt);
    build(a);
    const std::string tcf = (dir / "part.tcf").string();
    WriteProjectFile(a, tcf);
    const std::string plain = *read_file(tcf);
    for (const char* key : {"\nTool_Nose_Radius=", "\nTool_Orientation=", "\nCompensation="})
        EXPECT_EQ(plain.find(key), std::string::npos) << key;

    CycleNode& rough = *a.cycles[0];
    rough.tool->NoseRadius = 0.8;
    rough.tool->NoseOrientation = 2;
    rough.params->SetControl(ParamField::Compensation, 1);
    a.cycles[1]->params->SetControl(ParamField::Compensation, 2);
    WriteProjectFile(a, tcf);
    const std::string text = *read_file(tcf);
    EXPECT_NE(text.find("Tool_Nose_Radius=0.8\r\nTool_Orientation=2\r\n"), std::string::npos);
    EXPECT_NE(text.find("Compensation=1"), std::string::npos);
    EXPECT_NE(text.find("Compensation=2"), std::string::npos);

    ProjectModel b(prompt);
    std::string error;
    ASSERT_TRUE(ReadProjectFile(b, tcf, {}, &error)) << error;
    EXPECT_EQ(b.cycles[0]->tool->NoseRadius, 0.8);
    EXPECT_EQ(b.cycles[0]->tool->NoseOrientation, 2);
    EXPECT_EQ(b.cycles[0]->params->Controls().NoseCompensationMode(), NoseCompensation::InProgram);
    EXPECT_EQ(b.cycles[1]->params->Controls().NoseCompensationMode(), NoseCompensation::InControl);
    EXPECT_EQ(b.cycles[1]->tool->NoseRadius, 0);
    // The generator gets the nose with the tool.
    EXPECT_EQ(b.cycles[0]->cycle->NoseRadius, 0.8);
    EXPECT_EQ(b.cycles[0]->params->ReadRecord().Compensation, 1);

    // Values no tool or cycle can have refuse the file with the key named.
    struct Damage {
        std::string from, to, says;
    };
    const std::vector<Damage> damages = {
        {"Tool_Nose_Radius=0.8", "Tool_Nose_Radius=-0.8", "Tool_Nose_Radius = -0.8 is outside"},
        {"Tool_Nose_Radius=0.8", "Tool_Nose_Radius=round", "Tool_Nose_Radius"},
        {"Tool_Orientation=2", "Tool_Orientation=12", "Tool_Orientation = 12"},
        {"Compensation=1", "Compensation=7", "Compensation = 7 is not a compensation"},
        {"Compensation=2", "Compensation=left", "Compensation"},
    };
    for (const Damage& d : damages) {
        std::string damaged = text;
        damaged.replace(damaged.find(d.from), d.from.size(), d.to);
        ASSERT_TRUE(write_file_atomically(tcf, damaged));
        ProjectModel c(prompt);
        EXPECT_FALSE(ReadProjectFile(c, tcf, {}, &error)) << d.to;
        EXPECT_NE(error.find(d.says), std::string::npos) << error;
    }
}

TEST_F(ProjectFileTest, RefusedReadsLeaveTheProjectAsItWas) {
    ProjectModel a(prompt);
    build(a);
    const std::string tcf = (dir / "part.tcf").string();
    WriteProjectFile(a, tcf);
    const std::string good = *read_file(tcf);

    ProjectModel current(prompt);
    ASSERT_TRUE(ReadProjectFile(current, tcf));
    const auto cycles_before = current.cycles.size();
    const DXF_Entity* first_before = current.cycles[0]->points.items[0].element;

    struct Damage {
        std::string from, to, says;
    };
    const std::vector<Damage> damages = {
        {"Entity_2=0_1_0", "Entity_2=0_7_0", "Entity_2"},
        {"Entity_1=0_0_2", "Entity_1=0_0_99", "Entity_1"},
        {"CycleType=3", "CycleType=9", "CycleType"},
        {"Tool_Width=0.8", "Tool_Width=0,8x", "Tool_Width"},
        {"Param_DepthCutX=1.5", "Param_DepthCutX=deep", "Param_DepthCutX"},
        {"PART_LINE 1=3", "PART_LINE 1=300", "node 300"},
    };
    for (const Damage& d : damages) {
        std::string text = good;
        const auto at = text.find(d.from);
        ASSERT_NE(at, std::string::npos) << d.from;
        text.replace(at, d.from.size(), d.to);
        ASSERT_TRUE(write_file_atomically(tcf, text));
        std::string error;
        EXPECT_FALSE(ReadProjectFile(current, tcf, {}, &error)) << d.to;
        EXPECT_NE(error.find(d.says), std::string::npos) << error;
        EXPECT_EQ(current.cycles.size(), cycles_before);
        EXPECT_EQ(current.cycles[0]->points.items[0].element, first_before);
    }

    // No drawing beside the project: the message names the expected .tdx.
    const std::string lonely = (dir / "lonely.tcf").string();
    ASSERT_TRUE(write_file_atomically(lonely, good));
    std::string error;
    EXPECT_FALSE(ReadProjectFile(current, lonely, {}, &error));
    EXPECT_NE(error.find("Unable to find TDX file " + (dir / "lonely.tdx").string()),
              std::string::npos);
    EXPECT_EQ(prompt.told.back(), error);
    EXPECT_EQ(current.cycles.size(), cycles_before);
}

TEST_F(ProjectFileTest, ProjectBesideItsDxfOnlyOpensAndGetsItsTdx) {
    ProjectModel a(prompt);
    build(a);
    const std::string tcf = (dir / "part.tcf").string();
    WriteProjectFile(a, tcf);
    fs::remove(dir / "part.tdx");
    ProjectModel b(prompt);
    ASSERT_TRUE(ReadProjectFile(b, tcf));
    EXPECT_TRUE(fs::exists(dir / "part.tdx"));
    EXPECT_EQ(b.cycles[0]->points.count(), 4);

    // A batch read writes nothing beside the project.
    fs::remove(dir / "part.tdx");
    ProjectModel c(prompt);
    ProjectReadOptions read_only;
    read_only.write_missing_tdx = false;
    ASSERT_TRUE(ReadProjectFile(c, tcf, read_only));
    EXPECT_FALSE(fs::exists(dir / "part.tdx"));
}

TEST_F(ProjectFileTest, FailedSaveKeepsThePreviousProject) {
    ProjectModel a(prompt);
    build(a);
    const std::string tcf = (dir / "part.tcf").string();
    WriteProjectFile(a, tcf);
    const std::string before = *read_file(tcf);
    // A folder in the drawing's place makes the write fail half way.
    fs::remove(dir / "part.tdx");
    fs::create_directories(dir / "part.tdx");
    a.SetComment(*a.cycles[0], "changed");
    EXPECT_THROW(WriteProjectFile(a, tcf), ProjectFileError);
    EXPECT_EQ(*read_file(tcf), before);
}

TEST_F(ProjectFileTest, RelativeMaterialFileLiesBesideTheProject) {
    ProjectModel m(prompt);
    build(m);
    const std::string project = (dir / "job.tcf").string();
    WriteProjectFile(m, project);
    auto ini = IniDocument::load(project);
    ASSERT_TRUE(ini);
    ini->write("Material", "File", "stock.tmf");
    std::string error;
    ASSERT_TRUE(ini->save(project, &error)) << error;

    std::vector<std::string> seen;
    auto reader = [&](ProjectModel& into) {
        into.settings.load_material = [&](std::string& file, std::string&, TCycleParams&) {
            seen.push_back(file);
            return 0;
        };
    };
    // Not there: asked for (and so reported) as the project names it, not as
    // the current material file that would silently stand in for it.
    ProjectModel a(prompt);
    a.material_file = "/somewhere/default.tmf";
    reader(a);
    ASSERT_TRUE(ReadProjectFile(a, project, {}, &error)) << error;
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen.back(), (dir / "stock.tmf").string());
    // There: taken from the project's folder, whatever the working folder.
    std::ofstream(dir / "stock.tmf") << "[Brass (Metric)]\r\nUnits=0\r\n";
    ProjectModel b(prompt);
    reader(b);
    ASSERT_TRUE(ReadProjectFile(b, project, {}, &error)) << error;
    EXPECT_EQ(seen.back(), (dir / "stock.tmf").string());
    EXPECT_EQ(b.material_file, (dir / "stock.tmf").string());
}

} // namespace
} // namespace zeran

namespace zeran {
namespace {

// An outline drawn the newer way (a lightweight polyline with a bulge) and
// an R12 polyline with a bulge.
const char* kCurvedDrawing =
    "0\nSECTION\n2\nHEADER\n9\n$INSUNITS\n70\n4\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n"
    "0\nLWPOLYLINE\n8\nPART\n90\n4\n70\n0\n10\n0\n20\n0\n10\n0\n20\n10\n42\n0.5\n"
    "10\n-20\n20\n10\n10\n-20\n20\n15\n"
    "0\nPOLYLINE\n8\nOLD\n66\n1\n70\n0\n0\nVERTEX\n8\nOLD\n10\n-30\n20\n5\n42\n1\n"
    "0\nVERTEX\n8\nOLD\n10\n-40\n20\n5\n0\nVERTEX\n8\nOLD\n10\n-40\n20\n8\n0\nSEQEND\n"
    "0\nENDSEC\n0\nEOF\n";

DXF_Entity* first_of(const ProjectModel& m, std::string_view list_name) {
    for (int i = 0; i < m.selection->count(); ++i) {
        Entity_List& list = *(*m.selection)[std::size_t(i)];
        if (list.name() == list_name && list.count() > 0) return list.at(0);
    }
    return nullptr;
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class CurvedProjectTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("zeran_curved_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
        dxf = (dir / "part.dxf").string();
        tcf = (dir / "part.tcf").string();
        std::ofstream(dxf, std::ios::binary) << kCurvedDrawing;
    }
    void TearDown() override { fs::remove_all(dir); }

    // A finishing cycle on the first element of the named list.
    void profile_on(ProjectModel& m, std::string_view list_name) {
        m.SetDatumFromPoint({-50, 0, 0});
        CycleNode& finish = m.AddCycle(CycleKind::Finishing);
        DXF_Entity* element = first_of(m, list_name);
        ASSERT_NE(element, nullptr);
        ASSERT_TRUE(m.AddToProfile(finish, element, false));
    }

    fs::path dir;
    std::string dxf, tcf;
    ScriptedPrompt prompt;
};

TEST_F(CurvedProjectTest, ProjectRecordsHowItsDrawingWasReadAndResolvesTheSameElements) {
    ProjectModel a(prompt);
    ASSERT_TRUE(a.LoadDrawing(dxf, CurveReading::Arcs));
    profile_on(a, "Arc_");
    const auto& arc = static_cast<const Arc_&>(*a.cycles[0]->points.items[0].element);
    WriteProjectFile(a, tcf);
    EXPECT_NE(slurp(tcf).find("[Drawing]\r\nCurveArcs=1"), std::string::npos);
    // The converted drawing keeps the polyline arcs as polyline segments.
    EXPECT_NE(slurp((dir / "part.tdx").string()).find("LWPOLYLINE"), std::string::npos);

    // From the .tdx, and from the .dxf alone, whatever the import setting says.
    for (const bool from_dxf : {false, true}) {
        if (from_dxf) fs::remove(dir / "part.tdx");
        ProjectModel b(prompt);
        b.settings.import_curves = CurveReading::Chords;
        std::string error;
        ASSERT_TRUE(ReadProjectFile(b, tcf, {}, &error)) << error;
        EXPECT_EQ(b.drawing_curves, CurveReading::Arcs);
        ASSERT_EQ(b.cycles[0]->points.count(), 1);
        const auto* back = dynamic_cast<const Arc_*>(b.cycles[0]->points.items[0].element);
        ASSERT_NE(back, nullptr) << from_dxf;
        EXPECT_NEAR(back->point.x, arc.point.x, 1e-3);
        EXPECT_NEAR(back->point.y, arc.point.y, 1e-3);
        EXPECT_NEAR(back->radius, arc.radius, 1e-3);
        EXPECT_NEAR(distance_xy(back->start_point(), arc.start_point()), 0, 1e-3);
    }
}

TEST_F(CurvedProjectTest, ProjectsFromBeforeKeepTheOldReading) {
    ProjectModel a(prompt);
    ASSERT_TRUE(a.LoadDrawing(dxf)); // the old reading
    EXPECT_EQ(a.skipped_entities, (SkippedEntities{{"LWPOLYLINE", 1}}));
    profile_on(a, "Polyline_");
    WriteProjectFile(a, tcf);
    EXPECT_EQ(slurp(tcf).find("CurveArcs"), std::string::npos);
    fs::remove(dir / "part.tdx");

    ProjectModel b(prompt);
    b.settings.import_curves = CurveReading::Arcs;
    std::string error;
    ASSERT_TRUE(ReadProjectFile(b, tcf, {}, &error)) << error;
    EXPECT_EQ(b.drawing_curves, CurveReading::Chords);
    ASSERT_EQ(b.cycles[0]->points.count(), 1);
    const auto* poly = dynamic_cast<const Polyline_*>(b.cycles[0]->points.items[0].element);
    ASSERT_NE(poly, nullptr);
    EXPECT_EQ(poly->vertex_count(), 3);
    EXPECT_EQ(first_of(b, "Arc_"), nullptr);
}

} // namespace
} // namespace zeran
