#ifndef COMPILER_RUNTIME_SANRUNTIME_H_
#define COMPILER_RUNTIME_SANRUNTIME_H_

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <limits>
#include <string>
#include <type_traits>

// Checks the code that sanc generates runs on values only known when a
// model is built: counts and markings computed from global variables.
namespace sanc_runtime {

// The largest number of copies of a repeated child of a join.
constexpr long kMaxCopies = 10000;
// The most places (each place of an array counts) and activity instances
// (each case counts) a model may be built with: copies of copies multiply,
// and this bounds what a few lines can cost before exploring starts.
constexpr long kMaxPlaces = 1L << 16;
constexpr long kMaxActivities = 1L << 16;

// What a model expands to when it is built.
struct Expansion {
  long places = 0;
  long activities = 0;
};

// What copies of child added to total would pass, as "<n> places" or
// "<n> activity instances" with the limit; empty within the limits.
// copies is at most kMaxCopies and child within the limits, so nothing
// overflows.
inline std::string beyondLimits(const Expansion& total, long copies, const Expansion& child) {
  const long places = total.places + copies * child.places;
  const long activities = total.activities + copies * child.activities;
  if (places > kMaxPlaces) {
    return std::to_string(places) + " places; a model has at most " + std::to_string(kMaxPlaces);
  }
  if (activities > kMaxActivities) {
    return std::to_string(activities) + " activity instances; a model has at most " +
           std::to_string(kMaxActivities);
  }
  return "";
}

// Adds copies of child (count is the expression that gives them, empty
// for one) to total, the expansion of join; a total beyond the limits ends
// the run with a message naming them (exit status 1).
inline void addCopies(Expansion& total, long copies, const Expansion& child, const char* join,
                      const char* childName, const char* count) {
  const std::string beyond = beyondLimits(total, copies, child);
  if (!beyond.empty()) {
    std::cerr << "Error: join " << join << " with " << copies << " copies of " << childName;
    if (*count != '\0') {
      std::cerr << " (" << count << ")";
    }
    std::cerr << " would hold " << beyond << std::endl;
    std::exit(1);
  }
  total.places += copies * child.places;
  total.activities += copies * child.activities;
}

// True when a whole number lies outside 0 to largest, without converting it
// (so without overflow) whatever its type.
template <class T>
bool outside(T value, long largest) {
  static_assert(std::is_integral<T>::value && !std::is_same<T, bool>::value,
                "a count or a marking must be a whole number");
  if constexpr (std::is_signed<T>::value) {
    if (value < 0) {
      return true;
    }
  }
  return static_cast<unsigned long long>(value) > static_cast<unsigned long long>(largest);
}

// copies as the number of copies of child in join; a count outside 0 to
// kMaxCopies ends the run with a message (exit status 1).
template <class T>
int repeatCount(T copies, const char* join, const char* child) {
  if (outside(copies, kMaxCopies)) {
    std::cerr << "Error: join " << join << " asks for " << copies << " copies of " << child
              << "; the number of copies must lie between 0 and " << kMaxCopies << std::endl;
    std::exit(1);
  }
  return static_cast<int>(copies);
}

// mark as the initial marking of place in model; a marking outside 0 to
// 32767 ends the run with a message (exit status 1).
template <class T>
short initialMarking(T mark, const char* model, const char* place) {
  if (outside(mark, 32767)) {
    std::cerr << "Error: place " << place << " of model " << model << " would start with " << mark
              << " tokens; a marking must lie between 0 and 32767" << std::endl;
    std::exit(1);
  }
  return static_cast<short>(mark);
}

// A marking computed in real arithmetic: it must be a whole number from 0 to
// 32767, or the run ends with a message (exit status 1).
inline short initialMarking(double mark, const char* model, const char* place) {
  if (!(mark >= 0 && mark <= 32767 && mark == std::floor(mark))) {
    std::cerr << "Error: place " << place << " of model " << model << " would start with " << mark
              << " tokens; a marking must "
              << (mark == std::floor(mark) ? "lie between 0 and 32767" : "be a whole number")
              << std::endl;
    std::exit(1);
  }
  return static_cast<short>(mark);
}

// The value of a global variable computed from others, as its type T holds
// it: a value that T cannot hold exactly (2.5 for an int) ends the run with a
// message (exit status 1).
template <class T>
T derivedValue(double value, const char* name) {
  if constexpr (std::is_same<T, bool>::value) {
    return value != 0;
  } else if constexpr (std::is_integral<T>::value) {
    if (!(value == std::floor(value) &&
          value >= static_cast<double>(std::numeric_limits<T>::min()) &&
          value <= static_cast<double>(std::numeric_limits<T>::max()))) {
      std::cerr << "Error: the global variable " << name << " is computed as " << value
                << ", which is not a value of its type" << std::endl;
      std::exit(1);
    }
    return static_cast<T>(value);
  } else {
    return static_cast<T>(value);
  }
}

// A bound of the indices of a family of activities (written as written):
// not a whole number, or beyond the number of copies a description may ask
// for, ends the run with a message (exit status 1).
inline int familyBound(double bound, const char* model, const char* activity, const char* written) {
  if (!(bound == std::floor(bound) && bound >= -kMaxCopies && bound <= kMaxCopies)) {
    std::cerr << "Error: the family of activities " << activity << " of model " << model
              << " would run to index " << bound << " (" << written << "); its indices must "
              << "be whole numbers from " << -kMaxCopies << " to " << kMaxCopies << std::endl;
    std::exit(1);
  }
  return static_cast<int>(bound);
}

// The number of members of the family of activities activity, from index
// first to last (written as firstWritten, lastWritten): none when last
// comes before first.
inline long familySize(double first, double last, const char* model, const char* activity,
                       const char* firstWritten, const char* lastWritten) {
  const int from = familyBound(first, model, activity, firstWritten);
  const int to = familyBound(last, model, activity, lastWritten);
  return to < from ? 0 : static_cast<long>(to) - from + 1;
}

// The name of member index of the family activity: activity[index].
inline std::string familyName(const char* activity, int index) {
  return std::string(activity) + "[" + std::to_string(index) + "]";
}

// The functions of the language's expressions that C++ spells otherwise;
// min and max take the first of equal values, as std::min and std::max do.
inline double min(double a, double b) { return b < a ? b : a; }
inline double max(double a, double b) { return a < b ? b : a; }
// Whole-number division: the whole part of a / b, rounded down.
inline double div(double a, double b) { return std::floor(a / b); }

// Checks, when the model is built, the multiplicity of an arc that reads
// only global variables and parameters: one outside 1 to 32767 ends the run
// with a message (exit status 1). A multiplicity of 0 would let an activity
// fire without tokens for ever.
template <class T>
void arcMultiplicity(T value, const char* model, const char* activity, const char* place) {
  bool whole = false;
  if constexpr (std::is_floating_point<T>::value) {
    whole = value >= 1 && value <= 32767 && value == std::floor(value);
  } else if constexpr (std::is_same<T, bool>::value) {
    whole = value;
  } else {
    whole = !outside(value, 32767) && value >= 1;
  }
  if (!whole) {
    std::cerr << "Error: the arc of activity " << activity << " of model " << model
              << " to or from place " << place << " has the multiplicity " << +value
              << "; a multiplicity must be a whole number from 1 to 32767" << std::endl;
    std::exit(1);
  }
}

}  // namespace sanc_runtime

#endif
