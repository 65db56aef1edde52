#ifndef NETIMPORT_TIMINGFILE_H_
#define NETIMPORT_TIMINGFILE_H_

#include <string>

#include "Cpp/BaseClasses/NetDescription.h"
#include "netimport/Diagnostic.h"

// Reads the timing of a net's transitions from a line-based file, one
// transition a line ("#" starts a comment):
//   <transition> exponential <rate>
//   <transition> immediate [weight <w>] [priority <p>]   (defaults 1 and 1)
//   <transition> deterministic <delay>
// A transition is named by its id or, when no id matches, by its name.
// Rates, weights and delays are positive numbers, priorities positive whole
// numbers; a transition the file does not name stays exponential with rate
// 1. Returns net with the timing applied, or the first problem.
ReadResult<NetDescription> readTimingFile(const std::string& path, NetDescription net);

// The same for text already read; fileName is what the diagnostics name.
ReadResult<NetDescription> parseTimings(const std::string& text, const std::string& fileName,
                                        NetDescription net);

#endif
