// The PNML reader: what it takes from a place/transition net, and the
// diagnostic (file, line, column, message) of every input it refuses.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "netimport/PnmlReader.h"
#include "tests/TestFiles.h"

namespace {

const char kHead[] =
    "<?xml version=\"1.0\"?>\n"
    "<pnml xmlns=\"http://www.pnml.org/version-2009/grammar/pnml\">\n"
    "<net id=\"n\" type=\"http://www.pnml.org/version-2009/grammar/ptnet\">\n";
const char kTail[] = "</net>\n</pnml>\n";

// A document whose net holds body (from line 4 on).
std::string document(const std::string& body) { return kHead + body + kTail; }

// A document with one page holding body (from line 5 on).
std::string onePage(const std::string& body) {
  return document("<page id=\"pg\">\n" + body + "</page>\n");
}

const char kPlaceAndTransition[] =
    "<place id=\"p\"/>\n"
    "<transition id=\"t\"/>\n";

TEST(PnmlReaderTest, ReadsTheNetFromEveryPageInDocumentOrder) {
  const std::string text = document(
      "<name><text>A net</text></name>\n"
      "<toolspecific tool=\"x\" version=\"1\"><anything><deep/></anything></toolspecific>\n"
      "<page id=\"first\">\n"
      "  <arc id=\"in\" source=\"p1\" target=\"t1\">\n"
      "    <inscription><text> 3 </text><graphics/></inscription>\n"
      "  </arc>\n"
      "  <place id=\"p1\">\n"
      "    <name><graphics><offset x=\"1\" y=\"2\"/></graphics><text>first place</text></name>\n"
      "    <initialMarking><text>\n 7\n </text></initialMarking>\n"
      "  </place>\n"
      "  <page id=\"inner\">\n"
      "    <transition id=\"t1\"><name><text>go</text></name></transition>\n"
      "  </page>\n"
      "</page>\n"
      "<page id=\"second\">\n"
      "  <place id=\"p2\"/>\n"
      "  <referencePlace id=\"r1\" ref=\"p1\"/>\n"
      "  <referencePlace id=\"r2\" ref=\"r1\"/>\n"
      "  <referenceTransition id=\"rt\" ref=\"t1\"/>\n"
      "  <arc id=\"out\" source=\"rt\" target=\"p2\"/>\n"
      "  <arc id=\"back\" source=\"rt\" target=\"r2\"/>\n"
      "</page>\n");
  ReadResult<NetDescription> read = parsePnml(text, "net.pnml");
  ASSERT_TRUE(read.ok()) << read.error.text();
  const NetDescription& net = *read.value;
  EXPECT_EQ("n", net.id);
  ASSERT_EQ(2u, net.places.size());
  EXPECT_EQ("p1", net.places[0].id);
  EXPECT_EQ("first place", net.places[0].name);
  EXPECT_EQ(7, net.places[0].initialMarking);
  EXPECT_EQ("p2", net.places[1].id);
  EXPECT_EQ(0, net.places[1].initialMarking);
  ASSERT_EQ(1u, net.transitions.size());
  EXPECT_EQ("go", net.transitions[0].name);
  EXPECT_EQ(Exponential, net.transitions[0].distribution);
  EXPECT_EQ(1.0, net.transitions[0].parameter);
  ASSERT_EQ(3u, net.arcs.size());
  const int expected[3][4] = {{0, 0, 3, 1}, {1, 0, 1, 0}, {0, 0, 1, 0}};
  for (int a = 0; a < 3; a++) {
    EXPECT_EQ(expected[a][0], net.arcs[a].place) << "arc " << a;
    EXPECT_EQ(expected[a][1], net.arcs[a].transition) << "arc " << a;
    EXPECT_EQ(expected[a][2], net.arcs[a].weight) << "arc " << a;
    EXPECT_EQ(expected[a][3] == 1, net.arcs[a].input) << "arc " << a;
  }
}

// A place holds up to 32767 tokens: a marking and a weight of that many are
// read (one more is refused below).
TEST(PnmlReaderTest, MarkingsAndWeightsReachTheMostAPlaceHolds) {
  ReadResult<NetDescription> read = parsePnml(
      onePage("<place id=\"p\"><initialMarking><text>32767</text></initialMarking></place>\n"
              "<transition id=\"t\"/>\n"
              "<arc id=\"a\" source=\"t\" target=\"p\"><inscription><text>32767</text>"
              "</inscription></arc>\n"),
      "net.pnml");
  ASSERT_TRUE(read.ok()) << read.error.text();
  EXPECT_EQ(32767, read.value->places[0].initialMarking);
  EXPECT_EQ(32767, read.value->arcs[0].weight);
}

// Each reference is followed once: a chain as long as the references a net
// may hold costs no more than reading them.
TEST(PnmlReaderTest, ResolvesALongChainOfReferences) {
  std::string body = "<place id=\"p\"/>\n<transition id=\"t\"/>\n";
  const int length = 20000;
  for (int i = 0; i < length; i++) {
    body += "<referencePlace id=\"r" + std::to_string(i) + "\" ref=\"" +
            (i == 0 ? std::string("p") : "r" + std::to_string(i - 1)) + "\"/>\n";
  }
  body += "<arc id=\"a\" source=\"r" + std::to_string(length - 1) + "\" target=\"t\"/>\n";
  ReadResult<NetDescription> read = parsePnml(onePage(body), "chain.pnml");
  ASSERT_TRUE(read.ok()) << read.error.text();
  ASSERT_EQ(1u, read.value->arcs.size());
  EXPECT_EQ(0, read.value->arcs[0].place);
  EXPECT_TRUE(read.value->arcs[0].input);
}

TEST(PnmlReaderTest, ReadsAFileAndNamesItWhenItCannotBeRead) {
  test_files::ScratchDir dir("pnml");
  std::ofstream(dir.prefix() + "ok.pnml") << onePage(kPlaceAndTransition);
  EXPECT_TRUE(readPnmlFile(dir.prefix() + "ok.pnml").ok());

  // A file is parsed piece by piece as it is read: across the pieces it
  // gives what the whole text gives, its diagnostics' positions included.
  std::string body = kPlaceAndTransition;
  for (int i = 0; i < 5000; i++) {
    body += "<place id=\"q" + std::to_string(i) + "\"/><arc id=\"a" + std::to_string(i) +
            "\" source=\"t\" target=\"q" + std::to_string(i) + "\"/>\n";
  }
  for (const std::string& text : {onePage(body), onePage(body + "<place id=\"q4999\"/>\n")}) {
    std::ofstream(dir.prefix() + "large.pnml") << text;
    ASSERT_GT(text.size(), 200000u);
    const ReadResult<NetDescription> fromFile = readPnmlFile(dir.prefix() + "large.pnml");
    const ReadResult<NetDescription> fromText = parsePnml(text, dir.prefix() + "large.pnml");
    ASSERT_EQ(fromText.ok(), fromFile.ok());
    if (fromText.ok()) {
      EXPECT_EQ(5001u, fromFile.value->places.size());
      EXPECT_EQ(5000u, fromFile.value->arcs.size());
    } else {
      EXPECT_EQ(fromText.error.text(), fromFile.error.text());
      EXPECT_EQ(5007, fromFile.error.line);
    }
  }

  ReadResult<NetDescription> missing = readPnmlFile(dir.prefix() + "missing.pnml");
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(dir.prefix() + "missing.pnml: error: no such file", missing.error.text());
  ReadResult<NetDescription> directory = readPnmlFile(dir.path);
  ASSERT_FALSE(directory.ok());
  EXPECT_EQ(dir.path + ": error: is a directory, not a regular file", directory.error.text());
}

// Truncated, overwritten and shuffled versions of a real net: the reader
// returns a net or a diagnostic that says where, and never crashes (the
// sanitizer build watches).
TEST(PnmlReaderTest, MangledDocumentsGiveANetOrADiagnostic) {
  const std::string original =
      test_files::readFile(std::string(TEST_SOURCE_DIR) + "/netimport/nets/PGCD-PT-D02N005.pnml");
  ASSERT_FALSE(original.empty());
  std::mt19937 random(13);
  for (int trial = 0; trial < 300; trial++) {
    std::string text = original.substr(0, random() % (original.size() + 1));
    for (int change = 0; change < 3 && !text.empty(); change++) {
      const size_t at = random() % text.size();
      const char replacements[] = "<>/=\"'&!x5-\n\0";
      text[at] = replacements[random() % (sizeof replacements - 1)];
    }
    ReadResult<NetDescription> read = parsePnml(text, "mangled.pnml");
    if (!read.ok()) {
      EXPECT_EQ("mangled.pnml", read.error.file);
      EXPECT_FALSE(read.error.message.empty());
      EXPECT_GE(read.error.line, 0);
    }
  }
}

struct BadDocument {
  const char* what;
  std::string text;
  int line;
  int column;
  std::string message;
};

TEST(PnmlReaderTest, RefusesBadInputNamingWhereAndWhy) {
  std::string deep;
  for (int i = 0; i < 300; i++) {
    deep += "<a>";
  }
  std::string manyPlaces;
  for (int i = 0; i <= 32768; i++) {
    manyPlaces += "<place id=\"p" + std::to_string(i) + "\"/>";
  }
  const std::vector<BadDocument> cases = {
      {"malformed XML", onePage("<place id=\"p\">\n</page>\n"), 6, 3,
       "malformed XML: mismatched tag"},
      {"coloured net",
       "<pnml xmlns=\"http://www.pnml.org/version-2009/grammar/pnml\">\n"
       "  <net id=\"c\" type=\"http://www.pnml.org/version-2009/grammar/symmetricnet\"/>\n"
       "</pnml>\n",
       2, 3,
       "coloured nets are not supported (type "
       "'http://www.pnml.org/version-2009/grammar/symmetricnet'); netgen reads place/transition "
       "nets of type 'http://www.pnml.org/version-2009/grammar/ptnet'"},
      {"other net type",
       "<pnml xmlns=\"http://www.pnml.org/version-2009/grammar/pnml\">\n"
       "<net id=\"c\" type=\"urn:other\"/></pnml>\n",
       2, 1, "unsupported net (type 'urn:other')"},
      {"arc between places",
       onePage("<place id=\"p\"/>\n<place id=\"q\"/>\n<arc id=\"a\" source=\"p\" target=\"q\"/>\n"),
       7, 1, "arc 'a' joins two places ('p' and 'q')"},
      {"arc between transitions",
       onePage("<place id=\"p\"/>\n<transition id=\"t\"/>\n<transition id=\"u\"/>\n"
               "<arc id=\"a\" source=\"t\" target=\"u\"/>\n"),
       8, 1, "arc 'a' joins two transitions ('t' and 'u')"},
      {"arc to an unknown id",
       onePage(std::string(kPlaceAndTransition) + "<arc id=\"a\" source=\"p\" target=\"x\"/>\n"), 7,
       1, "'x' names no place or transition of the net"},
      {"arc to a page",
       onePage(std::string(kPlaceAndTransition) + "<arc id=\"a\" source=\"p\" target=\"pg\"/>\n"),
       7, 1, "'pg' is not a place or a transition"},
      {"repeated arc",
       onePage(std::string(kPlaceAndTransition) + "<arc id=\"a\" source=\"p\" target=\"t\"/>\n" +
               "<arc id=\"b\" source=\"p\" target=\"t\"/>\n"),
       8, 1, "arc 'b' repeats an arc from 'p' to 't'"},
      // The arcs are checked in document order, whatever is wrong with each.
      {"repeated arc, then one to an unknown id",
       onePage(std::string(kPlaceAndTransition) + "<arc id=\"a\" source=\"p\" target=\"t\"/>\n" +
               "<arc id=\"b\" source=\"p\" target=\"t\"/>\n" +
               "<arc id=\"c\" source=\"p\" target=\"x\"/>\n"),
       8, 1, "arc 'b' repeats an arc from 'p' to 't'"},
      {"arc to an unknown id, then a repeated one",
       onePage(std::string(kPlaceAndTransition) + "<arc id=\"a\" source=\"p\" target=\"t\"/>\n" +
               "<arc id=\"c\" source=\"p\" target=\"x\"/>\n" +
               "<arc id=\"b\" source=\"p\" target=\"t\"/>\n"),
       8, 1, "'x' names no place or transition of the net"},
      {"duplicate id", onePage("<place id=\"p\"/>\n<transition id=\"p\"/>\n"), 6, 1,
       "duplicate id 'p' (first used at line 5, column 1)"},
      {"negative weight",
       onePage(std::string(kPlaceAndTransition) +
               "<arc id=\"a\" source=\"p\" target=\"t\">\n"
               "  <inscription><text>-1</text></inscription></arc>\n"),
       8, 3, "the arc inscription '-1' is not a non-negative integer"},
      {"weight beyond a place",
       onePage(std::string(kPlaceAndTransition) +
               "<arc id=\"a\" source=\"p\" target=\"t\"><inscription><text>99999999999</text>"
               "</inscription></arc>\n"),
       7, 35, "the arc inscription '99999999999' is larger than 32767, the most a place can hold"},
      {"weight 0, which would let the transition fire without tokens for ever",
       onePage(std::string(kPlaceAndTransition) +
               "<arc id=\"a\" source=\"p\" target=\"t\"><inscription><text> 0 </text>"
               "</inscription></arc>\n"),
       7, 35, "the arc inscription is 0; an arc's weight is at least 1"},
      {"inscription without text",
       onePage(std::string(kPlaceAndTransition) +
               "<arc id=\"a\" source=\"p\" target=\"t\"><inscription/></arc>\n"),
       7, 35, "the arc inscription has no <text>"},
      {"marking not a number",
       onePage("<place id=\"p\"><initialMarking><text>many</text></initialMarking></place>\n"), 5,
       15, "the initial marking 'many' is not a non-negative integer"},
      {"marking beyond a place",
       onePage("<place id=\"p\"><initialMarking><text>32768</text></initialMarking></place>\n"), 5,
       15, "the initial marking '32768' is larger than 32767, the most a place can hold"},
      {"two markings",
       onePage("<place id=\"p\"><initialMarking><text>1</text></initialMarking>\n"
               "<initialMarking><text>2</text></initialMarking></place>\n"),
       6, 1, "more than one initial marking"},
      {"two texts", onePage("<place id=\"p\"><name><text>a</text><text>b</text></name></place>\n"),
       5, 35, "a label holds more than one <text> element"},
      {"two names", onePage("<place id=\"p\"><name><text>a</text></name><name/></place>\n"), 5, 42,
       "an object has more than one name"},
      {"empty net", document("<page id=\"pg\">\n<transition id=\"t\"/>\n</page>\n"), 3, 1,
       "the net is empty: it has no places"},
      {"no net", "<pnml xmlns=\"http://www.pnml.org/version-2009/grammar/pnml\"/>\n", 0, 0,
       "the document holds no net"},
      {"two nets",
       document("<page id=\"pg\">\n<place id=\"p\"/>\n</page>\n</net>\n"
                "<net id=\"m\" type=\"http://www.pnml.org/version-2009/grammar/ptnet\">\n"),
       8, 1, "the document holds more than one net; netgen reads one net per file"},
      {"document type declaration",
       "<?xml version=\"1.0\"?>\n<!DOCTYPE pnml [<!ENTITY a \"aaaa\">]>\n<pnml/>\n", 2, 16,
       "document type declarations are not supported in PNML"},
      {"coloured label", onePage("<place id=\"p\"><hlinitialMarking/></place>\n"), 5, 15,
       "element 'hlinitialMarking' is not part of a place/transition net here"},
      {"place outside a page", document("<place id=\"p\"/>\n"), 4, 1,
       "element 'place' is not part of a place/transition net here"},
      {"wrong root", "<net/>\n", 1, 1,
       "element 'net' is not part of a place/transition net as the document's root"},
      {"foreign element", onePage("<place id=\"p\"><x:y xmlns:x=\"urn:x\"/></place>\n"), 5, 15,
       "element 'y' of namespace 'urn:x' is not part of PNML"},
      {"text outside a text element", onePage("<place id=\"p\">five</place>\n"), 5, 15,
       "unexpected text outside a <text> element"},
      {"arc without target", onePage("<arc id=\"a\" source=\"p\"/>\n"), 5, 1,
       "the arc has no 'target' attribute"},
      {"reference to a transition",
       onePage(std::string(kPlaceAndTransition) + "<referencePlace id=\"r\" ref=\"t\"/>\n"), 7, 1,
       "reference 'r' refers to 't', which is not a place"},
      {"circle of references",
       onePage("<place id=\"p\"/>\n<referencePlace id=\"r\" ref=\"s\"/>\n"
               "<referencePlace id=\"s\" ref=\"r\"/>\n"),
       6, 1, "the references from 'r' run in a circle"},
      {"deep nesting", onePage("<toolspecific tool=\"x\" version=\"1\">" + deep), 5, 792,
       "elements nest deeper than 256"},
      {"too many places", onePage(manyPlaces), 5, 0, "the net has more than 32768 places"},
  };
  for (const BadDocument& bad : cases) {
    ReadResult<NetDescription> read = parsePnml(bad.text, "net.pnml");
    ASSERT_FALSE(read.ok()) << bad.what;
    EXPECT_EQ("net.pnml", read.error.file) << bad.what;
    EXPECT_EQ(bad.line, read.error.line) << bad.what << ": " << read.error.text();
    if (bad.column > 0) {
      EXPECT_EQ(bad.column, read.error.column) << bad.what << ": " << read.error.text();
    }
    EXPECT_EQ(0u, read.error.message.find(bad.message)) << bad.what << ": " << read.error.text();
  }
}

}  // namespace
