#include "study/Report.h"

#include <sstream>

namespace study {

namespace {

std::string escaped(const std::string& text) { return chart::escapeXml(text); }

const char kStyle[] =
    "body{font-family:sans-serif;margin:2em;color:#222}"
    "table{border-collapse:collapse;font-size:14px}"
    "th,td{padding:3px 10px;border-bottom:1px solid #ddd;text-align:right}"
    "th{background:#f2f2f2}tr.failed td{color:#b00}"
    "code{background:#f2f2f2;padding:1px 4px}"
    "figure{margin:1.5em 0}figcaption{font-size:13px;color:#555}"
    "svg{max-width:100%;height:auto}";

void writeTable(std::ostream& out, const ResultsTable& table) {
  out << "<table>\n<tr>";
  for (const std::string& name : table.heading()) {
    out << "<th>" << escaped(name) << "</th>";
  }
  out << "</tr>\n";
  for (std::size_t i = 0; i < table.outcomes().size(); i++) {
    const bool failed = !table.outcomes()[i] || !table.outcomes()[i]->succeeded;
    out << (failed ? "<tr class=\"failed\">" : "<tr>");
    for (const std::string& cell : table.cells(i)) {
      out << "<td>" << escaped(cell) << "</td>";
    }
    out << "</tr>\n";
  }
  out << "</table>\n";
}

void writeFailures(std::ostream& out, const ResultsTable& table) {
  std::ostringstream items;
  for (std::size_t i = 0; i < table.outcomes().size(); i++) {
    const std::optional<Outcome>& outcome = table.outcomes()[i];
    if (!outcome || !outcome->succeeded) {
      items << "<li>experiment " << table.cells(i).front() << ": "
            << escaped(outcome ? outcome->message : "not run") << "</li>\n";
    }
  }
  if (!items.str().empty()) {
    out << "<h2>Failed experiments</h2>\n<ul>\n" << items.str() << "</ul>\n";
  }
}

void writeChart(std::ostream& out, const StudyChart& drawn) {
  std::ostringstream svg;
  drawn.chart.writeSvg(svg);
  std::string document = svg.str();
  // Inline SVG takes no XML declaration.
  if (document.compare(0, 5, "<?xml") == 0) {
    document.erase(0, document.find('\n') + 1);
  }
  out << "<figure>\n" << document << "<figcaption>" << escaped(drawn.file)
      << "</figcaption>\n</figure>\n";
}

}  // namespace

void writeReport(std::ostream& out, const ReportHeading& heading, const ResultsTable& table,
                 const std::vector<StudyChart>& charts) {
  std::size_t failed = 0, reused = 0;
  for (const std::optional<Outcome>& outcome : table.outcomes()) {
    failed += !outcome || !outcome->succeeded ? 1 : 0;
    reused += outcome && outcome->reused ? 1 : 0;
  }
  out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>"
      << escaped(heading.title) << "</title>\n<style>" << kStyle << "</style>\n</head>\n<body>\n"
      << "<h1>" << escaped(heading.title) << "</h1>\n<p><code>" << escaped(heading.command)
      << "</code></p>\n<p>" << table.outcomes().size() << " experiments: "
      << table.outcomes().size() - failed << " succeeded (" << reused
      << " reused from an earlier run), " << failed
      << " failed. The same table is in <a href=\"results.csv\">results.csv</a>; each "
         "experiment's files are beside this page (exp&lt;n&gt;.*).</p>\n";
  writeFailures(out, table);
  out << "<h2>Results</h2>\n";
  writeTable(out, table);
  if (!charts.empty()) {
    out << "<h2>Charts</h2>\n";
  }
  for (const StudyChart& drawn : charts) {
    writeChart(out, drawn);
  }
  out << "</body>\n</html>\n";
}

}  // namespace study
