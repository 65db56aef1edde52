// The SVG line chart: nice ticks, escaped text, and a document that an XML
// parser (expat) reads whole, with one line per series and one mark per
// point.
#include <expat.h>
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "chart/LineChart.h"

namespace {

TEST(LineChartTest, TicksAreRoundNumbersCoveringTheRange) {
  EXPECT_EQ((std::vector<double>{0, 0.005, 0.01, 0.015}), chart::niceTicks(0, 0.0129, 6));
  EXPECT_EQ((std::vector<double>{-20, 0, 20, 40, 60, 80, 100}), chart::niceTicks(-15, 93, 6));
  EXPECT_EQ((std::vector<double>{3}), chart::niceTicks(3, 3, 6));
  EXPECT_EQ((std::vector<double>{0.0005, 0.001, 0.002, 0.005, 0.01, 0.02}),
            chart::logTicks(0.0008, 0.013));
  EXPECT_EQ((std::vector<double>{1, 10, 100, 1000, 10000, 100000}), chart::logTicks(3, 20000));
  EXPECT_TRUE(chart::spansDecades(0.01, 1));
  EXPECT_FALSE(chart::spansDecades(0.01, 0.5));
  EXPECT_FALSE(chart::spansDecades(0, 1));
  EXPECT_EQ("a &lt;b&gt; &amp; &quot;c&quot; &apos;d&apos;", chart::escapeXml("a <b> & \"c\" 'd'"));
}

// Counts the elements of a document and collects its text, each element's
// on a line of its own; false when the document is not well-formed XML.
struct Parsed {
  std::map<std::string, int> elements;
  std::string text;
};

bool parse(const std::string& document, Parsed& parsed) {
  XML_Parser parser = XML_ParserCreate(nullptr);
  XML_SetUserData(parser, &parsed);
  XML_SetStartElementHandler(parser, [](void* data, const XML_Char* name, const XML_Char**) {
    static_cast<Parsed*>(data)->elements[name]++;
    static_cast<Parsed*>(data)->text += "\n";
  });
  XML_SetCharacterDataHandler(parser, [](void* data, const XML_Char* text, int length) {
    static_cast<Parsed*>(data)->text.append(text, length);
  });
  const bool wellFormed =
      XML_Parse(parser, document.data(), static_cast<int>(document.size()), 1) == XML_STATUS_OK;
  XML_ParserFree(parser);
  return wellFormed;
}

TEST(LineChartTest, TheDocumentHasALinePerSeriesAndAMarkPerPoint) {
  chart::LineChart chart;
  chart.title = "reliability <at> t = 365 & more";
  chart.xLabel = "flash_size (log scale)";
  chart.yLabel = "reliability (probability)";
  chart.logX = true;
  for (double x : {32.0, 64.0, 128.0}) {
    chart.add("ram_size=32", x, 0.0008);
    chart.add("ram_size=64", x, 0.0016);
  }
  std::ostringstream out;
  chart.writeSvg(out);
  Parsed parsed;
  ASSERT_TRUE(parse(out.str(), parsed)) << out.str();
  EXPECT_EQ(1, parsed.elements["svg"]);
  EXPECT_EQ(2, parsed.elements["polyline"]);
  EXPECT_EQ(6, parsed.elements["circle"]);
  for (const char* label : {"reliability <at> t = 365 & more", "flash_size (log scale)",
                            "reliability (probability)", "ram_size=64", "128", "0.0012"}) {
    EXPECT_NE(std::string::npos, parsed.text.find(label)) << label;
  }
}

// The legend lists the lines from the top of the plot down, whatever the
// order they were added in; lines that coincide share one entry; an error
// bar shows only where it is visible at the chart's scale.
TEST(LineChartTest, TheLegendFollowsTheLinesAndErrorBarsShowWhereVisible) {
  const auto draw = [](double scale) {
    chart::LineChart chart;
    chart.legendTitle = "ram_size";
    for (double x : {1.0, 2.0}) {
      chart.add("32", x, 1 * x, 1e-9 * scale);
      chart.add("64", x, 2 * x, 0.5 * scale);
      chart.add("128", x, 4 * x);
      chart.add("256", x, 4 * x);
    }
    std::ostringstream out;
    chart.writeSvg(out);
    Parsed parsed;
    EXPECT_TRUE(parse(out.str(), parsed)) << out.str();
    return parsed;
  };
  Parsed plain = draw(0), parsed = draw(1);
  EXPECT_EQ(4, parsed.elements["polyline"]);
  // Two bars of three strokes each; 1e-9 is far below a pixel.
  EXPECT_EQ(2 * 3, parsed.elements["line"] - plain.elements["line"]);
  const std::size_t top = parsed.text.find("\n128,\n");
  EXPECT_NE(std::string::npos, parsed.text.find("\n256 (lines coincide)\n", top));
  const std::size_t middle = parsed.text.find("\n64\n");
  const std::size_t bottom = parsed.text.find("\n32\n");
  EXPECT_NE(std::string::npos, top) << parsed.text;
  EXPECT_LT(top, middle);
  EXPECT_LT(middle, bottom);
}

}  // namespace
