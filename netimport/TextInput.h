#ifndef NETIMPORT_TEXTINPUT_H_
#define NETIMPORT_TEXTINPUT_H_

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "netimport/Diagnostic.h"

// The whole content of the file at path, or a diagnostic naming the file
// when it cannot be read, is not a regular file (refused before reading: a
// FIFO would block) or holds more than maxBytes bytes.
ReadResult<std::string> readFileText(const std::string& path, std::size_t maxBytes);

// A word of a line-based file and the column (1-based) where it starts.
struct Word {
  std::string text;
  int column;
};

// A line of a line-based file that holds words: its number (1-based) and
// its words.
struct WordLine {
  int number;
  std::vector<Word> words;
};

// Splits text into lines of words separated by blanks, tabs and carriage
// returns; "#" starts a comment that runs to the end of the line. Lines
// without words are left out, and so is a byte-order mark at the start.
std::vector<WordLine> splitWordLines(const std::string& text);

// The finite number that the whole word spells, if it spells one.
std::optional<double> parseNumber(const std::string& word);

// A diagnostic pointing at a word of a line of file.
Diagnostic diagnosticAt(const std::string& file, const WordLine& line, const Word& word,
                        std::string message);

#endif
