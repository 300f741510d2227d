// Damaged projects: a file cut short, values no lathe could use and
// unreadable values are refused with one message that names where, and the
// project in memory stays as it was; older projects still read.
#include "base/file_io.h"
#include "cycles/kind_description.h"
#include "cycles/param_controls.h"
#include "project/project_file.h"
#include "project/project_model.h"
#include "support/test_doubles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace zeran {
namespace {

namespace fs = std::filesystem;

class ProjectDamage : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("zeran_damage_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
        const fs::path examples = fs::path(ZERAN_SOURCE_DIR) / "examples";
        fs::copy_file(examples / "shaft.dxf", dir / "shaft.dxf");
        tcf = (dir / "shaft.tcf").string();
        good = *read_file((examples / "shaft.tcf").string());
        ASSERT_TRUE(write_file_atomically(tcf, good));
        ASSERT_TRUE(ReadProjectFile(current, tcf));
        ASSERT_EQ(current.cycles.size(), 4u);
    }
    void TearDown() override { fs::remove_all(dir); }

    // The reason a text is refused, "" when it reads.
    std::string refusal(const std::string& text) {
        EXPECT_TRUE(write_file_atomically(tcf, text));
        std::string error;
        if (ReadProjectFile(current, tcf, {}, &error)) return {};
        EXPECT_EQ(current.cycles.size(), 4u) << "the model changed";
        return error;
    }
    std::string replaced(const std::string& from, const std::string& to) const {
        std::string text = good;
        const auto at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? text : text.replace(at, from.size(), to);
    }

    fs::path dir;
    std::string tcf, good;
    ScriptedPrompt prompt;
    ProjectModel current{prompt};
};

TEST_F(ProjectDamage, AProjectCutInsideACycleSectionIsRefused) {
    struct Cut {
        std::string after; // the file ends right after this text
        std::string says;
    };
    const std::vector<Cut> cuts = {
        {"Param_DepthCutX=2\r\n", "[Cycle1] (Stock Removal Along X Axis) has no Param_RetractX"},
        {"Comment=finish outside\r\nEntity_0=0_0_1\r\n",
         "[Cycle2] (Finishing Cycle) has no Tool_Number"},
        {"Param_DepthCutZ=2\r\nParam_RetractX=0.5\r\nParam_DepthCutX=1\r\n",
         "[Cycle3] (Grooving Cycle in X) has no Param_AllowanceX"},
        {"Param_Pitch=1.5\r\n", "has no Param_MinCut"},
        {"Param_Speed=1600\r\nParam_UseCSS=0\r\n",
         "[Cycle2] (Finishing Cycle) has no Param_UseFPR"},
        {"Param_AllowanceZ=0.1\r\n\r\n[Cycle2]\r\n", "[Cycle2] has no CycleType"},
        // Cut inside a line: the value or the header may be partial.
        {"Param_Pitch=1.5\r\nParam_Min", "ends in the middle of a line"},
        {"Param_AllowanceZ=0.1\r\n\r\n[Cy", "ends in the middle of a line"},
        {"Param_MinCut=0.0", "ends in the middle of a line"},
    };
    for (const Cut& c : cuts) {
        const auto at = good.find(c.after);
        ASSERT_NE(at, std::string::npos) << c.after;
        const std::string error = refusal(good.substr(0, at + c.after.size()));
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
    }
    EXPECT_EQ(refusal(good), "");
}

TEST_F(ProjectDamage, OlderProjectsLackingLaterKeysStillRead) {
    std::string text = good;
    for (const std::string key :
         {"Comment=rough outside\r\n", "Tool_Length=40\r\n", "Tool_Width=0.8\r\n",
          "Param_UseBillet=0\r\n", "Param_StartPosZ=2\r\n"}) {
        const auto at = text.find(key);
        ASSERT_NE(at, std::string::npos) << key;
        text.erase(at, key.size());
    }
    text = text.replace(text.find("Param_StartPosX=20"), 18, "Param_StartPosY=20");
    EXPECT_EQ(refusal(text), "");
    EXPECT_EQ(current.cycles.size(), 4u);
}

TEST_F(ProjectDamage, ValuesNoLatheCouldUseAreRefusedNamingCycleKeyAndValue) {
    struct Case {
        std::string from, to, says;
    };
    const std::vector<Case> cases = {
        {"Param_DepthCutX=2", "Param_DepthCutX=1e20",
         "[Cycle1] (Stock Removal Along X Axis): Param_DepthCutX = 1E20 is outside 0 to 1000 mm"},
        {"Param_Feed=0.1", "Param_Feed=1e9", "[Cycle2] (Finishing Cycle): Param_Feed = 1000000000"},
        {"Param_DepthThread=0.92", "Param_DepthThread=1e308", "Param_DepthThread = 1E308"},
        {"Param_DepthCutZ=2", "Param_DepthCutZ=-2", "Param_DepthCutZ = -2 is outside"},
        {"Param_TipAngle=60", "Param_TipAngle=720", "Param_TipAngle = 720 is outside 0 to 180"},
        {"Param_Speed=1200", "Param_Speed=inf", "Param_Speed = \"inf\" is not a number"},
    };
    for (const Case& c : cases) {
        const std::string error = refusal(replaced(c.from, c.to));
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
    }
}

TEST_F(ProjectDamage, EveryParameterKeyOfEveryKindIsNeededRangeCheckedAndRead) {
    for (const CycleKindDescription& d : cycle_kind_descriptions()) {
        const std::string long_name(d.long_name);
        // One more cycle of the kind, every key set to 1 but one left out or too big.
        auto with_cycle = [&](std::string_view left_out, std::string_view too_big) {
            std::string s =
                good + "\r\n[Cycle5]\r\nCycleType=" + std::to_string(cycle_kind_number(d.kind)) +
                "\r\nChecked=1\r\nTool_Number=1\r\n";
            for (const KindField& f : all_kind_fields(d.kind))
                if (f.key != left_out)
                    s += std::string(f.key) + "=" + (f.key == too_big ? "1e12" : "1") + "\r\n";
            return s;
        };
        for (const KindField& f : all_kind_fields(d.kind)) {
            const std::string key(f.key);
            std::string error = refusal(with_cycle(key, ""));
            EXPECT_NE(error.find("[Cycle5] (" + long_name + ") has no " + key), std::string::npos)
                << error;
            if (param_value_type(f.field) == ParamValueType::Choice) continue;
            error = refusal(with_cycle("", key));
            EXPECT_NE(error.find(long_name + "): " + key + " = 1000000000000 is outside"),
                      std::string::npos)
                << error;
        }
        ASSERT_EQ(refusal(with_cycle("", "")), "") << long_name;
        ASSERT_EQ(current.cycles.size(), 5u);
        for (const KindField& f : all_kind_fields(d.kind))
            EXPECT_EQ(current.cycles[4]->params->Control(f.field), 1) << long_name << " " << f.key;
        ASSERT_EQ(refusal(good), "");
    }
}

TEST_F(ProjectDamage, ABadValueIsQuotedShortAndPrintable) {
    const std::string junk = std::string(500, '7') + "\x01\x1b[2J";
    const std::string error = refusal(replaced("Tool_Width=0.8", "Tool_Width=x" + junk));
    EXPECT_NE(error.find("Tool_Width = \"x" + std::string(79, '7') + "...\""), std::string::npos)
        << error;
    EXPECT_LT(error.size(), tcf.size() + 160);
    const std::string escaped = refusal(replaced("Tool_Width=0.8", "Tool_Width=\x01\x1b"));
    EXPECT_NE(escaped.find("\"\\x01\\x1B\""), std::string::npos) << escaped;
}

} // namespace
} // namespace zeran
