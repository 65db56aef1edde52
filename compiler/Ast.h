#ifndef COMPILER_AST_H_
#define COMPILER_AST_H_

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "compiler/Diagnostics.h"
#include "compiler/Lexer.h"

// The syntax tree of a model description, as written: names are not yet
// resolved and nothing is checked beyond the grammar.
namespace sanc {

// The value types of global variables and model parameters: those the study
// machinery can set from an override string.
enum class ValueType { Bool, Char, Short, Int, Long, Float, Double };

struct Name {
  std::string text;
  SourceLocation where;
};

// A number (with an optional sign), true/false or a character literal, as
// written in a global's default or a study.
struct Literal {
  std::string text;
  SourceLocation where;
};

// A global variable. Its default is a number (value), or an expression
// over the globals declared before it (derived): then it is computed from
// them in every experiment, and again after overrides.
struct GlobalDecl {
  Name name;
  ValueType type = ValueType::Int;
  std::optional<Literal> value;  // the default; zero when absent
  std::optional<Code> derived;
};

// formula name = expression: a named expression, usable in every expression
// of its scope (the whole file, or one atomic model) as if written there.
struct FormulaDecl {
  Name name;
  Code value;
  std::shared_ptr<const Expr> expanded;  // with the formulas it uses in place
};

struct ParamDecl {
  Name name;
  ValueType type = ValueType::Double;
};

// A place, or an array of places when it has a size (place buf[4]); an
// array's places all start with the initial marking.
struct PlaceDecl {
  Name name;
  std::optional<Code> size;     // a whole number, or an expression over globals
  std::optional<Code> initial;  // zero when absent
};

// An arc between a place (an element of an array of places, when it has an
// index) and an activity; its multiplicity is 1 when absent.
struct Arc {
  Name place;
  std::optional<Code> index;  // over parameters and globals
  std::optional<Code> multiplicity;
};

// What enables an activity or one of its cases, and what it does. A case
// has no input arcs and no weight clause of its own.
struct Clauses {
  std::vector<Arc> inputs;
  std::optional<Code> guard;
  std::optional<Code> statements;
  std::vector<Arc> outputs;
  std::optional<Code> rank;
  std::optional<Code> weight;
};

// A case of an activity: its probability (or weight), and its own enabling,
// rank and effects.
struct CaseDecl {
  SourceLocation where;
  bool isWeight = false;  // "case weight w:" rather than a probability
  Code value;
  Clauses clauses;
};

enum class Timing { Rate, Deterministic, Erlang, Instantaneous };

// activity serve[i in first .. last]: one activity for each whole number i
// from first to last, each reading its i in its expressions and code.
struct FamilyDecl {
  Name index;
  Code first;
  Code last;
};

struct ActivityDecl {
  Name name;
  std::optional<FamilyDecl> family;
  Timing timing = Timing::Rate;
  std::optional<Code> time;    // the rate, or the delay of a deterministic activity
  std::optional<Code> phases;  // of an Erlang activity
  Clauses clauses;
  std::vector<CaseDecl> cases;
};

struct AtomicDecl {
  Name name;
  std::vector<ParamDecl> params;
  std::vector<FormulaDecl> formulas;
  std::vector<PlaceDecl> places;
  std::vector<ActivityDecl> activities;
};

// A child of a join: an instance name, the model it instantiates (the same
// name unless "instance = model" renames it), arguments for the model's
// parameters, and the number of copies when repeated ("child * count").
struct ChildDecl {
  Name instance;
  Name model;
  std::vector<Code> arguments;
  std::optional<Code> count;
};

// model.name, a place or an activity of a model instance.
struct QualifiedName {
  Name model;
  Name member;
};

// A shared place: by name in every child, or under a name over the listed
// places of children ("share p in a, b" lists a.p and b.p).
struct ShareDecl {
  Name name;
  std::vector<QualifiedName> members;  // empty when shared by name in every child
};

struct JoinDecl {
  Name name;
  std::vector<ChildDecl> children;
  std::vector<ShareDecl> shares;
};

struct ImpulseDecl {
  SourceLocation where;  // of the word impulse
  QualifiedName activity;
  Code value;
};

// What a reward variable asks for: its expected rate reward at time points
// (at), its reward accumulated over intervals (over) or averaged over them
// (average over), its long-run value (in the long run), the mean time until
// a condition first holds (mean time until), or the probability that it has
// held by time points (probability until ... at).
enum class RewardKind { Instant, Interval, Average, LongRun, MeanTimeUntil, ProbabilityUntil };

// [start, stop] as written; where is its '['.
struct IntervalDecl {
  SourceLocation where;
  Literal start;
  Literal stop;
};

struct RewardDecl {
  Name name;
  RewardKind kind = RewardKind::Instant;
  std::vector<Literal> times;           // of the instant and probability kinds
  std::vector<IntervalDecl> intervals;  // of the interval and average kinds
  std::optional<Code> rate;
  std::optional<Code> condition;  // of the mean time and probability kinds
  std::vector<ImpulseDecl> impulses;
};

struct RewardsDecl {
  std::optional<Name> name;
  SourceLocation where;
  std::vector<RewardDecl> variables;
};

// The values a study gives one global variable: a list, or a range of
// integers from first to last in steps.
struct StudyValues {
  Name global;
  std::vector<Literal> list;
  std::optional<Literal> first, last, step;
};

struct StudyDecl {
  std::optional<Name> name;
  SourceLocation where;
  bool isRange = true;  // every combination; otherwise experiments one by one
  std::vector<StudyValues> assignments;
};

// import a, b from "file.san": atomic models of another description.
struct ImportDecl {
  std::vector<Name> models;
  Literal path;  // as written, relative to the importing file's folder
};

struct ModelFile {
  std::vector<ImportDecl> imports;
  std::vector<GlobalDecl> globals;
  std::vector<FormulaDecl> formulas;
  std::vector<AtomicDecl> atomics;
  std::vector<JoinDecl> joins;
  std::optional<RewardsDecl> rewards;
  std::optional<StudyDecl> study;
};

}  // namespace sanc

#endif
