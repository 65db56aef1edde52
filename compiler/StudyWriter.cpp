#include "compiler/StudyWriter.h"

#include <algorithm>

#include "compiler/RewardWriter.h"

namespace sanc {

void StudyWriter::declare(CodeWriter& out) const {
  const std::vector<GlobalDecl>& globals = Whole.file->globals;
  out << "// The model's global variables; the study sets them, the model reads them.\n";
  for (const GlobalDecl& global : globals) {
    out.declaration(global.name.where,
                    std::string("extern ") + typeName(global.type) + " " + global.name.text + ";");
  }
  const std::string name = className(Whole);
  out << "\n// The study: " << static_cast<long>(Whole.study.numExperiments)
      << (Whole.study.isRange ? " experiments over every combination of the values listed.\n"
                              : " experiments, each listed value by value.\n")
      << "class " << name << " : public BaseStudyClass {\n public:\n";
  for (const GlobalDecl& global : globals) {
    if (!global.derived) {
      out << "  const " << typeName(global.type) << "* " << global.name.text
          << "Values;  // NumExps entries\n";
    }
  }
  out << "\n  " << name << "();\n"
      << "  // Also deletes the reward model, and with it the model tree.\n"
      << "  ~" << name << "() override;\n\n"
      << "  // Deletes the previous reward model, if any, and builds a fresh one.\n"
      << "  PVModel* GetPVModel(bool expandTimeArrays) override;\n"
      << "  // expNum must lie in 0..NumExps-1; it is not checked here.\n"
      << "  void SetGVs(int expNum) override;\n"
      << "  // Computes the globals derived from others, unless an override set them.\n"
      << "  void DeriveGVs() override;\n"
      << "  void PrintGlobalValues(int expNum) override;\n"
      << "  void* GetGVValue(const char* name) override;\n"
      << "  // value points at a value of the variable's own type.\n"
      << "  void OverrideGVValue(const char* name, const void* value) override;\n};\n\n";
}

void StudyWriter::define(CodeWriter& out) const {
  const std::vector<GlobalDecl>& globals = Whole.file->globals;
  for (std::size_t g = 0; g < globals.size(); g++) {
    // A derived value is computed by SetGVs from the experiment's values,
    // never from the defaults at start-up, where it may not even be valid.
    out.declaration(globals[g].name.where,
                    std::string(typeName(globals[g].type)) + " " + globals[g].name.text +
                        (globals[g].derived ? "{};" : " = " + Whole.globalValues[g] + ";"));
  }
  defineValues(out);
  const std::string name = className(Whole);
  out << "BaseStudyClass* GenerateStudy() { return generateSingleStudy<" << name << ">(); }\n\n"
      << "void DestructStudy() { destructSingleStudy(); }\n\n"
      << name << "::" << name << "() {\n"
      << "  NumExps = " << static_cast<long>(Whole.study.numExperiments) << ";\n"
      << "  declareGVs(" << static_cast<long>(globals.size()) << ");\n";
  for (std::size_t g = 0; g < globals.size(); g++) {
    out << "  declareGV(" << static_cast<long>(g) << ", " << quoted(globals[g].name.text) << ", "
        << quoted(typeName(globals[g].type)) << ");\n";
    if (!globals[g].derived) {
      out << "  " << globals[g].name.text << "Values = k" << globals[g].name.text << "Values;\n";
    }
  }
  out << "  SetDefaultTavrelRoot(\"c:/Tavrel-2.4/\");\n}\n\n"
      << name << "::~" << name << "() { delete ThePVModel; }\n\n"
      << "PVModel* " << name << "::GetPVModel(bool expandTimeArrays) {\n"
      << "  delete ThePVModel;\n"
      << "  ThePVModel = newObject<" << RewardWriter::className(Whole)
      << ">(expandTimeArrays);\n  return ThePVModel;\n}\n\n";
  defineAccess(out);
}

void StudyWriter::defineValues(CodeWriter& out) const {
  const std::vector<GlobalDecl>& globals = Whole.file->globals;
  out << "\nnamespace {\n\n// Each global variable's value in every experiment.\n";
  for (std::size_t g = 0; g < globals.size(); g++) {
    if (globals[g].derived) {
      continue;
    }
    out << "const " << typeName(globals[g].type) << " k" << globals[g].name.text << "Values["
        << static_cast<long>(Whole.study.numExperiments) << "] = {";
    const std::vector<std::string>& values = Whole.study.values[g];
    for (std::size_t e = 0; e < values.size(); e++) {
      out << (e == 0 ? "" : e % 8 == 0 ? ",\n    " : ", ") << values[e];
    }
    out << "};\n";
  }
  out << "\n}  // namespace\n\n";
}

void StudyWriter::defineAccess(CodeWriter& out) const {
  const std::vector<GlobalDecl>& globals = Whole.file->globals;
  const std::string name = className(Whole);
  const bool plain = std::any_of(globals.begin(), globals.end(),
                                 [](const GlobalDecl& global) { return !global.derived; });
  out << "void " << name << "::SetGVs(" << (plain ? "int expNum" : "int") << ") {\n";
  for (const GlobalDecl& global : globals) {
    if (!global.derived) {
      out << "  " << global.name.text << " = " << global.name.text << "Values[expNum];\n";
    }
  }
  out << "  DeriveGVs();\n}\n\nvoid " << name << "::DeriveGVs() {\n";
  for (std::size_t g = 0; g < globals.size(); g++) {
    if (globals[g].derived) {
      out << "  if (!GVOverridden(" << static_cast<long>(g) << ")) {\n    " << globals[g].name.text
          << " = " << Whole.globalValues[g] << ";\n  }\n";
    }
  }
  out << "}\n\nvoid " << name << "::PrintGlobalValues(int expNum) {\n"
      << "  if (!printValuesHeading(expNum)) {\n    return;\n  }\n";
  for (const GlobalDecl& global : globals) {
    const char* shown = global.type == ValueType::Float  ? "static_cast<double>("
                        : global.type == ValueType::Char ? "static_cast<int>("
                                                         : "(";
    out << "  std::cout << " << quoted(global.name.text + "\t" + typeName(global.type) + "\t")
        << " << " << shown << global.name.text << ") << std::endl;\n";
  }
  out << "}\n\nvoid* " << name << "::GetGVValue(const char* name) {\n";
  for (const GlobalDecl& global : globals) {
    out << "  if (std::strcmp(" << quoted(global.name.text) << ", name) == 0) {\n"
        << "    return &" << global.name.text << ";\n  }\n";
  }
  out << "  reportUnknownGV(" << quoted(name) << ", \"GetGVValue\", name);\n"
      << "  return nullptr;\n}\n\n"
      << "void " << name << "::OverrideGVValue(const char* name, const void*"
      << (globals.empty() ? "" : " value") << ") {\n";
  for (const GlobalDecl& global : globals) {
    out << "  if (std::strcmp(" << quoted(global.name.text) << ", name) == 0) {\n"
        << "    std::memcpy(&" << global.name.text << ", value, sizeof " << global.name.text
        << ");\n    return;\n  }\n";
  }
  out << "  reportUnknownGV(" << quoted(name) << ", \"OverrideGVValue\", name);\n}\n\n";
}

}  // namespace sanc
