#include "compiler/JoinWriter.h"

#include <algorithm>

#include "compiler/AtomicWriter.h"

namespace sanc {

std::string JoinWriter::classOf(const Model& model, ModelRef ref) {
  return ref.kind == ModelKind::Atomic ? AtomicWriter::className(model.atomics[ref.index])
                                       : className(model.joins[ref.index]);
}

bool JoinWriter::repeats() const {
  return std::any_of(Composed.children.begin(), Composed.children.end(),
                     [](const Child& child) { return child.decl->count.has_value(); });
}

void JoinWriter::declare(CodeWriter& out) const {
  const std::string name = className(Composed);
  out << "// The names of the join's shared places, in order.\n"
      << "extern const char* " << name << "__SharedNames["
      << static_cast<long>(std::max<std::size_t>(Composed.shares.size(), 1)) << "];\n\n"
      << "// The join " << Composed.name() << ": its children in state-vector order, then its\n"
      << "// shared places.\n"
      << "class " << name << " : public Join {\n public:\n";
  for (const Child& child : Composed.children) {
    if (child.decl->count) {
      out << "  std::vector<" << childClass(child) << "*> " << child.instance()
          << ";  // the copies; owned\n";
    } else {
      out << "  " << childClass(child) << "* " << child.instance() << ";  // owned\n";
    }
  }
  for (const Share& share : Composed.shares) {
    out << "  " << placeClass(share.size) << "* " << share.name
        << " = nullptr;  // owned; null when the children are empty\n";
  }
  out << "\n  " << name << "();\n  ~" << name << "() override;\n"
      << "  // The places and activity instances the join is built with; ends the run\n"
      << "  // when they pass the limits.\n"
      << "  static sanc_runtime::Expansion expansion();\n";
  if (repeats()) {
    out << "\n private:\n  // Builds the join with the given numbers of copies of its repeated "
           "children.\n  explicit "
        << name << "(const std::vector<int>& ChildCopies);\n";
  }
  out << "};\n\n";
}

void JoinWriter::define(CodeWriter& out) const {
  const std::string name = className(Composed);
  out << "const char* " << name << "__SharedNames["
      << static_cast<long>(std::max<std::size_t>(Composed.shares.size(), 1)) << "] = {";
  for (std::size_t s = 0; s < Composed.shares.size(); s++) {
    out << (s ? ", " : "") << quoted(Composed.shares[s].name);
  }
  out << (Composed.shares.empty() ? "nullptr" : "") << "};\n\n";

  long fixedChildren = 0;
  std::string counted;
  for (const Child& child : Composed.children) {
    fixedChildren += child.decl->count ? 0 : 1;
  }
  if (repeats()) {
    out << name << "::" << name << "()\n    : " << name << "(std::vector<int>{";
    const char* separator = "";
    for (const Child& child : Composed.children) {
      if (child.decl->count) {
        out << separator << "sanc_runtime::repeatCount(";
        out.source(*child.decl->count);
        out << "    , " << quoted(Composed.name()) << ", " << quoted(child.instance()) << ")";
        separator = ", ";
      }
    }
    out << "}) {}\n\n" << name << "::" << name << "(const std::vector<int>& ChildCopies)\n";
    const auto repeated = std::count_if(Composed.children.begin(), Composed.children.end(),
                                        [](const Child& c) { return c.decl->count.has_value(); });
    for (long r = 0; r < repeated; r++) {
      counted += " + ChildCopies[" + std::to_string(r) + "]";
    }
  } else {
    out << name << "::" << name << "()\n";
  }
  out << "    : Join(" << quoted(Composed.name()) << ", " << fixedChildren << counted << ", "
      << static_cast<long>(Composed.shares.size()) << ", " << name << "__SharedNames) {\n";
  defineChildren(out);
  out << "  SetupActions();\n\n  if (AllChildrenEmpty()) {\n    NumSharedStateVariables = 0;\n"
      << "  } else {\n";
  defineShares(out);
  out << "  }\n\n  Setup();\n}\n\n";

  defineExpansion(out);
  out << name << "::~" << name << "() {\n"
      << "  // The shared places own the storage the children's places use; the\n"
      << "  // children's destructors no longer touch it.\n";
  for (const Share& share : Composed.shares) {
    out << "  delete this->" << share.name << ";\n";
  }
  for (const Child& child : Composed.children) {
    if (child.decl->count) {
      out << "  for (" << childClass(child) << "* copy : this->" << child.instance()
          << ") {\n    delete copy;\n  }\n";
    } else {
      out << "  delete this->" << child.instance() << ";\n";
    }
  }
  out << "}\n\n";
}

void JoinWriter::defineExpansion(CodeWriter& out) const {
  const std::string name = className(Composed);
  out << "sanc_runtime::Expansion " << name << "::expansion() {\n"
      << "  sanc_runtime::Expansion total;\n";
  for (const Child& child : Composed.children) {
    out << "  sanc_runtime::addCopies(total, ";
    if (child.decl->count) {
      out << "sanc_runtime::repeatCount(";
      out.source(*child.decl->count);
      out << "    , " << quoted(Composed.name()) << ", " << quoted(child.instance()) << ")";
    } else {
      out << "1";
    }
    out << ", " << childClass(child) << "::expansion(), " << quoted(Composed.name()) << ", "
        << quoted(child.instance()) << ", "
        << quoted(child.decl->count ? child.decl->count->text : "") << ");\n";
  }
  long places = 0;
  std::string builtPlaces;
  for (const Share& share : Composed.shares) {
    if (share.size == kBuiltSize) {
      builtPlaces += " + " + share.sizeCode;
    } else {
      places += share.size == 0 ? 1 : share.size;
    }
  }
  out << "  sanc_runtime::addCopies(total, 1, {" << places << builtPlaces << ", 0}, "
      << quoted(Composed.name()) << ", \"its shared places\", \"\");\n  return total;\n}\n\n";
}

void JoinWriter::defineChildren(CodeWriter& out) const {
  // The join's members go through this->, so that no name of the generated
  // code hides them.
  out << "  int NextChild = 0;\n";
  int repeated = 0;
  for (const Child& child : Composed.children) {
    const std::string& instance = child.instance();
    std::string made = "newObject<" + childClass(child) + ">(";
    if (child.decl->count) {
      out << "  for (int CopyIndex = 0; CopyIndex < ChildCopies[" << repeated++
          << "]; CopyIndex++) {\n";
      // The arguments of a copy may read its number as index.
      if (std::any_of(child.decl->arguments.begin(), child.decl->arguments.end(),
                      [](const Code& argument) { return argument.mentions("index"); })) {
        out << "    const int index = CopyIndex;\n";
      }
      out << "    this->" << instance << ".push_back(" << made;
    } else {
      out << "  this->" << instance << " = " << made;
    }
    for (std::size_t a = 0; a < child.decl->arguments.size(); a++) {
      if (a > 0) {
        out << "    , ";
      }
      out.source(child.decl->arguments[a]);
    }
    const std::string object = "this->" + instance + (child.decl->count ? ".back()" : "");
    out << (child.decl->count ? "));\n" : ");\n");
    out << (child.decl->count ? "  " : "") << "  Children[NextChild++] = " << object << ";\n"
        << (child.decl->count ? "  " : "") << "  " << object << "->DefineName(" << quoted(instance)
        << ");\n";
    if (child.decl->count) {
      if (child.model.kind == ModelKind::Atomic) {
        out << "    " << object << "->CopyNumber = CopyIndex;\n";
      }
      out << "  }\n";
    }
  }
  out << "\n";
}

void JoinWriter::defineShares(CodeWriter& out) const {
  for (const Share& share : Composed.shares) {
    out << "    " << share.name << " = newObject<" << placeClass(share.size) << ">("
        << quoted(share.name);
    if (share.size > 0) {
      out << ", " << static_cast<long>(share.size);
    } else if (share.size == kBuiltSize) {
      out << ", " << share.sizeCode;
    }
    out << ");\n"
        << "    addSharedPtr(" << share.name << ", " << quoted(share.name) << ");\n";
    for (const ShareMember& member : share.members) {
      const Child& child = Composed.children[member.child];
      if (child.decl->count) {
        out << "    for (" << childClass(child) << "* copy : this->" << child.instance() << ") {\n"
            << "      shareWithChild(" << share.name << ", copy->" << member.place
            << ", copy);\n    }\n";
      } else {
        out << "    shareWithChild(" << share.name << ", " << child.instance() << "->"
            << member.place << ", " << child.instance() << ");\n";
      }
    }
  }
}

}  // namespace sanc
