#include "base/ini_document.h"
#include "base/number_text.h"

#include <gtest/gtest.h>

using namespace zeran;

TEST(NumberText, Fixed3RoundsToSevenDigitsFirst) {
    EXPECT_EQ(fixed3_text(12.5), "12.500");
    EXPECT_EQ(fixed3_text(-0.25), "-0.250");
    EXPECT_EQ(fixed3_text(1234.56789), "1234.568");
    EXPECT_EQ(fixed3_text(12345.6789), "12345.680");
    EXPECT_EQ(fixed3_text(0), "0.000");
    EXPECT_EQ(fixed3_text(-0.0000001), "0.000");
}

TEST(NumberText, GeneralFormDropsZerosAndSwitchesToExponent) {
    EXPECT_EQ(general_text(25.0), "25");
    EXPECT_EQ(general_text(0.30000000000000004), "0.3");
    EXPECT_EQ(general_text(0), "0");
    EXPECT_EQ(general_text(-12.5), "-12.5");
    EXPECT_EQ(general_text(0.00005), "5E-5");
    EXPECT_EQ(general_text(1.5e15), "1.5E15");
    EXPECT_EQ(general_text(0.0001), "0.0001");
    EXPECT_EQ(general_text(100), "100");
    EXPECT_EQ(general_text(123456789012345.0), "123456789012345");
    EXPECT_EQ(general_text(1e15), "1E15");
    EXPECT_EQ(general_text(2.5, ','), "2,5");
    EXPECT_EQ(general_text(-1.25e-7), "-1.25E-7");
}

TEST(NumberText, ParsingTakesWholeNumbersOnly) {
    EXPECT_EQ(parse_real(" 2.5 "), 2.5);
    EXPECT_EQ(parse_real("2,5", ','), 2.5);
    EXPECT_EQ(parse_real("-1E-3"), -0.001);
    EXPECT_FALSE(parse_real("2.5mm"));
    EXPECT_FALSE(parse_real(""));
    EXPECT_EQ(parse_int("+42"), 42);
    EXPECT_FALSE(parse_int("4.2"));
}

TEST(IniDocument, KeepsOrderIgnoresCaseAndWritesCrLf) {
    auto doc = IniDocument::parse("; comment\n[Main]\nb=2\na= x=y \n[Other]\r\nk=v\r\n");
    EXPECT_EQ(doc.read_string("main", "A"), " x=y ");
    EXPECT_EQ(doc.read_int("MAIN", "b", 0), 2);
    EXPECT_EQ(doc.read_int("Main", "missing", 7), 7);
    doc.write("main", "C", "3");
    doc.write("New", "z", "1");
    doc.write("Main", "B", "22");
    EXPECT_EQ(doc.text(), "[Main]\r\nb=22\r\na= x=y \r\nC=3\r\n\r\n[Other]\r\nk=v\r\n\r\n"
                          "[New]\r\nz=1\r\n\r\n");
    doc.erase_section("other");
    doc.erase_key("main", "a");
    EXPECT_EQ(doc.section_names(), (std::vector<std::string>{"Main", "New"}));
    EXPECT_EQ(doc.key_names("Main"), (std::vector<std::string>{"b", "C"}));
    auto again = IniDocument::parse(doc.text());
    EXPECT_EQ(again.text(), doc.text());
}

TEST(IniDocument, BadNumbersFallBack) {
    auto doc = IniDocument::parse("[S]\nr=abc\nb=5\nz=0\n");
    EXPECT_EQ(doc.read_real("S", "r", 1.5), 1.5);
    EXPECT_TRUE(doc.read_bool("S", "b", false));
    EXPECT_FALSE(doc.read_bool("S", "z", true));
}

#include "base/locale_separator.h"

TEST(LocaleSeparator, FollowsTheLanguageAndItsRegion) {
    EXPECT_EQ(decimal_separator_of("de_DE.UTF-8"), ',');
    EXPECT_EQ(decimal_separator_of("fr_FR@euro"), ',');
    EXPECT_EQ(decimal_separator_of("de_CH.UTF-8"), '.');
    EXPECT_EQ(decimal_separator_of("es_MX"), '.');
    EXPECT_EQ(decimal_separator_of("en_GB.UTF-8"), '.');
    EXPECT_EQ(decimal_separator_of("C.UTF-8"), '.');
    EXPECT_EQ(decimal_separator_of("POSIX"), '.');
    EXPECT_EQ(decimal_separator_of(""), '.');
    EXPECT_EQ(decimal_separator_of(nullptr), '.');
}
