#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/ini_document.h"
#include "cycles/cycle_params.h"
#include "cycles/kind_description.h"
#include "cycles/param_controls.h"
#include "cycles/tool_control.h"

namespace zeran {
namespace {

TCycleParams complete_params() {
    TCycleParams p;
    p.Feed = 120;
    p.Speed = 800;
    p.DepthCutX = 1.5;
    p.DepthCutZ = 2;
    p.RetractX = 0.5;
    p.RetractZ = 0.6;
    p.Repeats = 3;
    p.DepthThread = 0.9;
    p.DepthFirst = 0.2;
    p.Pitch = 1.5;
    p.MinCut = 0.05;
    return p;
}

TEST(CycleParams, DescriptionTableFollowsTheRecordWithoutTheTwoChoices) {
    const auto& rows = param_descriptions();
    ASSERT_EQ(rows.size(), 19u);
    EXPECT_EQ(rows.front().name, "Units");
    EXPECT_EQ(rows.back().name, "Drill retract amount in Z");
    for (std::size_t i = 1; i < rows.size(); ++i)
        EXPECT_LT(static_cast<int>(rows[i - 1].field), static_cast<int>(rows[i].field));
    EXPECT_EQ(find_param_description(ParamField::UseCSS), nullptr);
    const ParamDescription* feed = find_param_description(ParamField::Feed);
    ASSERT_NE(feed, nullptr);
    EXPECT_EQ(param_unit_text(*feed, Units::Metric), "mm/min.");
    EXPECT_EQ(param_unit_text(*feed, Units::Inch), "inch/min.");
    EXPECT_EQ(param_unit_text(*find_param_description(ParamField::Repeats), Units::Inch), "");
    EXPECT_EQ(unit_name(Units::Inch), "Inch");
    EXPECT_EQ(unit_text(Units::Metric), "mm");
    // Every length row names its unit, every other row does not.
    for (const auto& row : rows)
        EXPECT_EQ(is_length_field(row.field), row.unit_mm == "mm") << row.name;
}

TEST(CycleParams, ValidityPerKindNeedsTheKindsValuesAndFeedAndSpeed) {
    TCycleParams p = complete_params();
    for (const CycleKindDescription& d : cycle_kind_descriptions())
        EXPECT_TRUE(params_valid(d.kind, p)) << d.short_name;
    EXPECT_FALSE(cycle_kind_from_number(8)) << "no kind beyond the eight";

    TCycleParams no_feed = p;
    no_feed.Feed = 0;
    TCycleParams no_speed = p;
    no_speed.Speed = -1;
    for (const CycleKindDescription& d : cycle_kind_descriptions()) {
        EXPECT_FALSE(params_valid(d.kind, no_feed));
        EXPECT_FALSE(params_valid(d.kind, no_speed));
    }

    TCycleParams q = p;
    q.RetractX = 0;
    EXPECT_FALSE(params_valid(CycleKind::AlongX, q));
    EXPECT_TRUE(params_valid(CycleKind::AlongZ, q));
    q = p;
    q.Repeats = 0;
    EXPECT_FALSE(params_valid(CycleKind::PatternRepeat, q));
    q = p;
    q.DepthCutX = 0;
    EXPECT_FALSE(params_valid(CycleKind::Grooving, q));
    EXPECT_TRUE(params_valid(CycleKind::Drilling, q));
    q = p;
    q.MinCut = 0;
    EXPECT_FALSE(params_valid(CycleKind::Threading, q));

    TCycleParams bare;
    bare.Feed = 1;
    bare.Speed = 1;
    EXPECT_TRUE(params_valid(CycleKind::Finishing, bare));
    EXPECT_TRUE(params_valid(CycleKind::Linear, bare));
    EXPECT_FALSE(params_valid(CycleKind::Drilling, bare));
}

TEST(CycleParams, UnitConversionRoundsToTheUnitsDecimals) {
    EXPECT_DOUBLE_EQ(mm_to_inch_rounded(25.4), 1.0);
    EXPECT_DOUBLE_EQ(mm_to_inch_rounded(1.27), 0.05);
    EXPECT_DOUBLE_EQ(mm_to_inch_rounded(0.2), 0.0079);
    EXPECT_DOUBLE_EQ(inch_to_mm_rounded(0.05), 1.27);
    EXPECT_DOUBLE_EQ(inch_to_mm_rounded(0.0079), 0.201);

    TCycleParams p = complete_params();
    p.TipAngle = 60;
    TCycleParams inch = convert_params(p, Units::Metric, Units::Inch);
    EXPECT_EQ(inch.Units, 1);
    EXPECT_DOUBLE_EQ(inch.Pitch, 0.0591);
    EXPECT_DOUBLE_EQ(inch.Feed, 120); // feed and speed are not lengths here
    EXPECT_EQ(inch.TipAngle, 60);
    EXPECT_EQ(convert_params(p, Units::Metric, Units::Metric), p);
}

TEST(CycleParams, KeysOfAKindAreItsOwnRowsAfterTheCommonOnes) {
    std::vector<std::string> lines;
    TCycleParams controls = complete_params();
    controls.UseCSS = true;
    write_param_keys(CycleKind::Drilling, controls, lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"Param_Feed,120", "Param_Speed,800",
                                               "Param_UseCSS,1", "Param_UseFPR,0",
                                               "Param_DepthCutZ,2", "Param_PeckReturnZ,0"}));

    // The retract key carries the field of the kind.
    auto retract_of = [&](CycleKind kind) {
        for (const ParamKey& k : param_keys(kind))
            if (k.key == "Param_RetractX") return k.field;
        return ParamField::Units;
    };
    EXPECT_EQ(retract_of(CycleKind::AlongX), ParamField::RetractX);
    EXPECT_EQ(retract_of(CycleKind::AlongZ), ParamField::RetractZ);
    EXPECT_EQ(retract_of(CycleKind::Grooving), ParamField::PeckReturnX);
    EXPECT_EQ(retract_of(CycleKind::Threading), ParamField::Units); // no retract for threads
    EXPECT_EQ(param_keys(CycleKind::Finishing).size(), 4u);
    EXPECT_EQ(param_keys(CycleKind::Linear).size(), 4u);

    lines.clear();
    write_param_keys(CycleKind::AlongZ, controls, lines, ',');
    EXPECT_EQ(lines[5], "Param_RetractX,0,6"); // split at the first comma
}

IniDocument ini_from_lines(const std::vector<std::string>& lines, const std::string& section) {
    IniDocument ini;
    for (const std::string& line : lines) {
        auto comma = line.find(',');
        ini.write(section, line.substr(0, comma), line.substr(comma + 1));
    }
    return ini;
}

TEST(CycleParams, CompensationIsWrittenOnlyWhenChosenAndOnlyForContourKinds) {
    TCycleParams controls = complete_params();
    std::vector<std::string> none;
    write_param_keys(CycleKind::Finishing, controls, none);
    EXPECT_EQ(none.size(), 4u);

    controls.Compensation = 1;
    for (int k = 0; k < kCycleKindCount; ++k) {
        const auto kind = static_cast<CycleKind>(k);
        std::vector<std::string> lines;
        write_param_keys(kind, controls, lines);
        const bool written = !lines.empty() && lines.back() == "Compensation,1";
        EXPECT_EQ(written, takes_nose_compensation(kind)) << k;
        TCycleParams read;
        read_param_keys(kind, ini_from_lines(lines, "C"), "C", read);
        EXPECT_EQ(read.Compensation, written ? 1 : 0) << k;
    }

    // A choice that is none of the three reads as None.
    for (const char* bad : {"3", "-1", "99999999999", "x"}) {
        TCycleParams read;
        read_param_keys(CycleKind::AlongX,
                        ini_from_lines({std::string("Compensation,") + bad}, "C"), "C", read);
        EXPECT_EQ(read.NoseCompensationMode(), NoseCompensation::None) << bad;
    }

    // The dialog's record carries the choice through a change of units.
    TParamControls dialog(CycleKind::PatternRepeat);
    dialog.SetControl(ParamField::Compensation, 2);
    TCycleParams record = dialog.ReadRecord();
    EXPECT_EQ(record.NoseCompensationMode(), NoseCompensation::InControl);
    record.Units = 1;
    dialog.LoadRecord(record);
    EXPECT_EQ(dialog.ReadRecord().Compensation, 2);
    // A material's record brings cutting values, not the cycle's choice.
    dialog.LoadRecord(complete_params());
    EXPECT_EQ(dialog.ReadRecord().Compensation, 2);
    EXPECT_NE(dialog.EntryProblem(ParamField::Compensation, 3).find("Compensation = 3"),
              std::string::npos);
}

TEST(ParamControls, KeysRoundTripForEveryKindInEitherSeparator) {
    for (const CycleKindDescription& d : cycle_kind_descriptions()) {
        const CycleKind kind = d.kind;
        for (char sep : {'.', ','}) {
            TParamControls a(kind);
            TCycleParams p = complete_params();
            p.UseFPR = true;
            p.AllowanceX = 0.25;
            p.AllowanceZ = 0.125;
            p.PeckReturnX = 0.2;
            p.PeckReturnZ = 1;
            p.FinishPass = 2;
            p.TipAngle = 60;
            p.Chamfer = 3;
            a.LoadRecord(p);
            std::vector<std::string> lines;
            a.WriteKeys(lines, sep);
            IniDocument ini = ini_from_lines(lines, "Cycle1");

            TParamControls b(kind);
            b.ReadKeys(ini, "Cycle1", sep);
            EXPECT_EQ(b.ReadRecord(), a.ReadRecord()) << "kind " << d.short_name << " sep " << sep;
        }
    }
}

TEST(ParamControls, MissingOrBrokenKeysReadAsZero) {
    IniDocument ini;
    ini.write("Cycle1", "Param_Feed", "abc");
    ini.write("Cycle1", "Param_Speed", "1e400");
    ini.write("Cycle1", "Param_UseCSS", "7");
    ini.write("Cycle1", "Param_Repeats", "99999999999");
    TParamControls c(CycleKind::PatternRepeat);
    c.SetControl(ParamField::DepthCutX, 3);
    c.ReadKeys(ini, "Cycle1");
    TCycleParams r = c.ReadRecord();
    EXPECT_EQ(r.Feed, 0);
    EXPECT_EQ(r.Speed, 0);
    EXPECT_TRUE(r.UseCSS);
    EXPECT_EQ(r.DepthCutX, 0);
    EXPECT_EQ(r.Repeats, 0);
    EXPECT_FALSE(c.DialogValid());
}

TEST(ParamControls, RecordDefinitionAndUnits) {
    // The roughing kinds have one depth edit for both directions.
    TParamControls along_x(CycleKind::AlongX);
    TCycleParams p = complete_params();
    along_x.LoadRecord(p);
    TCycleParams r = along_x.ReadRecord();
    EXPECT_EQ(r.DepthCutZ, r.DepthCutX);
    EXPECT_EQ(r.DepthCutX, 1.5);
    EXPECT_EQ(r.Repeats, 1); // from the default record
    EXPECT_EQ(r.Pitch, 0);   // not one of this kind's rows
    TParamControls along_z(CycleKind::AlongZ);
    along_z.LoadRecord(p);
    EXPECT_EQ(along_z.ReadRecord().DepthCutX, 2);

    // Valid needs a start point as well as complete values.
    TParamControls drill(CycleKind::Drilling);
    drill.LoadRecord(p);
    drill.ReadDefinition();
    EXPECT_TRUE(drill.DialogValid());
    EXPECT_FALSE(drill.Valid);
    drill.StartX = 0;
    drill.StartZ = 5;
    drill.ReadDefinition();
    EXPECT_TRUE(drill.Valid);
    EXPECT_FALSE(drill.Changed);
    drill.SetControl(ParamField::PeckReturnZ, 1);
    drill.ReadDefinition();
    EXPECT_TRUE(drill.Changed);
    drill.Shown();
    drill.ReadDefinition();
    EXPECT_FALSE(drill.Changed);

    // A change of units converts the lengths the dialog holds, and back again.
    TParamControls groove(CycleKind::Grooving);
    TCycleParams mm = p;
    mm.DepthCutX = 25.4;
    mm.PeckReturnX = 1.27;
    groove.LoadRecord(mm);
    TCycleParams to_inch = groove.ReadRecord();
    to_inch.Units = 1;
    groove.LoadRecord(to_inch);
    EXPECT_EQ(groove.DialogUnits(), Units::Inch);
    TCycleParams in = groove.ReadRecord();
    EXPECT_DOUBLE_EQ(in.DepthCutX, 1);
    EXPECT_DOUBLE_EQ(in.PeckReturnX, 0.05);
    EXPECT_EQ(in.Feed, 120);
    in.Units = 0;
    groove.LoadRecord(in);
    EXPECT_DOUBLE_EQ(groove.ReadRecord().DepthCutX, 25.4);
    EXPECT_DOUBLE_EQ(groove.ReadRecord().PeckReturnX, 1.27);

    // Edits keep what they show: six significant digits.
    TParamControls fin(CycleKind::Finishing);
    fin.SetControl(ParamField::Feed, 0.123456789);
    EXPECT_DOUBLE_EQ(fin.ReadRecord().Feed, 0.123457);

    EXPECT_EQ(groove.Title(), "Parameters (Grooving Cycle in X)");
    EXPECT_EQ(groove.HelpContext(), 61);
    EXPECT_EQ(groove.UnitLabel(), "mm");

    TParamControls thread(CycleKind::Threading);
    EXPECT_EQ(thread.ReadRecord().FinishPass, 1);
    EXPECT_EQ(thread.ReadRecord().Chamfer, 1);
}

TEST(ToolControl, SizeFromALibraryEntry) {
    EXPECT_EQ(tool_size_from_entry(3, 0.4, 3.0, 80).Width, 3.0);
    EXPECT_EQ(tool_size_from_entry(1, 0.4, 3.0, 80).Width, 0.4);
    EXPECT_EQ(tool_size_from_entry(1, 0.4, 3.0, 80).Length, 80);
    TToolControl t;
    EXPECT_EQ(t.ToolNumber, 1);
    EXPECT_FALSE(t.Complete());
    t.TakeSize(tool_size_from_entry(3, 0.4, 3.0, 80));
    EXPECT_TRUE(t.Complete());
    EXPECT_EQ(t.ToolLength, 80);
}

} // namespace
} // namespace zeran
