#ifndef COMPILER_PARSER_H_
#define COMPILER_PARSER_H_

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/Ast.h"
#include "compiler/Diagnostics.h"
#include "compiler/Lexer.h"

namespace sanc {

// The words of the language; none of them can name anything.
bool isKeyword(std::string_view word);

// Reads a model description into its syntax tree. A syntax error is
// reported and the parser goes on after the construct (the line) it spoiled,
// so that one run reports the independent errors of a file.
class Parser {
 public:
  // file: the index of the source among the diagnostics' files.
  Parser(std::string_view source, Diagnostics& diagnostics, int file = 0);

  ModelFile parse();

 private:
  struct SyntaxError {};

  void statement(ModelFile& file);
  ImportDecl importDecl();
  GlobalDecl global();
  FormulaDecl formula();
  AtomicDecl atomic();
  void atomicItem(AtomicDecl& atomic);
  void places(AtomicDecl& atomic);
  ActivityDecl activity();
  void timing(ActivityDecl& activity);
  bool clause(Clauses& clauses, const std::vector<std::string_view>& allowed);
  CaseDecl caseDecl();
  Code statements();
  std::vector<Arc> arcs();
  JoinDecl join();
  void joinItem(JoinDecl& join);
  ChildDecl child();
  void share(JoinDecl& join);
  QualifiedName qualifiedName();
  RewardsDecl rewards();
  RewardDecl reward();
  // What the variable asks for: the words after its name, with their time
  // points, intervals or condition.
  void rewardKind(RewardDecl& decl);
  std::vector<Literal> timePoints();
  std::vector<IntervalDecl> intervals();
  StudyDecl study();
  StudyValues studyValues();
  Literal literal();
  // "[expression]" after a place's name, if there; what names it.
  std::optional<Code> subscript(const char* what);
  ValueType valueType();

  // Runs item for every item of a { ... } block; items end at a newline or
  // ';'. A syntax error skips the rest of its item.
  template <class Item>
  void block(Item item);
  // After a construct's line: true when the construct goes on, because the
  // next line (blank lines skipped) starts with one of words.
  bool continuesWith(const std::vector<std::string_view>& words);
  // Skips to the end of the current item, over any { ... } on the way.
  void recover();
  void endOfStatement();

  Name name(const char* what);
  Code code(const CodeEnd& end, const char* what);
  // An expression of the language's grammar, kept with its C++.
  Code expression(const char* what);
  Token expectPunct(std::string_view text, const std::string& context);
  // Takes words in order; the first one missing is a syntax error.
  void expectWords(std::initializer_list<std::string_view> words, const std::string& context);
  [[noreturn]] void fail(SourceLocation where, const std::string& message);
  [[noreturn]] void unexpected(const std::string& context);
  bool acceptPunct(std::string_view text);
  bool acceptWord(std::string_view word);
  // Takes a ',' and the line breaks after it.
  bool acceptComma();
  bool atItemEnd() const;
  void skipNewlines();

  Lexer Lex;
  Diagnostics& Diags;
};

// The spelling of a token for messages: "'x'", "end of line", "end of file".
std::string describe(const Token& token);

}  // namespace sanc

#endif
