// Fuzzes the global-variable override string (-O) against a study that
// declares one variable of every type an override can name. Whatever the
// text, each variable keeps a value of its own type and nothing is read or
// written outside it.
#include <cstring>
#include <string>

#include "Cpp/BaseClasses/BaseStudyClass.h"
#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzTarget.h"
#include "fuzz/SilencedStreams.h"

namespace {

struct Globals {
  short s = 0;
  int i = 0;
  long l = 0;
  float f = 0;
  double d = 0;
  char c = 0;
  bool b = false;
};

class OverrideStudy : public BaseStudyClass {
 public:
  OverrideStudy() {
    NumExps = 1;
    declareGVs(7);
    declareGV(0, "s", "short");
    declareGV(1, "i", "int");
    declareGV(2, "l", "long");
    declareGV(3, "f", "float");
    declareGV(4, "d", "double");
    declareGV(5, "c", "char");
    declareGV(6, "b", "bool");
  }

  void* GetGVValue(const char* name) override { return addressOf(name); }

  void OverrideGVValue(const char* name, const void* value) override {
    void* target = addressOf(name);
    if (target != nullptr) {
      std::memcpy(target, value, sizeOf(name));
    }
  }

  Globals Values;

 private:
  void* addressOf(const char* name) {
    switch (std::strlen(name) == 1 ? name[0] : '\0') {
      case 's': return &Values.s;
      case 'i': return &Values.i;
      case 'l': return &Values.l;
      case 'f': return &Values.f;
      case 'd': return &Values.d;
      case 'c': return &Values.c;
      case 'b': return &Values.b;
      default: return nullptr;
    }
  }

  static std::size_t sizeOf(const char* name) {
    switch (name[0]) {
      case 's': return sizeof(short);
      case 'i': return sizeof(int);
      case 'l': return sizeof(long);
      case 'f': return sizeof(float);
      case 'd': return sizeof(double);
      case 'c': return sizeof(char);
      default: return sizeof(bool);
    }
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The override string reaches the study as a C string, as from argv.
  const std::string text(reinterpret_cast<const char*>(data), size);
  SilencedStreams silenced;
  OverrideStudy study;
  study.overrideGVs(text.c_str());
  // A bool holding another byte than 0 or 1 is no bool at all.
  unsigned char flag = 0;
  std::memcpy(&flag, &study.Values.b, 1);
  require(flag <= 1);
  return 0;
}
