#include "netimport/PnmlReader.h"

#include <expat.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "netimport/NetLimits.h"
#include "netimport/TextInput.h"

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

std::optional<Element> elementNamed(const std::string& local) {
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

// What an id stands for.
struct IdEntry {
  enum Kind { Net, Page, Place, Transition, Arc, ReferencePlace, ReferenceTransition } kind;
  int index;
  Position at;
};

struct RawArc {
  std::string id;
  std::string source;
  std::string target;
  int weight = 1;
  Position at;
};

struct Reference {
  std::string id;
  std::string ref;
  Position at;
};

// A place or a transition that an arc end or a reference resolves to.
struct Node {
  bool isPlace;
  int index;
};

// Reads one document through expat's callbacks, then resolves the arcs.
class PnmlParser {
 public:
  explicit PnmlParser(std::string fileName) : FileName(std::move(fileName)) {}

  ReadResult<NetDescription> parse(const std::string& text);

 private:
  static void XMLCALL onStart(void* self, const XML_Char* name, const XML_Char** attributes);
  static void XMLCALL onEnd(void* self, const XML_Char* name);
  static void XMLCALL onText(void* self, const XML_Char* text, int length);
  static void XMLCALL onDoctype(void* self, const XML_Char*, const XML_Char*, const XML_Char*, int);

  void start(const std::string& qualifiedName, const XML_Char** attributes);
  void end();
  void characters(const XML_Char* text, int length);
  Position here() const;
  // Records the first problem and stops the parser.
  void fail(Position at, const std::string& message);

  std::optional<Element> knownElement(const std::string& qualifiedName);
  void enter(Element element, const XML_Char** attributes);
  // The attribute's value, or a failure naming the element when it is absent.
  std::optional<std::string> required(const XML_Char** attributes, const char* attribute,
                                      const char* element);
  bool registerId(const std::string& id, IdEntry::Kind kind, int index);
  void enterNet(Frame& frame, const XML_Char** attributes);
  void enterPage(const XML_Char** attributes);
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
  std::optional<IdEntry> referenced(const Reference& reference);
  std::optional<Node> node(const std::string& id, Position at);
  bool addArc(const RawArc& raw);

  std::string FileName;
  XML_Parser Parser = nullptr;
  std::optional<Diagnostic> Failure;
  std::vector<Frame> Frames;
  int SkipDepth = 0;  // open elements of a skipped section
  NetDescription Net;
  std::optional<Position> NetAt;
  std::deque<RawArc> RawArcs;  // a deque: no copy of them all as it grows
  std::vector<Reference> References;
  std::vector<std::optional<Node>> Resolved;  // per reference
  std::unordered_map<std::string, IdEntry> Ids;
  std::unordered_set<unsigned long long> ArcKeys;
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

Position PnmlParser::here() const {
  return {static_cast<int>(XML_GetCurrentLineNumber(Parser)),
          static_cast<int>(XML_GetCurrentColumnNumber(Parser)) + 1};
}

void PnmlParser::fail(Position at, const std::string& message) {
  if (!Failure) {
    Failure = Diagnostic{FileName, at.line, at.column, message};
    XML_StopParser(Parser, XML_FALSE);
  }
}

ReadResult<NetDescription> PnmlParser::parse(const std::string& text) {
  std::unique_ptr<XML_ParserStruct, void (*)(XML_Parser)> parser(
      XML_ParserCreateNS(nullptr, kNamespaceSeparator), XML_ParserFree);
  if (!parser) {
    return ReadResult<NetDescription>::failure({FileName, 0, 0, "out of memory"});
  }
  Parser = parser.get();
  XML_SetUserData(Parser, this);
  XML_SetElementHandler(Parser, onStart, onEnd);
  XML_SetCharacterDataHandler(Parser, onText);
  XML_SetStartDoctypeDeclHandler(Parser, onDoctype);
  Frames.emplace_back(Element::Document, Position{});
  // An element with an id takes some 40 bytes at least; room for them all
  // saves rehashing the table as a large net fills it.
  Ids.reserve(text.size() / 40);
  // In pieces: handed the whole text at once, expat keeps growing copies of
  // it, several times the file's size.
  const std::size_t piece = 1 << 16;
  bool parsed = true;
  for (std::size_t at = 0; parsed && !Failure;) {
    const std::size_t length = std::min(piece, text.size() - at);
    const bool last = at + length == text.size();
    parsed = XML_Parse(Parser, text.data() + at, static_cast<int>(length), last) == XML_STATUS_OK;
    at += length;
    if (last) {
      break;
    }
  }
  if (Failure) {
    return ReadResult<NetDescription>::failure(*Failure);
  }
  if (!parsed) {
    return ReadResult<NetDescription>::failure(
        {FileName, here().line, here().column,
         std::string("malformed XML: ") + XML_ErrorString(XML_GetErrorCode(Parser))});
  }
  return resolve();
}

std::optional<Element> PnmlParser::knownElement(const std::string& qualifiedName) {
  const std::size_t separator = qualifiedName.rfind(kNamespaceSeparator);
  const std::string local =
      separator == std::string::npos ? qualifiedName : qualifiedName.substr(separator + 1);
  if (separator != std::string::npos && qualifiedName.compare(0, separator, kPnmlNamespace) != 0) {
    fail(here(), "element '" + local + "' of namespace '" + qualifiedName.substr(0, separator) +
                     "' is not part of PNML");
    return std::nullopt;
  }
  std::optional<Element> element = elementNamed(local);
  if (!element || !allowedIn(Frames.back().element, *element)) {
    const std::string where = Frames.size() > 1 ? " here" : " as the document's root";
    fail(here(), "element '" + local + "' is not part of a place/transition net" + where);
    return std::nullopt;
  }
  return element;
}

void PnmlParser::start(const std::string& qualifiedName, const XML_Char** attributes) {
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
      enterPage(attributes);
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

std::optional<std::string> PnmlParser::required(const XML_Char** attributes, const char* attribute,
                                                const char* element) {
  for (int i = 0; attributes[i] != nullptr; i += 2) {
    if (std::strcmp(attributes[i], attribute) == 0) {
      return std::string(attributes[i + 1]);
    }
  }
  fail(here(), std::string("the ") + element + " has no '" + attribute + "' attribute");
  return std::nullopt;
}

bool PnmlParser::registerId(const std::string& id, IdEntry::Kind kind, int index) {
  const auto inserted = Ids.emplace(id, IdEntry{kind, index, here()});
  if (!inserted.second) {
    const Position first = inserted.first->second.at;
    fail(here(), "duplicate id '" + id + "' (first used at line " + std::to_string(first.line) +
                     ", column " + std::to_string(first.column) + ")");
  }
  return inserted.second;
}

void PnmlParser::enterNet(Frame& frame, const XML_Char** attributes) {
  if (NetAt) {
    fail(frame.at, "the document holds more than one net; netgen reads one net per file");
    return;
  }
  const std::optional<std::string> id = required(attributes, "id", "net");
  const std::optional<std::string> type = id ? required(attributes, "type", "net") : std::nullopt;
  if (!type) {
    return;
  }
  if (*type != kPtNetType) {
    const bool coloured = type->find("symmetricnet") != std::string::npos ||
                          type->find("highlevelnet") != std::string::npos ||
                          type->find("pt-hlpng") != std::string::npos;
    fail(frame.at, std::string(coloured ? "coloured nets are not supported" : "unsupported net") +
                       " (type '" + *type + "'); netgen reads place/transition nets of type '" +
                       kPtNetType + "'");
    return;
  }
  NetAt = frame.at;
  Net.id = *id;
  registerId(*id, IdEntry::Net, 0);
}

void PnmlParser::enterPage(const XML_Char** attributes) {
  if (std::optional<std::string> id = required(attributes, "id", "page")) {
    registerId(*id, IdEntry::Page, 0);
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
  std::optional<std::string> id = required(attributes, "id", "place");
  if (!id || !checkCount(Net.places.size(), net_limits::kMaxPlaces, "places") ||
      !registerId(*id, IdEntry::Place, static_cast<int>(Net.places.size()))) {
    return;
  }
  frame.object = static_cast<int>(Net.places.size());
  Net.places.push_back({std::move(*id), "", 0});
}

void PnmlParser::enterTransition(Frame& frame, const XML_Char** attributes) {
  std::optional<std::string> id = required(attributes, "id", "transition");
  if (!id || !checkCount(Net.transitions.size(), net_limits::kMaxTransitions, "transitions") ||
      !registerId(*id, IdEntry::Transition, static_cast<int>(Net.transitions.size()))) {
    return;
  }
  frame.object = static_cast<int>(Net.transitions.size());
  NetDescription::TransitionEntry transition;
  transition.id = std::move(*id);
  Net.transitions.push_back(std::move(transition));
}

void PnmlParser::enterArc(Frame& frame, const XML_Char** attributes) {
  std::optional<std::string> id = required(attributes, "id", "arc");
  std::optional<std::string> source = id ? required(attributes, "source", "arc") : std::nullopt;
  std::optional<std::string> target = source ? required(attributes, "target", "arc") : std::nullopt;
  if (!target || !checkCount(RawArcs.size(), net_limits::kMaxArcs, "arcs") ||
      !registerId(*id, IdEntry::Arc, static_cast<int>(RawArcs.size()))) {
    return;
  }
  frame.object = static_cast<int>(RawArcs.size());
  RawArcs.push_back({std::move(*id), std::move(*source), std::move(*target), 1, frame.at});
}

void PnmlParser::enterReference(Frame& frame, const XML_Char** attributes, bool place) {
  const char* element = place ? "referencePlace" : "referenceTransition";
  std::optional<std::string> id = required(attributes, "id", element);
  std::optional<std::string> ref = id ? required(attributes, "ref", element) : std::nullopt;
  const IdEntry::Kind kind = place ? IdEntry::ReferencePlace : IdEntry::ReferenceTransition;
  if (!ref || !checkCount(References.size(), net_limits::kMaxArcs, "reference nodes") ||
      !registerId(*id, kind, static_cast<int>(References.size()))) {
    return;
  }
  frame.object = static_cast<int>(References.size());
  References.push_back({std::move(*id), std::move(*ref), frame.at});
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

std::optional<Node> PnmlParser::node(const std::string& id, Position at) {
  const auto found = Ids.find(id);
  if (found == Ids.end()) {
    fail(at, "'" + id + "' names no place or transition of the net");
    return std::nullopt;
  }
  switch (found->second.kind) {
    case IdEntry::Place:
      return Node{true, found->second.index};
    case IdEntry::Transition:
      return Node{false, found->second.index};
    case IdEntry::ReferencePlace:
    case IdEntry::ReferenceTransition:
      return Resolved[found->second.index];
    default:
      fail(at, "'" + id + "' is not a place or a transition");
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
      fail(References[first].at,
           "the references from '" + References[first].id + "' run in a circle");
      return false;
    }
    visited[r] = true;
    chain.push_back(r);
    const std::optional<IdEntry> target = referenced(References[r]);
    if (!target) {
      return false;
    }
    if (target->kind == IdEntry::Place || target->kind == IdEntry::Transition) {
      end = Node{target->kind == IdEntry::Place, target->index};
    } else {
      r = target->index;
    }
  }
  for (int r : chain) {
    Resolved[r] = end;
  }
  return true;
}

std::optional<IdEntry> PnmlParser::referenced(const Reference& reference) {
  const auto target = Ids.find(reference.ref);
  const IdEntry::Kind kind = Ids.at(reference.id).kind;
  const bool wantPlace = kind == IdEntry::ReferencePlace;
  const bool fits =
      target != Ids.end() && (wantPlace ? target->second.kind == IdEntry::Place ||
                                              target->second.kind == IdEntry::ReferencePlace
                                        : target->second.kind == IdEntry::Transition ||
                                              target->second.kind == IdEntry::ReferenceTransition);
  if (!fits) {
    fail(reference.at, "reference '" + reference.id + "' refers to '" + reference.ref +
                           "', which is not a " + (wantPlace ? "place" : "transition"));
    return std::nullopt;
  }
  return target->second;
}

bool PnmlParser::addArc(const RawArc& raw) {
  const std::optional<Node> source = node(raw.source, raw.at);
  const std::optional<Node> target = source ? node(raw.target, raw.at) : std::nullopt;
  if (!target) {
    return false;
  }
  if (source->isPlace == target->isPlace) {
    fail(raw.at, "arc '" + raw.id + "' joins two " + (source->isPlace ? "places" : "transitions") +
                     " ('" + raw.source + "' and '" + raw.target + "')");
    return false;
  }
  const Node& place = source->isPlace ? *source : *target;
  const Node& transition = source->isPlace ? *target : *source;
  const unsigned long long key =
      (static_cast<unsigned long long>(place.index) << 32 | static_cast<unsigned>(transition.index))
          << 1 |
      (source->isPlace ? 1u : 0u);
  if (!ArcKeys.insert(key).second) {
    fail(raw.at,
         "arc '" + raw.id + "' repeats an arc from '" + raw.source + "' to '" + raw.target + "'");
    return false;
  }
  Net.arcs.push_back({place.index, transition.index, raw.weight, source->isPlace});
  return true;
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
  for (const RawArc& raw : RawArcs) {
    if (!addArc(raw)) {
      return ReadResult<NetDescription>::failure(*Failure);
    }
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
  return PnmlParser(fileName).parse(text);
}

ReadResult<NetDescription> readPnmlFile(const std::string& path) {
  ReadResult<std::string> text = readFileText(path, net_limits::kMaxPnmlBytes);
  if (!text.ok()) {
    return ReadResult<NetDescription>::failure(text.error);
  }
  return parsePnml(*text.value, path);
}
