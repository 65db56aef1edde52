#include "study/Sweep.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace study {

namespace {

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos) {
      return parts;
    }
    start = end + 1;
  }
}

std::optional<std::vector<std::string>> countRange(const std::vector<std::string>& bounds,
                                                   std::string& problem) {
  const std::optional<double> first = numberOf(bounds[0]);
  const std::optional<double> step = numberOf(bounds[1]);
  const std::optional<double> last = numberOf(bounds[2]);
  if (!first || !step || !last) {
    problem = "a range is first:step:last, three numbers";
    return std::nullopt;
  }
  if (*step == 0 || (*last - *first) / *step < 0) {
    problem = "the step must be non-zero and lead from first to last";
    return std::nullopt;
  }
  // A little slack, so that rounding in the division keeps the last value.
  const double steps = std::floor((*last - *first) / *step + 1e-9);
  if (steps >= static_cast<double>(kMaxSweepValues)) {
    problem = "the range has more than " + std::to_string(kMaxSweepValues) + " values";
    return std::nullopt;
  }
  std::vector<std::string> values;
  for (long i = 0; i <= static_cast<long>(steps); i++) {
    // Each from first afresh, so that no rounding accumulates.
    char text[40];
    std::snprintf(text, sizeof text, "%.15g", *first + static_cast<double>(i) * *step);
    values.push_back(text);
  }
  return values;
}

}  // namespace

std::optional<double> numberOf(const std::string& text) {
  double value = 0;
  const char* end = text.data() + text.size();
  const std::from_chars_result read = std::from_chars(text.data(), end, value);
  if (text.empty() || read.ec != std::errc() || read.ptr != end || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::optional<SweepAssignment> parseSweepAssignment(const std::string& option,
                                                    const std::string& text, bool varies,
                                                    std::string& problem) {
  const std::size_t equals = text.find('=');
  if (equals == 0 || equals == std::string::npos || equals + 1 == text.size()) {
    problem = varies ? "name=first:step:last or name=v1,v2,... expected" : "name=value expected";
    return std::nullopt;
  }
  SweepAssignment assignment{option, text.substr(0, equals), {}, varies};
  const std::string values = text.substr(equals + 1);
  if (!varies) {
    assignment.values.push_back(values);
    return assignment;
  }
  const std::vector<std::string> bounds = split(values, ':');
  if (bounds.size() == 3) {
    std::optional<std::vector<std::string>> counted = countRange(bounds, problem);
    if (!counted) {
      return std::nullopt;
    }
    assignment.values = std::move(*counted);
  } else if (bounds.size() == 1) {
    assignment.values = split(values, ',');
  } else {
    problem = "a range is first:step:last";
    return std::nullopt;
  }
  for (const std::string& value : assignment.values) {
    if (value.empty()) {
      problem = "an empty value in the list";
      return std::nullopt;
    }
  }
  if (assignment.values.size() > kMaxSweepValues) {
    problem = "more than " + std::to_string(kMaxSweepValues) + " values";
    return std::nullopt;
  }
  return assignment;
}

}  // namespace study
