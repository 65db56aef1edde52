#ifndef NETIMPORT_PNMLREADER_H_
#define NETIMPORT_PNMLREADER_H_

#include <string>

#include "Cpp/BaseClasses/NetDescription.h"
#include "netimport/Diagnostic.h"

// Reads a place/transition net from PNML (ISO/IEC 15909-2, net type
// http://www.pnml.org/version-2009/grammar/ptnet): its places with their
// initial markings, transitions, arcs with their integer inscriptions
// (weight 1 without one), names and ids, from all pages (flattened, nested
// pages and reference nodes included), in document order. Graphics and
// tool-specific sections are skipped; anything else the grammar of such a
// net does not hold is refused by name, as are other net types, document
// type declarations and inputs beyond net_limits. Every transition is
// exponential with rate 1; a timing file may change that.
ReadResult<NetDescription> readPnmlFile(const std::string& path);

// The same for a document already in memory; fileName is what the
// diagnostics name.
ReadResult<NetDescription> parsePnml(const std::string& text, const std::string& fileName);

#endif
