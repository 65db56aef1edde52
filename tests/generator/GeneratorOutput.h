#ifndef TESTS_GENERATOR_GENERATOROUTPUT_H_
#define TESTS_GENERATOR_GENERATOROUTPUT_H_

// Helpers for the generator's tests: readers that check the layout of the
// ".arm" and ".det" files and return their records in a compact form, and
// the console text without its varying computation time.

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace ssg_test {

// Width of the count placeholder of the ".arm" file in each mode.
const int kNormalPlaceholder = 63;
const int kDeterministicPlaceholder = 8;

// Standard output of a run with the computation time, which varies, replaced
// by "<time>" after checking its form (scientific, six decimals).
inline std::string withoutTime(const std::string& out) {
  const std::string label = "Computation Time (user + system): ";
  const std::string::size_type start = out.find(label);
  const std::string::size_type end = out.find(" seconds\n", start);
  if (start == std::string::npos || end == std::string::npos) {
    return out;
  }
  const std::string time = out.substr(start + label.size(), end - start - label.size());
  const std::string form = "0.000000e+00";
  bool matches = time.size() == form.size();
  for (size_t i = 0; matches && i < time.size(); i++) {
    matches = form[i] == '0' ? std::isdigit(static_cast<unsigned char>(time[i])) != 0
                             : form[i] == time[i] || (i == 9 && time[i] == '-');
  }
  EXPECT_TRUE(matches) << "computation time " << time;
  return out.substr(0, start) + "<time>\n" + out.substr(end + 9);
}

inline std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string::size_type start = 0;
  for (std::string::size_type end; (end = text.find('\n', start)) != std::string::npos;
       start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  if (start != text.size()) {
    ADD_FAILURE() << "the last line has no line feed: " << text.substr(start);
  }
  return lines;
}

// The records of an ".arm" file, one line "n: t=v t=v" per state, after
// checking the header (output type 1, the count of records, the rest of a
// placeholder of the given width), that the states are 1, 2, ... in order
// and that each record's targets ascend.
inline std::string armRecords(const std::string& text, int placeholder) {
  const std::vector<std::string> lines = splitLines(text);
  if (lines.size() < 2 || lines[0] != "1") {
    ADD_FAILURE() << "no header in\n" << text;
    return "";
  }
  const std::string& count = lines[1];
  size_t next = 2;
  const int padding = placeholder - static_cast<int>(count.size()) - 1;
  if (padding >= 0) {
    EXPECT_EQ(std::string(padding, ' '), lines.size() > 2 ? lines[2] : "") << "padding";
    next = 3;
  }
  std::string records;
  unsigned long numRecords = 0;
  while (next < lines.size()) {
    const unsigned long state = std::stoul(lines[next++]);
    EXPECT_EQ(++numRecords, state) << "record order";
    records += (numRecords > 1 ? "\n" : "") + std::to_string(state) + ":";
    unsigned long lastTarget = 0;
    while (next < lines.size() && lines[next] != "0") {
      const unsigned long target = std::stoul(lines[next]);
      EXPECT_LT(lastTarget, target) << "targets of state " << state << " ascend";
      lastTarget = target;
      EXPECT_LT(next + 1, lines.size()) << "target " << target << " without a value";
      records += " " + lines[next] + "=" + (next + 1 < lines.size() ? lines[next + 1] : "");
      next += 2;
    }
    EXPECT_LT(next, lines.size()) << "record of state " << state << " not ended by 0";
    next++;
  }
  EXPECT_EQ(count, std::to_string(numRecords)) << "count of records";
  return records;
}

// The records of a ".det" file, one line "delay: s s" per delay, after
// checking that the count matches the entries and every entry ends with 0.
inline std::string detRecords(const std::string& text) {
  const std::vector<std::string> lines = splitLines(text);
  if (lines.empty()) {
    ADD_FAILURE() << "empty .det file";
    return "";
  }
  std::string records;
  size_t next = 1;
  int entries = 0;
  while (next < lines.size()) {
    records += (entries++ > 0 ? "\n" : "") + lines[next++] + ":";
    while (next < lines.size() && lines[next] != "0") {
      records += " " + lines[next++];
    }
    EXPECT_LT(next, lines.size()) << "entry " << entries << " not ended by 0";
    next++;
  }
  EXPECT_EQ(lines[0], std::to_string(entries)) << "count of delays";
  return records;
}

}  // namespace ssg_test

#endif
