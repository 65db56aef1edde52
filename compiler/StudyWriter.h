#ifndef COMPILER_STUDYWRITER_H_
#define COMPILER_STUDYWRITER_H_

#include <string>

#include "compiler/CodeWriter.h"
#include "compiler/Model.h"

namespace sanc {

// Writes the C++ of the global variables and the study: a BaseStudyClass
// subclass with each variable's value in every experiment, and
// GenerateStudy and DestructStudy.
class StudyWriter {
 public:
  explicit StudyWriter(const Model& model) : Whole(model) {}

  void declare(CodeWriter& out) const;
  void define(CodeWriter& out) const;

  // "kanban_studyRangeStudy" or "..._studySetStudy".
  static std::string className(const Model& model) {
    return model.study.name + (model.study.isRange ? "RangeStudy" : "SetStudy");
  }

 private:
  void defineValues(CodeWriter& out) const;
  void defineAccess(CodeWriter& out) const;

  const Model& Whole;
};

}  // namespace sanc

#endif
