#include "netimport/TextInput.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "common/TextFile.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// The words of text[begin, end), with their columns counted from begin.
std::vector<Word> wordsOf(const std::string& text, std::size_t begin, std::size_t end) {
  std::vector<Word> words;
  for (std::size_t i = begin; i < end;) {
    if (isBlank(text[i])) {
      i++;
      continue;
    }
    const std::size_t start = i;
    while (i < end && !isBlank(text[i])) {
      i++;
    }
    words.push_back({text.substr(start, i - start), static_cast<int>(start - begin + 1)});
  }
  return words;
}

}  // namespace

ReadResult<std::string> readFileText(const std::string& path, std::size_t maxBytes) {
  TextFileContent content = readTextFile(path, maxBytes);
  if (!content.text) {
    return ReadResult<std::string>::failure({path, 0, 0, content.problem});
  }
  return ReadResult<std::string>::success(std::move(*content.text));
}

std::vector<WordLine> splitWordLines(const std::string& text) {
  std::vector<WordLine> lines;
  int number = 0;
  for (std::size_t start = byteOrderMarkLength(text); start < text.size();) {
    number++;
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      end = text.size();
    }
    const auto comment = std::find(text.begin() + start, text.begin() + end, '#');
    std::vector<Word> words = wordsOf(text, start, comment - text.begin());
    if (!words.empty()) {
      lines.push_back({number, std::move(words)});
    }
    start = end + 1;
  }
  return lines;
}

std::optional<double> parseNumber(const std::string& word) {
  char* end = nullptr;
  const double value = std::strtod(word.c_str(), &end);
  if (word.empty() || end != word.c_str() + word.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

Diagnostic diagnosticAt(const std::string& file, const WordLine& line, const Word& word,
                        std::string message) {
  return Diagnostic{file, line.number, word.column, std::move(message)};
}
