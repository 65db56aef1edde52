#include "Cpp/BaseClasses/State.h"

#include <cstdint>
#include <cstring>

#include "Cpp/BaseClasses/FrameworkAssert.h"

namespace {

const unsigned int primes[256] = {
    2,    3,    5,    7,    11,   13,   17,   19,   23,   29,   31,   37,   41,   43,   47,   53,
    59,   61,   67,   71,   73,   79,   83,   89,   97,   101,  103,  107,  109,  113,  127,  131,
    137,  139,  149,  151,  157,  163,  167,  173,  179,  181,  191,  193,  197,  199,  211,  223,
    227,  229,  233,  239,  241,  251,  257,  263,  269,  271,  277,  281,  283,  293,  307,  311,
    313,  317,  331,  337,  347,  349,  353,  359,  367,  373,  379,  383,  389,  397,  401,  409,
    419,  421,  431,  433,  439,  443,  449,  457,  461,  463,  467,  479,  487,  491,  499,  503,
    509,  521,  523,  541,  547,  557,  563,  569,  571,  577,  587,  593,  599,  601,  607,  613,
    617,  619,  631,  641,  643,  647,  653,  659,  661,  673,  677,  683,  691,  701,  709,  719,
    727,  733,  739,  743,  751,  757,  761,  769,  773,  787,  797,  809,  811,  821,  823,  827,
    829,  839,  853,  857,  859,  863,  877,  881,  883,  887,  907,  911,  919,  929,  937,  941,
    947,  953,  967,  971,  977,  983,  991,  997,  1009, 1013, 1019, 1021, 1031, 1033, 1039, 1049,
    1051, 1061, 1063, 1069, 1087, 1091, 1093, 1097, 1103, 1109, 1117, 1123, 1129, 1151, 1153, 1163,
    1171, 1181, 1187, 1193, 1201, 1213, 1217, 1223, 1229, 1231, 1237, 1249, 1259, 1277, 1279, 1283,
    1289, 1291, 1297, 1301, 1303, 1307, 1319, 1321, 1327, 1361, 1367, 1373, 1381, 1399, 1409, 1423,
    1427, 1429, 1433, 1439, 1447, 1451, 1453, 1459, 1471, 1481, 1483, 1487, 1489, 1493, 1499, 1511,
    1523, 1531, 1543, 1549, 1553, 1559, 1567, 1571, 1579, 1583, 1597, 1601, 1607, 1609, 1613, 1619,
};

}  // namespace

unsigned int State::hash() { return 1; }

int State::compare(const State&) const { return 1; }

State::~State() {}

ByteState::ByteState(int stateSize, const char* assertFile)
    : StatePtr(new char[stateSize > 0 ? stateSize : 1]), size(stateSize), AssertFile(assertFile) {}

ByteState::~ByteState() { delete[] StatePtr; }

unsigned int ByteState::hash() {
  unsigned int sum = 0;
  for (int i = 0; i < size; i++) {
    sum += static_cast<unsigned int>(static_cast<signed char>(StatePtr[i])) * primes[i % 256];
  }
  return sum;
}

int ByteState::compare(const State& other) const {
  const ByteState& that = static_cast<const ByteState&>(other);
  if (size <= 0) {
    return 0;
  }
  int order = std::memcmp(StatePtr, that.StatePtr, size);
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

void ByteState::print() {
  for (int i = 0; i < size; i++) {
    std::printf("%5d", static_cast<signed char>(StatePtr[i]));
  }
  std::printf("\n");
}

int ByteState::fwriteState(FILE* f) {
  int32_t stored = size;
  if (std::fwrite(&stored, sizeof stored, 1, f) != 1) {
    return 1;
  }
  size_t written = std::fwrite(StatePtr, 1, size, f);
  return written < static_cast<size_t>(size) ? 1 : 0;
}

int ByteState::freadState(FILE* f) {
  int32_t stored = 0;
  if (std::fread(&stored, sizeof stored, 1, f) != 1 || stored != size) {
    return 1;
  }
  size_t read = std::fread(StatePtr, 1, size, f);
  return read < static_cast<size_t>(size) ? 1 : 0;
}

State& ByteState::operator=(const State& other) {
  if (&other == this) {
    return *this;
  }
  const ByteState* _localS = static_cast<const ByteState*>(&other);
  SAN_ASSERT(size == _localS->size, "size == _localS->size", AssertFile);
  std::memcpy(StatePtr, _localS->StatePtr, size);
  return *this;
}

char* ByteState::GetStatePtr() { return StatePtr; }
