// The kind descriptions are complete and agree with themselves: every kind
// has its own names, code and keys, every field a kind lists survives the
// file, and validity asks exactly for the fields marked required.
#include "base/ini_document.h"
#include "cycles/kind_description.h"
#include "cycles/param_controls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace zeran {
namespace {

std::string name_of(CycleKind kind) {
    return std::string(describe(kind).short_name);
}

TEST(KindDescription, EveryKindIsDescribedOnceWithDistinctNamesCodesKeysAndHintPlaces) {
    const auto kinds = cycle_kind_descriptions();
    ASSERT_EQ(kinds.size(), static_cast<std::size_t>(kCycleKindCount));
    std::set<std::string_view> short_names, long_names;
    std::set<std::int32_t> codes;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const CycleKindDescription& d = kinds[i];
        EXPECT_EQ(cycle_kind_number(d.kind), static_cast<int>(i));
        EXPECT_EQ(cycle_kind_from_number(static_cast<long long>(i)), d.kind);
        EXPECT_FALSE(d.short_name.empty());
        EXPECT_FALSE(d.long_name.empty());
        short_names.insert(d.short_name);
        long_names.insert(d.long_name);
        codes.insert(d.code);

        std::set<std::string_view> keys;
        std::set<ParamField> fields;
        for (const KindField& f : all_kind_fields(d.kind)) {
            EXPECT_TRUE(f.key.starts_with("Param_")) << f.key;
            EXPECT_TRUE(keys.insert(f.key).second) << name_of(d.kind) << " repeats " << f.key;
            EXPECT_TRUE(fields.insert(f.field).second) << name_of(d.kind) << " " << f.key;
            // A choice cannot be missing, and the hint has no line for one.
            if (param_value_type(f.field) == ParamValueType::Choice)
                EXPECT_EQ(f.required, Requirement::None) << f.key;
            else
                EXPECT_NE(find_param_description(f.field), nullptr) << f.key;
        }

        std::vector<int> places;
        for (const KindField& f : d.fields) places.push_back(f.hint_place);
        std::sort(places.begin(), places.end());
        for (std::size_t p = 0; p < places.size(); ++p)
            EXPECT_EQ(places[p], static_cast<int>(p)) << name_of(d.kind) << " hint places";
        EXPECT_EQ(hint_kind_fields(d.kind).size(), d.fields.size());

        if (d.depth_copy) {
            EXPECT_TRUE(fields.contains(d.depth_copy->from)) << name_of(d.kind);
            EXPECT_FALSE(fields.contains(d.depth_copy->to)) << name_of(d.kind);
        }
    }
    EXPECT_EQ(short_names.size(), kinds.size());
    EXPECT_EQ(long_names.size(), kinds.size());
    EXPECT_EQ(codes.size(), kinds.size());
    EXPECT_FALSE(cycle_kind_from_number(-1));
    EXPECT_FALSE(cycle_kind_from_number(kCycleKindCount));
}

// A value per field that no other field of the record shares, held exactly
// by the field's type and inside its range.
double distinct_value(ParamField field, int salt) {
    switch (param_value_type(field)) {
    case ParamValueType::Choice:
        return 1;
    case ParamValueType::Integer:
        return 2 + static_cast<int>(field) + salt;
    case ParamValueType::Real:
        return 0.125 * (1 + static_cast<int>(field)) + salt;
    }
    return 0;
}

TEST(KindDescription, TheKeysOfEveryKindCarryEveryFieldThroughTheFileAndNoOther) {
    for (const CycleKindDescription& d : cycle_kind_descriptions()) {
        for (const char separator : {'.', ','}) {
            TCycleParams written;
            for (int f = 0; f <= static_cast<int>(ParamField::PeckReturnZ); ++f)
                set_param(written, static_cast<ParamField>(f),
                          distinct_value(static_cast<ParamField>(f), 3));
            std::vector<std::string> lines;
            write_param_keys(d.kind, written, lines, separator);
            std::string text = "[C]\n";
            for (std::string line : lines) text += line.replace(line.find(','), 1, "=") + "\n";
            const IniDocument ini = IniDocument::parse(text);

            TCycleParams read;
            read.Repeats = 0;
            read_param_keys(d.kind, ini, "C", read, separator);
            const auto fields = all_kind_fields(d.kind);
            EXPECT_EQ(lines.size(), fields.size());
            for (int f = 0; f <= static_cast<int>(ParamField::PeckReturnZ); ++f) {
                const auto field = static_cast<ParamField>(f);
                const bool listed =
                    std::any_of(fields.begin(), fields.end(),
                                [&](const KindField& k) { return k.field == field; });
                EXPECT_EQ(get_param(read, field), listed ? get_param(written, field) : 0)
                    << name_of(d.kind) << " field " << f << " separator " << separator;
            }
        }
    }
}

TEST(KindDescription, ValidityAndTheDialogAskForExactlyTheRequiredFields) {
    for (const CycleKindDescription& d : cycle_kind_descriptions()) {
        const CycleKind kind = d.kind;
        TParamControls controls(kind);
        for (const KindField& f : all_kind_fields(d.kind))
            controls.SetControl(f.field, distinct_value(f.field, 0));
        ASSERT_TRUE(params_valid(kind, controls.ReadRecord())) << name_of(d.kind);
        EXPECT_TRUE(controls.DialogValid());

        for (const KindField& f : all_kind_fields(d.kind)) {
            TParamControls emptied = controls;
            emptied.SetControl(f.field, 0);
            EXPECT_EQ(params_valid(kind, emptied.ReadRecord()), f.required == Requirement::None)
                << name_of(d.kind) << " " << f.key;
            if (f.required == Requirement::Positive) {
                emptied.SetControl(f.field, -1);
                EXPECT_FALSE(params_valid(kind, emptied.ReadRecord())) << f.key;
            }
        }
    }
}

} // namespace
} // namespace zeran
