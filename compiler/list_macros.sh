#!/bin/sh
# list_macros.sh <c++ compiler> <source root> <header> <output> <depfile>
# Writes the names of the macros that <header> defines, directly or through
# what it includes, as sorted C++ string literals, one a line: the names a
# model description cannot take. Names starting with '_' are left out, as
# sanc refuses those anyway.
set -e
"$1" -std=c++17 -x c++ -dM -E -I"$2" -MD -MF "$5" -MT "$4" "$3" -o "$4.defines"
sed -n 's/^#define \([A-Za-z][A-Za-z0-9_]*\).*/"\1",/p' "$4.defines" | LC_ALL=C sort -u > "$4"
rm -f "$4.defines"
