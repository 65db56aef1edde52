#include "netimport/PnmlReader.h"

#include <expat.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "common/TextFile.h"
#include "netimport/IdTable.h"
#include "netimport/NetLimits.h"

namespace {

const char kPnmlNamespace[] = "http://www.pnml.org/version-2009/grammar/pnml";
const char kPtNetType[] = "http://www.pnml.org/version-2009/grammar/ptnet";
// Expat joins an element's namespace and local name with this character.
const char kNamespaceSeparator = ' ';

// The elements the reader knows; Skipped stands for a graphics or
// tool-specific section, whose content is not looked at.
enum class Element {
  Document,
  Pnml,
  Net,
  Page,
  Place,
  Transition,
  Arc,
  ReferencePlace,
  ReferenceTransition,
  Name,
  InitialMarking,
  Inscription,
  Text,
  Skipped
};

struct ElementName {
  const char* local;
  Element element;
};

const ElementName kElementNames[] = {
    {"pnml", Element::Pnml},
    {"net", Element::Net},
    {"page", Element::Page},
    {"place", Element::Place},
    {"transition", Element::Transition},
    {"arc", Element::Arc},
    {"referencePlace", Element::ReferencePlace},
    {"referenceTransition", Element::ReferenceTransition},
    {"name", Element::Name},
    {"initialMarking", Element::InitialMarking},
    {"inscription", Element::Inscription},
    {"text", Element::Text},
    {"graphics", Element::Skipped},
    {"toolspecific", Element::Skipped},
};

std::optional<Element> elementNamed(std::string_view local) {
  for (const ElementName& entry : kElementNames) {
    if (local == entry.local) {
      return entry.element;
    }
  }
  return std::nullopt;
}

// Whether the grammar of a place/transition net lets child appear in parent.
bool allowedIn(Element parent, Element child) {
  const bool decoration = child == Element::Name || child == Element::Skipped;
  switch (parent) {
    case Element::Document:
      return child == Element::Pnml;
    case Element::Pnml:
      return child == Element::Net;
    case Element::Net:
      return decoration || child == Element::Page;
    case Element::Page:
      return decoration || child == Element::Page || child == Element::Place ||
             child == Element::Transition || child == Element::Arc ||
             child == Element::ReferencePlace || child == Element::ReferenceTransition;
    case Element::Place:
      return decoration || child == Element::InitialMarking;
    case Element::Arc:
      return decoration || child == Element::Inscription;
    case Element::Transition:
    case Element::ReferencePlace:
    case Element::ReferenceTransition:
      return decoration;
    case Element::Name:
    case Element::InitialMarking:
    case Element::Inscription:
      return child == Element::Text || child == Element::Skipped;
    default:  // a text element holds text only
      return false;
  }
}

bool isXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string trimmed(const std::string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && isXmlSpace(text[begin])) {
    begin++;
  }
  while (end > begin && isXmlSpace(text[end - 1])) {
    end--;
  }
  return text.substr(begin, end - begin);
}

// The value of a text of decimal digits (XML white space around them
// allowed) up to net_limits::kMaxMarking; -1 when it is not such a number,
// -2 when it is larger.
int tokenCount(const std::string& text) {
  const std::string digits = trimmed(text);
  if (digits.empty()) {
    return -1;
  }
  int value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') {
      return -1;
    }
    value = value * 10 + (c - '0');
    if (value > net_limits::kMaxMarking) {
      return -2;
    }
  }
  return value;
}

struct Position {
  int line = 0;
  int column = 0;
};

// An element being read, with what it has gathered so far.
struct Frame {
  Frame(Element element, Position at) : element(element), at(at) {}

  Element element;
  Position at;
  int object = -1;   // its place, transition, arc or reference, by index
  std::string text;  // a text element's content; a label's text
  bool hasText = false;
  bool hasName = false;
  bool hasLabel = false;  // an initial marking or an inscription
};

using Kind = IdTable::Kind;

// An arc as read: its own id and its ends by their numbers in the id
// table, resolved once the whole document is read. Its position is its
// id's.
struct RawArc {
  unsigned int id;
  unsigned int source;
  unsigned int target;
  int weight;
};

// A reference node as read: its id and the id it refers to.
struct Reference {
  unsigned int id;
  unsigned int ref;
};

// A place or a transition that an arc end or a reference resolves to.
struct Node {
  bool isPlace;
  int index;
};

// Reads one document through expat's callbacks, fed piece by piece, then
// resolves the arcs.
class PnmlParser {
 public:
  // sizeHint: about the document's size in bytes, to size the tables.
  PnmlParser(std::string fileName, std::size_t sizeHint);

  // Parses the next piece of the document (last: the final one); false
  // once it has failed.
  bool feed(std::string_view piece, bool last);
  // The net, once the final piece is fed; or the first problem.
  ReadResult<NetDescription> finish();

 private:
  static void XMLCALL onStart(void* self, const XML_Char* name, const XML_Char** attributes);
  static void XMLCALL onEnd(void* self, const XML_Char* name);
  static void XMLCALL onText(void* self, const XML_Char* text, int length);
  static void XMLCALL onDoctype(void* self, const XML_Char*, const XML_Char*, const XML_Char*, int);

  void start(const char* qualifiedName, const XML_Char** attributes);
  void end();
  void characters(const XML_Char* text, int length);
  Position here() const;
  // Records the first problem and stops the parser.
  void fail(Position at, const std::string& message);

  std::optional<Element> knownElement(std::string_view qualifiedName);
  void enter(Element element, const XML_Char** attributes);
  // The attribute's value, or null after a failure naming the element when
  // it is absent.
  const char* required(const XML_Char** attributes, const char* attribute, const char* element);
  // Defines id as the element of frame; its number in the table, or
  // nullopt after a failure when the id is taken.
  std::optional<unsigned int> registerId(const char* id, Kind kind, int index, const Frame& frame);
  void enterNet(Frame& frame, const XML_Char** attributes);
  void enterPage(Frame& frame, const XML_Char** attributes);
  void enterPlace(Frame& frame, const XML_Char** attributes);
  void enterTransition(Frame& frame, const XML_Char** attributes);
  void enterArc(Frame& frame, const XML_Char** attributes);
  void enterReference(Frame& frame, const XML_Char** attributes, bool place);
  bool checkCount(std::size_t count, int limit, const char* what);
  void endText(Frame& text, Frame& label);
  void endName(Frame& name, Frame& owner);
  void endLabel(Frame& label, Frame& owner);

  ReadResult<NetDescription> resolve();
  // Resolves every reference node, once, to the place or transition at the
  // end of its chain of references.
  bool resolveReferences();
  bool resolveChain(int first, std::vector<bool>& visited);
  // What reference refers to, when it is of the reference's kind.
  std::optional<IdTable::Entry> referenced(const Reference& reference);
  Position positionOf(unsigned int id) const;
  std::string quoted(unsigned int id) const;
  std::optional<Node> node(unsigned int id, Position at);
  bool addArc(const RawArc& raw);
  // The first arc, in document order, that repeats an arc of Net.arcs
  // before it (same place, transition and direction), or -1.
  long firstRepeatedArc() const;

  std::string FileName;
  std::unique_ptr<XML_ParserStruct, void (*)(XML_Parser)> Parser;
  std::optional<Diagnostic> Failure;
  bool Parsed = true;  // expat has taken every piece so far
  std::vector<Frame> Frames;
  int SkipDepth = 0;  // open elements of a skipped section
  NetDescription Net;
  std::optional<Position> NetAt;
  IdTable Ids;
  std::vector<RawArc> RawArcs;
  std::vector<Reference> References;
  std::vector<std::optional<Node>> Resolved;  // per reference
};

void XMLCALL PnmlParser::onStart(void* self, const XML_Char* name, const XML_Char** attributes) {
  static_cast<PnmlParser*>(self)->start(name, attributes);
}

void XMLCALL PnmlParser::onEnd(void* self, const XML_Char*) {
  static_cast<PnmlParser*>(self)->end();
}

void XMLCALL PnmlParser::onText(void* self, const XML_Char* text, int length) {
  static_cast<PnmlParser*>(self)->characters(text, length);
}

void XMLCALL PnmlParser::onDoctype(void* self, const XML_Char*, const XML_Char*, const XML_Char*,
                                   int) {
  // Refused outright: PNML needs none, and entity declarations are how a
  // small document grows into a huge one.
  PnmlParser* parser = static_cast<PnmlParser*>(self);
  parser->fail(parser->here(), "document type declarations are not supported in PNML");
}

PnmlParser::PnmlParser(std::string fileName, std::size_t sizeHint)
    : FileName(std::move(fileName)),
      Parser(XML_ParserCreateNS(nullptr, kNamespaceSeparator), XML_ParserFree) {
  if (!Parser) {
    Failure = Diagnostic{FileName, 0, 0, "out of memory"};
    return;
  }
  XML_SetUserData(Parser.get(), this);
  XML_SetElementHandler(Parser.get(), onStart, onEnd);
  XML_SetCharacterDataHandler(Parser.get(), onText);
  XML_SetStartDoctypeDeclHandler(Parser.get(), onDoctype);
  Frames.emplace_back(Element::Document, Position{});
  // An element with an id takes some 40 bytes at least, an arc some 50:
  // room for them all saves growing the tables as a large net fills them.
  Ids.reserve(sizeHint / 40);
  RawArcs.reserve(sizeHint / 50);
}

Position PnmlParser::here() const {
  return {static_cast<int>(XML_GetCurrentLineNumber(Parser.get())),
          static_cast<int>(XML_GetCurrentColumnNumber(Parser.get())) + 1};
}

void PnmlParser::fail(Position at, const std::string& message) {
  if (!Failure) {
    Failure = Diagnostic{FileName, at.line, at.column, message};
    XML_StopParser(Parser.get(), XML_FALSE);
  }
}

bool PnmlParser::feed(std::string_view piece, bool last) {
  // In pieces: handed a whole large text at once, expat keeps growing
  // copies of it, several times its size.
  const std::size_t most = 1 << 16;
  do {
    const std::size_t length = std::min(most, piece.size());
    const bool final = last && length == piece.size();
    Parsed = !Failure && XML_Parse(Parser.get(), piece.data(), static_cast<int>(length), final) ==
                             XML_STATUS_OK;
    piece.remove_prefix(length);
  } while (Parsed && !Failure && !piece.empty());
  return Parsed && !Failure;
}

ReadResult<NetDescription> PnmlParser::finish() {
  if (Failure) {
    return ReadResult<NetDescription>::failure(*Failure);
  }
  if (!Parsed) {
    return ReadResult<NetDescription>::failure(
        {FileName, here().line, here().column,
         std::string("malformed XML: ") + XML_ErrorString(XML_GetErrorCode(Parser.get()))});
  }
  return resolve();
}

std::optional<Element> PnmlParser::knownElement(std::string_view qualifiedName) {
  const std::size_t separator = qualifiedName.rfind(kNamespaceSeparator);
  const std::string_view local =
      separator == std::string_view::npos ? qualifiedName : qualifiedName.substr(separator + 1);
  if (separator != std::string_view::npos && qualifiedName.substr(0, separator) != kPnmlNamespace) {
    fail(here(), "element '" + std::string(local) + "' of namespace '" +
                     std::string(qualifiedName.substr(0, separator)) + "' is not part of PNML");
    return std::nullopt;
  }
  std::optional<Element> element = elementNamed(local);
  if (!element || !allowedIn(Frames.back().element, *element)) {
    const std::string where = Frames.size() > 1 ? " here" : " as the document's root";
    fail(here(), "element '" + std::string(local) + "' is not part of a place/transition net" +
                     where);
    return std::nullopt;
  }
  return element;
}

void PnmlParser::start(const char* qualifiedName, const XML_Char** attributes) {
  if (Failure) {
    return;
  }
  if (static_cast<int>(Frames.size()) + SkipDepth > net_limits::kMaxElementDepth) {
    fail(here(), "elements nest deeper than " + std::to_string(net_limits::kMaxElementDepth));
  } else if (SkipDepth > 0) {
    SkipDepth++;
  } else if (std::optional<Element> element = knownElement(qualifiedName)) {
    if (*element == Element::Skipped) {
      SkipDepth = 1;
    } else {
      enter(*element, attributes);
    }
  }
}

void PnmlParser::enter(Element element, const XML_Char** attributes) {
  Frames.emplace_back(element, here());
  Frame& frame = Frames.back();
  switch (element) {
    case Element::Net:
      enterNet(frame, attributes);
      break;
    case Element::Page:
      enterPage(frame, attributes);
      break;
    case Element::Place:
      enterPlace(frame, attributes);
      break;
    case Element::Transition:
      enterTransition(frame, attributes);
      break;
    case Element::Arc:
      enterArc(frame, attributes);
      break;
    case Element::ReferencePlace:
    case Element::ReferenceTransition:
      enterReference(frame, attributes, element == Element::ReferencePlace);
      break;
    default:
      break;
  }
}

const char* PnmlParser::required(const XML_Char** attributes, const char* attribute,
                                 const char* element) {
  for (int i = 0; attributes[i] != nullptr; i += 2) {
    if (std::strcmp(attributes[i], attribute) == 0) {
      return attributes[i + 1];
    }
  }
  fail(here(), std::string("the ") + element + " has no '" + attribute + "' attribute");
  return nullptr;
}

std::optional<unsigned int> PnmlParser::registerId(const char* id, Kind kind, int index,
                                                   const Frame& frame) {
  const unsigned int number = Ids.intern(id);
  if (!Ids.define(number, {kind, index, frame.at.line, frame.at.column})) {
    const Position first = positionOf(number);
    fail(frame.at, "duplicate id '" + std::string(id) + "' (first used at line " +
                       std::to_string(first.line) + ", column " + std::to_string(first.column) +
                       ")");
    return std::nullopt;
  }
  return number;
}

void PnmlParser::enterNet(Frame& frame, const XML_Char** attributes) {
  if (NetAt) {
    fail(frame.at, "the document holds more than one net; netgen reads one net per file");
    return;
  }
  const char* id = required(attributes, "id", "net");
  const char* type = id ? required(attributes, "type", "net") : nullptr;
  if (!type) {
    return;
  }
  const std::string_view typeName = type;
  if (typeName != kPtNetType) {
    const bool coloured = typeName.find("symmetricnet") != std::string_view::npos ||
                          typeName.find("highlevelnet") != std::string_view::npos ||
                          typeName.find("pt-hlpng") != std::string_view::npos;
    fail(frame.at, std::string(coloured ? "coloured nets are not supported" : "unsupported net") +
                       " (type '" + type + "'); netgen reads place/transition nets of type '" +
                       kPtNetType + "'");
    return;
  }
  NetAt = frame.at;
  Net.id = id;
  registerId(id, Kind::Net, 0, frame);
}

void PnmlParser::enterPage(Frame& frame, const XML_Char** attributes) {
  if (const char* id = required(attributes, "id", "page")) {
    registerId(id, Kind::Page, 0, frame);
  }
}

bool PnmlParser::checkCount(std::size_t count, int limit, const char* what) {
  if (count >= static_cast<std::size_t>(limit)) {
    fail(here(), std::string("the net has more than ") + std::to_string(limit) + " " + what);
    return false;
  }
  return true;
}

void PnmlParser::enterPlace(Frame& frame, const XML_Char** attributes) {
  const char* id = required(attributes, "id", "place");
  const int index = static_cast<int>(Net.places.size());
  if (!id || !checkCount(Net.places.size(), net_limits::kMaxPlaces, "places") ||
      !registerId(id, Kind::Place, index, frame)) {
    return;
  }
  frame.object = index;
  Net.places.push_back({id, "", 0});
}

void PnmlParser::enterTransition(Frame& frame, const XML_Char** attributes) {
  const char* id = required(attributes, "id", "transition");
  const int index = static_cast<int>(Net.transitions.size());
  if (!id || !checkCount(Net.transitions.size(), net_limits::kMaxTransitions, "transitions") ||
      !registerId(id, Kind::Transition, index, frame)) {
    return;
  }
  frame.object = index;
  NetDescription::TransitionEntry transition;
  transition.id = id;
  Net.transitions.push_back(std::move(transition));
}

void PnmlParser::enterArc(Frame& frame, const XML_Char** attributes) {
  const char* id = required(attributes, "id", "arc");
  const char* source = id ? required(attributes, "source", "arc") : nullptr;
  const char* target = source ? required(attributes, "target", "arc") : nullptr;
  const int index = static_cast<int>(RawArcs.size());
  if (!target || !checkCount(RawArcs.size(), net_limits::kMaxArcs, "arcs")) {
    return;
  }
  const std::optional<unsigned int> number = registerId(id, Kind::Arc, index, frame);
  if (!number) {
    return;
  }
  frame.object = index;
  RawArcs.push_back({*number, Ids.intern(source), Ids.intern(target), 1});
}

void PnmlParser::enterReference(Frame& frame, const XML_Char** attributes, bool place) {
  const char* element = place ? "referencePlace" : "referenceTransition";
  const char* id = required(attributes, "id", element);
  const char* ref = id ? required(attributes, "ref", element) : nullptr;
  const Kind kind = place ? Kind::ReferencePlace : Kind::ReferenceTransition;
  const int index = static_cast<int>(References.size());
  if (!ref || !checkCount(References.size(), net_limits::kMaxArcs, "reference nodes")) {
    return;
  }
  const std::optional<unsigned int> number = registerId(id, kind, index, frame);
  if (!number) {
    return;
  }
  frame.object = index;
  References.push_back({*number, Ids.intern(ref)});
}

void PnmlParser::characters(const XML_Char* text, int length) {
  if (Failure) {
    return;
  }
  if (SkipDepth > 0) {
    return;
  }
  Frame& frame = Frames.back();
  if (frame.element == Element::Text) {
    frame.text.append(text, static_cast<std::size_t>(length));
    return;
  }
  for (int i = 0; i < length; i++) {
    if (!isXmlSpace(text[i])) {
      fail(here(), "unexpected text outside a <text> element");
      return;
    }
  }
}

void PnmlParser::end() {
  if (Failure) {
    return;
  }
  if (SkipDepth > 0) {
    SkipDepth--;
    return;
  }
  Frame frame = std::move(Frames.back());
  Frames.pop_back();
  Frame& parent = Frames.back();
  switch (frame.element) {
    case Element::Text:
      endText(frame, parent);
      break;
    case Element::Name:
      endName(frame, parent);
      break;
    case Element::InitialMarking:
    case Element::Inscription:
      endLabel(frame, parent);
      break;
    default:
      break;
  }
}

void PnmlParser::endText(Frame& text, Frame& label) {
  if (label.hasText) {
    fail(text.at, "a label holds more than one <text> element");
    return;
  }
  label.hasText = true;
  label.text = std::move(text.text);
}

void PnmlParser::endName(Frame& name, Frame& owner) {
  if (owner.hasName) {
    fail(name.at, "an object has more than one name");
    return;
  }
  owner.hasName = true;
  const std::string text = trimmed(name.text);
  if (owner.element == Element::Place && owner.object >= 0) {
    Net.places[owner.object].name = text;
  } else if (owner.element == Element::Transition && owner.object >= 0) {
    Net.transitions[owner.object].name = text;
  }
}

void PnmlParser::endLabel(Frame& label, Frame& owner) {
  const bool marking = label.element == Element::InitialMarking;
  const char* what = marking ? "initial marking" : "arc inscription";
  if (owner.hasLabel) {
    fail(label.at, std::string("more than one ") + what);
    return;
  }
  owner.hasLabel = true;
  if (!label.hasText) {
    fail(label.at, std::string("the ") + what + " has no <text>");
    return;
  }
  const int count = tokenCount(label.text);
  if (count < 0) {
    const std::string shown = "'" + trimmed(label.text) + "'";
    fail(label.at, std::string("the ") + what + " " + shown +
                       (count == -1 ? " is not a non-negative integer"
                                    : " is larger than " + std::to_string(net_limits::kMaxMarking) +
                                          ", the most a place can hold"));
    return;
  }
  if (marking) {
    Net.places[owner.object].initialMarking = count;
  } else if (count == 0) {
    // An input arc of weight 0 lets its transition fire without tokens for
    // ever; an output arc of weight 0 is no arc.
    fail(label.at, "the arc inscription is 0; an arc's weight is at least 1");
  } else {
    RawArcs[owner.object].weight = count;
  }
}

Position PnmlParser::positionOf(unsigned int id) const { return {Ids[id].line, Ids[id].column}; }

std::string PnmlParser::quoted(unsigned int id) const {
  return "'" + std::string(Ids.name(id)) + "'";
}

std::optional<Node> PnmlParser::node(unsigned int id, Position at) {
  const IdTable::Entry& entry = Ids[id];
  switch (entry.kind) {
    case Kind::Undefined:
      fail(at, quoted(id) + " names no place or transition of the net");
      return std::nullopt;
    case Kind::Place:
      return Node{true, entry.index};
    case Kind::Transition:
      return Node{false, entry.index};
    case Kind::ReferencePlace:
    case Kind::ReferenceTransition:
      return Resolved[entry.index];
    default:
      fail(at, quoted(id) + " is not a place or a transition");
      return std::nullopt;
  }
}

bool PnmlParser::resolveReferences() {
  Resolved.assign(References.size(), std::nullopt);
  std::vector<bool> visited(References.size(), false);
  for (std::size_t r = 0; r < References.size(); r++) {
    if (!Resolved[r] && !resolveChain(static_cast<int>(r), visited)) {
      return false;
    }
  }
  return true;
}

bool PnmlParser::resolveChain(int first, std::vector<bool>& visited) {
  std::vector<int> chain;
  std::optional<Node> end;
  for (int r = first; !end;) {
    if (Resolved[r]) {
      end = Resolved[r];
      break;
    }
    if (visited[r]) {
      // Met again before its chain ended: the chain runs in a circle.
      fail(positionOf(References[first].id),
           "the references from " + quoted(References[first].id) + " run in a circle");
      return false;
    }
    visited[r] = true;
    chain.push_back(r);
    const std::optional<IdTable::Entry> target = referenced(References[r]);
    if (!target) {
      return false;
    }
    if (target->kind == Kind::Place || target->kind == Kind::Transition) {
      end = Node{target->kind == Kind::Place, target->index};
    } else {
      r = target->index;
    }
  }
  for (int r : chain) {
    Resolved[r] = end;
  }
  return true;
}

std::optional<IdTable::Entry> PnmlParser::referenced(const Reference& reference) {
  const IdTable::Entry& target = Ids[reference.ref];
  const bool wantPlace = Ids[reference.id].kind == Kind::ReferencePlace;
  const bool fits = wantPlace ? target.kind == Kind::Place || target.kind == Kind::ReferencePlace
                              : target.kind == Kind::Transition ||
                                    target.kind == Kind::ReferenceTransition;
  if (!fits) {
    fail(positionOf(reference.id), "reference " + quoted(reference.id) + " refers to " +
                                       quoted(reference.ref) + ", which is not a " +
                                       (wantPlace ? "place" : "transition"));
    return std::nullopt;
  }
  return target;
}

bool PnmlParser::addArc(const RawArc& raw) {
  const Position at = positionOf(raw.id);
  const std::optional<Node> source = node(raw.source, at);
  const std::optional<Node> target = source ? node(raw.target, at) : std::nullopt;
  if (!target) {
    return false;
  }
  if (source->isPlace == target->isPlace) {
    fail(at, "arc " + quoted(raw.id) + " joins two " +
                 (source->isPlace ? "places" : "transitions") + " (" + quoted(raw.source) +
                 " and " + quoted(raw.target) + ")");
    return false;
  }
  const Node& place = source->isPlace ? *source : *target;
  const Node& transition = source->isPlace ? *target : *source;
  Net.arcs.push_back({place.index, transition.index, raw.weight, source->isPlace});
  return true;
}

long PnmlParser::firstRepeatedArc() const {
  // The arcs of each transition in document order, then for each a mark
  // per place and direction: a second arc finds the mark of its first.
  const std::vector<NetDescription::ArcEntry>& arcs = Net.arcs;
  std::vector<unsigned int> start(Net.transitions.size() + 1, 0);
  for (const NetDescription::ArcEntry& arc : arcs) {
    start[arc.transition + 1]++;
  }
  for (std::size_t t = 0; t < Net.transitions.size(); t++) {
    start[t + 1] += start[t];
  }
  std::vector<unsigned int> byTransition(arcs.size());
  std::vector<unsigned int> filled(start.begin(), start.end() - 1);
  for (std::size_t a = 0; a < arcs.size(); a++) {
    byTransition[filled[arcs[a].transition]++] = static_cast<unsigned int>(a);
  }
  std::vector<int> markedBy(2 * Net.places.size(), -1);
  long first = -1;
  for (std::size_t t = 0; t < Net.transitions.size(); t++) {
    for (unsigned int k = start[t]; k < start[t + 1]; k++) {
      const NetDescription::ArcEntry& arc = arcs[byTransition[k]];
      int& mark = markedBy[2 * arc.place + (arc.input ? 1 : 0)];
      if (mark == static_cast<int>(t)) {
        first = first < 0 ? byTransition[k] : std::min<long>(first, byTransition[k]);
      }
      mark = static_cast<int>(t);
    }
  }
  return first;
}

ReadResult<NetDescription> PnmlParser::resolve() {
  if (!NetAt) {
    return ReadResult<NetDescription>::failure({FileName, 0, 0, "the document holds no net"});
  }
  if (Net.places.empty()) {
    return ReadResult<NetDescription>::failure(
        {FileName, NetAt->line, NetAt->column, "the net is empty: it has no places"});
  }
  if (!resolveReferences()) {
    return ReadResult<NetDescription>::failure(*Failure);
  }
  Net.arcs.reserve(RawArcs.size());
  for (const RawArc& raw : RawArcs) {
    if (!addArc(raw)) {
      break;
    }
  }
  // Repeats are found among the arcs resolved; one before the arc that
  // could not be resolved comes first.
  const long repeated = firstRepeatedArc();
  if (repeated >= 0) {
    const RawArc& raw = RawArcs[repeated];
    Failure = Diagnostic{FileName, positionOf(raw.id).line, positionOf(raw.id).column,
                         "arc " + quoted(raw.id) + " repeats an arc from " + quoted(raw.source) +
                             " to " + quoted(raw.target)};
  }
  if (Failure) {
    return ReadResult<NetDescription>::failure(*Failure);
  }
  return ReadResult<NetDescription>::success(std::move(Net));
}

}  // namespace

ReadResult<NetDescription> parsePnml(const std::string& text, const std::string& fileName) {
  if (text.size() > net_limits::kMaxPnmlBytes) {
    return ReadResult<NetDescription>::failure(
        {fileName, 0, 0,
         "the file is larger than " + std::to_string(net_limits::kMaxPnmlBytes) + " bytes"});
  }
  PnmlParser parser(fileName, text.size());
  parser.feed(text, true);
  return parser.finish();
}

ReadResult<NetDescription> readPnmlFile(const std::string& path) {
  // Parsed as it is read: a large net need not be held whole as text
  // beside what is read from it.
  struct stat status {};
  const std::size_t sizeHint =
      ::stat(path.c_str(), &status) == 0 ? static_cast<std::size_t>(status.st_size) : 0;
  PnmlParser parser(path, std::min(sizeHint, net_limits::kMaxPnmlBytes));
  const std::optional<std::string> problem = readFilePieces(
      path, net_limits::kMaxPnmlBytes,
      [&parser](std::string_view piece, bool last) { return parser.feed(piece, last); });
  if (problem) {
    return ReadResult<NetDescription>::failure({path, 0, 0, *problem});
  }
  return parser.finish();
}
