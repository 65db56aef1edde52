#include "compiler/Parser.h"

#include <algorithm>
#include <array>
#include <set>

#include "compiler/ExpressionParser.h"

namespace sanc {

namespace {

constexpr std::array<std::string_view, 30> kKeywords = {
    "activity", "at",   "atomic", "case",    "deterministic", "do",     "erlang",
    "formula",  "from", "global", "impulse", "import",        "in",     "instantaneous",
    "join",     "out",  "phases", "place",   "range",         "rank",   "rate",
    "rewards",  "set",  "share",  "step",    "study",         "weight", "when",
    "true",     "false"};

// Words that end a piece of C++ code inside an activity.
const std::set<std::string, std::less<>> kActivityWords = {"in",   "out",    "when", "do",
                                                           "rank", "weight", "case", "phases"};
const CodeEnd kActivityCode{kActivityWords};
const CodeEnd kArcCode{kActivityWords, true};
const CodeEnd kListItem{{}, true};

const std::vector<std::string_view> kActivityClauses = {"in",   "out",    "when", "do",
                                                        "rank", "weight", "case"};
const std::vector<std::string_view> kCaseClauses = {"out", "when", "do", "rank", "case"};
const std::vector<std::string_view> kRewardClauses = {"impulse"};

const std::array<std::pair<std::string_view, ValueType>, 7> kTypes = {{
    {"bool", ValueType::Bool},
    {"char", ValueType::Char},
    {"short", ValueType::Short},
    {"int", ValueType::Int},
    {"long", ValueType::Long},
    {"float", ValueType::Float},
    {"double", ValueType::Double},
}};

}  // namespace

bool isKeyword(std::string_view word) {
  return std::find(kKeywords.begin(), kKeywords.end(), word) != kKeywords.end();
}

std::string describe(const Token& token) {
  switch (token.kind) {
    case TokenKind::Newline:
      return "end of line";
    case TokenKind::End:
      return "end of file";
    default:
      return "'" + token.text + "'";
  }
}

Parser::Parser(std::string_view source, Diagnostics& diagnostics, int file)
    : Lex(source, diagnostics, file), Diags(diagnostics) {}

ModelFile Parser::parse() {
  ModelFile file;
  for (skipNewlines(); Lex.peek().kind != TokenKind::End && !Diags.full(); skipNewlines()) {
    try {
      statement(file);
      endOfStatement();
    } catch (const SyntaxError&) {
      recover();
      acceptPunct("}");  // a stray '}' ends no block here
    }
  }
  return file;
}

void Parser::statement(ModelFile& file) {
  const Token& first = Lex.peek();
  if (first.isWord("import")) {
    file.imports.push_back(importDecl());
  } else if (first.isWord("global")) {
    file.globals.push_back(global());
  } else if (first.isWord("formula")) {
    file.formulas.push_back(formula());
  } else if (first.isWord("atomic")) {
    file.atomics.push_back(atomic());
  } else if (first.isWord("join")) {
    file.joins.push_back(join());
  } else if (first.isWord("rewards")) {
    if (file.rewards) {
      fail(first.where,
           "the rewards are already given (line " + std::to_string(file.rewards->where.line) + ")");
    }
    file.rewards = rewards();
  } else if (first.isWord("study")) {
    if (file.study) {
      fail(first.where,
           "the study is already given (line " + std::to_string(file.study->where.line) + ")");
    }
    file.study = study();
  } else {
    fail(first.where, "expected import, global, formula, atomic, join, rewards or study, found " +
                          describe(first));
  }
}

void Parser::endOfStatement() {
  if (Lex.peek().kind != TokenKind::Newline && Lex.peek().kind != TokenKind::End) {
    unexpected("after the statement");
  }
}

ImportDecl Parser::importDecl() {
  Lex.take();
  ImportDecl decl;
  do {
    decl.models.push_back(name("model"));
  } while (acceptComma());
  if (!acceptWord("from")) {
    unexpected("after the imported models (expected from)");
  }
  if (Lex.peek().kind != TokenKind::String) {
    unexpected("where the file's name in double quotes was expected");
  }
  const Token path = Lex.take();
  decl.path = Literal{path.text, path.where};
  return decl;
}

GlobalDecl Parser::global() {
  Lex.take();
  GlobalDecl decl;
  decl.type = valueType();
  decl.name = name("global variable");
  if (acceptPunct("=")) {
    Code value = expression("a default value");
    // A number as written keeps its exact spelling; anything else is
    // computed from other globals.
    const Expr* number = value.expr.get();
    const bool negative = number->kind == Expr::Kind::Unary && number->text == "-";
    if (negative) {
      number = &number->operands[0];
    }
    if (number->kind == Expr::Kind::Number || (number->kind == Expr::Kind::Boolean && !negative)) {
      decl.value = Literal{(negative ? "-" : "") + number->text, value.where};
    } else {
      decl.derived = std::move(value);
    }
  }
  return decl;
}

FormulaDecl Parser::formula() {
  Lex.take();
  FormulaDecl decl;
  decl.name = name("formula");
  expectPunct("=", "after the formula's name");
  decl.value = expression("an expression");
  return decl;
}

ValueType Parser::valueType() {
  const Token& token = Lex.peek();
  for (const auto& [spelling, type] : kTypes) {
    if (token.isWord(spelling)) {
      Lex.take();
      return type;
    }
  }
  fail(token.where,
       "expected a type (bool, char, short, int, long, float or double), found " + describe(token));
}

AtomicDecl Parser::atomic() {
  Lex.take();
  AtomicDecl decl;
  decl.name = name("atomic model");
  if (acceptPunct("(")) {
    do {
      ParamDecl param;
      param.type = valueType();
      param.name = name("parameter");
      decl.params.push_back(std::move(param));
    } while (acceptComma());
    expectPunct(")", "after the parameters");
  }
  block([&] { atomicItem(decl); });
  return decl;
}

void Parser::atomicItem(AtomicDecl& atomic) {
  const Token& first = Lex.peek();
  if (first.isWord("place")) {
    places(atomic);
  } else if (first.isWord("formula")) {
    atomic.formulas.push_back(formula());
  } else if (first.isWord("activity")) {
    atomic.activities.push_back(activity());
  } else {
    fail(first.where, "expected place, formula or activity, found " + describe(first));
  }
}

void Parser::places(AtomicDecl& atomic) {
  Lex.take();
  do {
    PlaceDecl place;
    place.name = name("place");
    place.size = subscript("the size");
    if (acceptPunct("=")) {
      place.initial = expression("an initial marking");
    }
    atomic.places.push_back(std::move(place));
  } while (acceptComma());
}

ActivityDecl Parser::activity() {
  Lex.take();
  ActivityDecl decl;
  decl.name = name("activity");
  if (acceptPunct("[")) {
    FamilyDecl family;
    family.index = name("family's index");
    expectWords({"in"}, "after the index (expected " + family.index.text + " in first .. last)");
    family.first = expression("the first index");
    expectPunct("..", "between the first and the last index");
    family.last = expression("the last index");
    expectPunct("]", "after the last index");
    decl.family = std::move(family);
  }
  timing(decl);
  while (clause(decl.clauses, kActivityClauses)) {
  }
  while (Lex.peek().isWord("case")) {
    decl.cases.push_back(caseDecl());
  }
  return decl;
}

void Parser::timing(ActivityDecl& activity) {
  const Token& token = Lex.peek();
  if (acceptWord("rate")) {
    activity.timing = Timing::Rate;
    activity.time = expression("a rate");
  } else if (acceptWord("deterministic")) {
    activity.timing = Timing::Deterministic;
    activity.time = expression("a delay");
  } else if (acceptWord("erlang")) {
    activity.timing = Timing::Erlang;
    activity.time = expression("a rate");
    if (!Lex.peek().isWord("phases")) {
      unexpected("after the rate of an Erlang activity (expected phases)");
    }
    Lex.take();
    activity.phases = expression("a number of phases");
  } else if (acceptWord("instantaneous")) {
    activity.timing = Timing::Instantaneous;
  } else {
    fail(token.where,
         "expected rate, deterministic, erlang or instantaneous, found " + describe(token));
  }
}

// Reads one of the allowed clauses into clauses; false at a case or the
// end of the construct.
bool Parser::clause(Clauses& clauses, const std::vector<std::string_view>& allowed) {
  if (!continuesWith(allowed) || Lex.peek().isWord("case")) {
    return false;
  }
  const Token keyword = Lex.take();
  auto twice = [&](bool given) {
    if (given) {
      fail(keyword.where, "'" + keyword.text + "' is given twice");
    }
  };
  if (keyword.text == "in") {
    twice(!clauses.inputs.empty());
    clauses.inputs = arcs();
  } else if (keyword.text == "out") {
    twice(!clauses.outputs.empty());
    clauses.outputs = arcs();
  } else if (keyword.text == "when") {
    twice(clauses.guard.has_value());
    clauses.guard = code(kActivityCode, "a predicate");
  } else if (keyword.text == "do") {
    twice(clauses.statements.has_value());
    clauses.statements = statements();
  } else if (keyword.text == "rank") {
    twice(clauses.rank.has_value());
    clauses.rank = code(kActivityCode, "a rank");
  } else {
    twice(clauses.weight.has_value());
    clauses.weight = expression("a weight");
  }
  return true;
}

CaseDecl Parser::caseDecl() {
  CaseDecl decl;
  decl.where = Lex.take().where;
  decl.isWeight = acceptWord("weight");
  decl.value = expression(decl.isWeight ? "a weight" : "a probability");
  expectPunct(":", decl.isWeight ? "after the case's weight" : "after the case's probability");
  while (clause(decl.clauses, kCaseClauses)) {
  }
  return decl;
}

Code Parser::statements() {
  if (!Lex.peek().isPunct("{")) {
    unexpected("after do (expected '{')");
  }
  return Lex.block();
}

std::vector<Arc> Parser::arcs() {
  std::vector<Arc> list;
  do {
    Arc arc;
    arc.place = name("place");
    arc.index = subscript("the index");
    if (acceptPunct("*")) {
      arc.multiplicity = code(kArcCode, "a multiplicity");
    }
    list.push_back(std::move(arc));
  } while (acceptComma());
  return list;
}

JoinDecl Parser::join() {
  Lex.take();
  JoinDecl decl;
  decl.name = name("join");
  block([&] { joinItem(decl); });
  return decl;
}

void Parser::joinItem(JoinDecl& join) {
  if (acceptWord("share")) {
    share(join);
    return;
  }
  do {
    join.children.push_back(child());
  } while (acceptComma());
}

ChildDecl Parser::child() {
  ChildDecl decl;
  decl.instance = name("child");
  decl.model = decl.instance;
  if (acceptPunct("=")) {
    decl.model = name("model");
  }
  if (acceptPunct("(")) {
    if (!acceptPunct(")")) {
      do {
        decl.arguments.push_back(code(kListItem, "an argument"));
      } while (acceptComma());
      expectPunct(")", "after the arguments");
    }
  }
  if (acceptPunct("*")) {
    decl.count = code(kListItem, "a number of copies");
  }
  return decl;
}

void Parser::share(JoinDecl& join) {
  ShareDecl first;
  first.name = name("shared place");
  if (acceptPunct("=")) {
    do {
      first.members.push_back(qualifiedName());
    } while (acceptComma());
    join.shares.push_back(std::move(first));
    return;
  }
  std::vector<ShareDecl> shares{std::move(first)};
  while (acceptComma()) {
    shares.push_back(ShareDecl{name("shared place"), {}});
  }
  if (acceptWord("in")) {
    // Among some children only: each shares its place of the same name.
    do {
      const Name child = name("child");
      for (ShareDecl& share : shares) {
        share.members.push_back(QualifiedName{child, Name{share.name.text, child.where}});
      }
    } while (acceptComma());
  }
  for (ShareDecl& share : shares) {
    join.shares.push_back(std::move(share));
  }
}

QualifiedName Parser::qualifiedName() {
  QualifiedName qualified;
  qualified.model = name("model");
  expectPunct(".", "after the model's name");
  qualified.member = name("place or activity");
  return qualified;
}

RewardsDecl Parser::rewards() {
  RewardsDecl decl;
  decl.where = Lex.take().where;
  if (Lex.peek().kind == TokenKind::Identifier) {
    decl.name = name("reward model");
  }
  block([&] { decl.variables.push_back(reward()); });
  return decl;
}

RewardDecl Parser::reward() {
  RewardDecl decl;
  decl.name = name("reward variable");
  rewardKind(decl);
  const bool condition = decl.condition.has_value();
  if (!condition && acceptPunct("=")) {
    decl.rate = expression("a rate reward");
  }
  while (continuesWith(kRewardClauses)) {
    ImpulseDecl impulse;
    impulse.where = Lex.take().where;
    impulse.activity = qualifiedName();
    expectPunct("=", "after the impulse's activity");
    impulse.value = expression("an impulse");
    decl.impulses.push_back(std::move(impulse));
  }
  return decl;
}

void Parser::rewardKind(RewardDecl& decl) {
  if (acceptWord("at")) {
    decl.kind = RewardKind::Instant;
    decl.times = timePoints();
  } else if (acceptWord("over")) {
    decl.kind = RewardKind::Interval;
    decl.intervals = intervals();
  } else if (acceptWord("average")) {
    expectWords({"over"}, "after average (expected average over [start, stop])");
    decl.kind = RewardKind::Average;
    decl.intervals = intervals();
  } else if (acceptWord("in")) {
    expectWords({"the", "long", "run"}, "after in (expected in the long run)");
    decl.kind = RewardKind::LongRun;
  } else if (acceptWord("mean")) {
    expectWords({"time", "until"}, "after mean (expected mean time until a condition)");
    decl.kind = RewardKind::MeanTimeUntil;
    decl.condition = expression("a condition");
    if (Lex.peek().isWord("at")) {
      fail(Lex.peek().where,
           "a mean time has no time points; for the probability that the condition has held "
           "by then, write " +
               decl.name.text + " probability until <condition> at <times>");
    }
  } else if (acceptWord("probability")) {
    expectWords({"until"}, "after probability (expected probability until a condition)");
    decl.kind = RewardKind::ProbabilityUntil;
    decl.condition = expression("a condition");
    expectWords({"at"}, "after the condition (expected at and the time points)");
    decl.times = timePoints();
  } else {
    unexpected("after the reward variable's name (expected at, over, average over, "
               "in the long run, mean time until or probability until)");
  }
}

std::vector<Literal> Parser::timePoints() {
  std::vector<Literal> times;
  do {
    times.push_back(literal());
  } while (acceptComma());
  return times;
}

std::vector<IntervalDecl> Parser::intervals() {
  std::vector<IntervalDecl> list;
  do {
    IntervalDecl interval;
    interval.where = expectPunct("[", "to open an interval, as in [0, 100]").where;
    interval.start = literal();
    expectPunct(",", "after the interval's start");
    interval.stop = literal();
    expectPunct("]", "after the interval's stop");
    list.push_back(std::move(interval));
  } while (acceptComma());
  return list;
}

void Parser::expectWords(std::initializer_list<std::string_view> words,
                         const std::string& context) {
  for (std::string_view word : words) {
    if (!acceptWord(word)) {
      unexpected(context);
    }
  }
}

StudyDecl Parser::study() {
  StudyDecl decl;
  decl.where = Lex.take().where;
  if (Lex.peek().kind == TokenKind::Identifier && !Lex.peek().isWord("range") &&
      !Lex.peek().isWord("set")) {
    decl.name = name("study");
  }
  if (acceptWord("set")) {
    decl.isRange = false;
  } else if (!acceptWord("range")) {
    unexpected("in the study (expected range or set)");
  }
  block([&] { decl.assignments.push_back(studyValues()); });
  return decl;
}

StudyValues Parser::studyValues() {
  StudyValues values;
  values.global = name("global variable");
  expectPunct("=", "after the global variable");
  Literal first = literal();
  if (acceptPunct("..")) {
    values.first = first;
    values.last = literal();
    if (acceptWord("step")) {
      values.step = literal();
    }
    return values;
  }
  values.list.push_back(first);
  while (acceptComma()) {
    values.list.push_back(literal());
  }
  return values;
}

std::optional<Code> Parser::subscript(const char* what) {
  if (!acceptPunct("[")) {
    return std::nullopt;
  }
  Code code = expression(what);
  expectPunct("]", std::string("after ") + what);
  return code;
}

Literal Parser::literal() {
  Literal value{"", Lex.peek().where};
  if (Lex.peek().isWord("true") || Lex.peek().isWord("false")) {
    value.text = Lex.take().text;
    return value;
  }
  if (acceptPunct("-")) {
    value.text = "-";
  }
  if (Lex.peek().kind != TokenKind::Number) {
    unexpected("where a number was expected");
  }
  value.text += Lex.take().text;
  return value;
}

template <class Item>
void Parser::block(Item item) {
  const Token open = expectPunct("{", "to open the block");
  for (;;) {
    while (Lex.peek().kind == TokenKind::Newline || Lex.peek().isPunct(";")) {
      Lex.take();
    }
    if (acceptPunct("}")) {
      return;
    }
    if (Lex.peek().kind == TokenKind::End || Diags.full()) {
      // An error that ran to the end of the file (an unclosed bracket)
      // explains the missing '}' already.
      if (Diags.hasErrors()) {
        throw SyntaxError{};
      }
      fail(open.where, "'{' is not closed");
    }
    try {
      item();
      if (!atItemEnd()) {
        unexpected("");
      }
    } catch (const SyntaxError&) {
      recover();
    }
  }
}

bool Parser::continuesWith(const std::vector<std::string_view>& words) {
  auto listed = [&] {
    return std::any_of(words.begin(), words.end(),
                       [&](std::string_view word) { return Lex.peek().isWord(word); });
  };
  if (Lex.peek().kind == TokenKind::Newline) {
    skipNewlines();
  }
  return listed();
}

void Parser::recover() {
  int depth = 0;
  for (;;) {
    const Token& token = Lex.peek();
    if (token.kind == TokenKind::End) {
      return;
    }
    if (depth == 0 && (token.kind == TokenKind::Newline || token.isPunct(";"))) {
      Lex.take();
      skipNewlines();
      // The continuation lines of the spoilt construct go with it.
      if (!std::any_of(kActivityClauses.begin(), kActivityClauses.end(),
                       [&](std::string_view word) { return Lex.peek().isWord(word); }) &&
          !Lex.peek().isWord("impulse")) {
        return;
      }
      continue;
    }
    if (token.isPunct("{")) {
      depth++;
    } else if (token.isPunct("}")) {
      if (depth == 0) {
        return;
      }
      depth--;
    }
    Lex.take();
  }
}

bool Parser::atItemEnd() const {
  const Token& token = Lex.peek();
  return token.startsLine || token.kind == TokenKind::Newline || token.kind == TokenKind::End ||
         token.isPunct(";") || token.isPunct("}");
}

void Parser::skipNewlines() {
  while (Lex.peek().kind == TokenKind::Newline) {
    Lex.take();
  }
}

Name Parser::name(const char* what) {
  const Token& token = Lex.peek();
  if (token.kind != TokenKind::Identifier) {
    fail(token.where, std::string("expected the name of a ") + what + ", found " + describe(token));
  }
  if (isKeyword(token.text)) {
    fail(token.where, "'" + token.text + "' is a keyword and cannot name a " + what);
  }
  Token taken = Lex.take();
  return Name{std::move(taken.text), taken.where};
}

Code Parser::code(const CodeEnd& end, const char* what) {
  const SourceLocation where = Lex.peek().where;
  Code code = Lex.code(end);
  if (code.text.empty()) {
    fail(where, std::string("expected ") + what + ", found " + describe(Lex.peek()));
  }
  return code;
}

Code Parser::expression(const char* what) {
  Code code;
  code.where = Lex.peek().where;
  code.padding = Lex.padding();
  std::optional<Expr> expr = ExpressionParser(Lex, Diags).parse(what);
  if (!expr) {
    throw SyntaxError{};
  }
  code.text = toCpp(*expr);
  forEachName(*expr, [&](const Expr& use) {
    code.names.push_back(
        CodeName{use.text, use.where, use.kind == Expr::Kind::Member ? use.member : ""});
  });
  code.expr = std::make_shared<const Expr>(std::move(*expr));
  return code;
}

Token Parser::expectPunct(std::string_view text, const std::string& context) {
  if (!Lex.peek().isPunct(text)) {
    fail(Lex.peek().where,
         "expected '" + std::string(text) + "' " + context + ", found " + describe(Lex.peek()));
  }
  return Lex.take();
}

void Parser::fail(SourceLocation where, const std::string& message) {
  const Token& token = Lex.peek();
  const bool operatorFirst =
      token.kind == TokenKind::Punct && token.startsLine && token.where.line == where.line &&
      token.where.column == where.column &&
      std::string("*/%+-<>=!&|?:,.").find(token.text[0]) != std::string::npos;
  // The line before ended the statement; say so rather than leave the
  // modeller to wonder why a line that goes on is refused.
  Diags.error(where, operatorFirst ? message +
                                         " (a statement ends at a line break: to go on with an "
                                         "expression on the next line, end the line with its "
                                         "operator)"
                                   : message);
  throw SyntaxError{};
}

void Parser::unexpected(const std::string& context) {
  const Token& token = Lex.peek();
  fail(token.where, "unexpected " + describe(token) + (context.empty() ? "" : " " + context));
}

bool Parser::acceptPunct(std::string_view text) {
  if (!Lex.peek().isPunct(text)) {
    return false;
  }
  Lex.take();
  return true;
}

bool Parser::acceptComma() {
  if (!acceptPunct(",")) {
    return false;
  }
  skipNewlines();  // a list goes on after a comma that ends a line
  return true;
}

bool Parser::acceptWord(std::string_view word) {
  if (!Lex.peek().isWord(word)) {
    return false;
  }
  Lex.take();
  return true;
}

}  // namespace sanc
