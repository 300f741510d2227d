#pragma once
// The decimal separator of the user's locale, for the files that follow it
// (GNC, project, material). Read from LC_ALL, LC_NUMERIC and LANG like the
// window's locale, so a batch run writes what the window writes.

namespace zeran {

// ',' or '.'; '.' for the C and POSIX locales and anything not recognised.
char locale_decimal_separator();
// The same rule for a locale name such as "de_DE.UTF-8".
char decimal_separator_of(const char* locale_name);

} // namespace zeran
