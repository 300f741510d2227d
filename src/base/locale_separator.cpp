#include "base/locale_separator.h"

#include <cstdlib>
#include <string>
#include <string_view>

namespace zeran {

namespace {

// Languages whose usual decimal mark is a comma.
constexpr std::string_view kCommaLanguages[] = {
    "af", "az", "be", "bg", "bs", "ca", "cs", "da", "de", "el", "es", "et", "eu", "fi", "fo", "fr",
    "gl", "hr", "hu", "hy", "id", "is", "it", "ka", "kk", "ky", "lt", "lv", "mk", "mn", "nb", "nl",
    "nn", "no", "pl", "pt", "ro", "ru", "sk", "sl", "sq", "sr", "sv", "tr", "uk", "uz", "vi"};

// Regions that write a point although their language writes a comma.
constexpr std::string_view kPointRegions[] = {"de_CH", "de_LI", "it_CH", "es_MX", "es_US",
                                              "es_GT", "es_HN", "es_NI", "es_PA", "es_PR",
                                              "es_SV", "es_DO", "es_PE"};

} // namespace

char decimal_separator_of(const char* locale_name) {
    if (!locale_name || !*locale_name) return '.';
    std::string_view name(locale_name);
    const auto cut = name.find_first_of(".@");
    if (cut != std::string_view::npos) name = name.substr(0, cut);
    for (auto region : kPointRegions)
        if (name == region) return '.';
    const std::string_view language = name.substr(0, name.find('_'));
    for (auto lang : kCommaLanguages)
        if (language == lang) return ',';
    return '.';
}

char locale_decimal_separator() {
    for (const char* var : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const char* value = std::getenv(var);
        if (value && *value) return decimal_separator_of(value);
    }
    return '.';
}

} // namespace zeran
