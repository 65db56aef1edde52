#ifndef COMMON_PRINTABLETEXT_H_
#define COMMON_PRINTABLETEXT_H_

#include <string>
#include <string_view>

// Text taken from an input file or a command line, made safe to print in a
// one-line message: printable ASCII and well-formed UTF-8 letters stay as
// they are; control characters (NUL, form feed, line ends ...), invisible
// format characters (a byte-order mark, direction overrides) and bytes that
// are not well-formed UTF-8 are written as \t, \n, \r or \xNN per byte.
// What it returns comes back unchanged, so text may pass twice.
std::string printable(std::string_view text);

// A number for a message: the shortest form that reads back as the same
// double, in fixed or scientific notation whichever is shorter ("0.25",
// "1e+300", "1.7976931348623157e+308"), and "inf", "-inf" or "nan".
std::string compactNumber(double value);

#endif
