#ifndef NETIMPORT_REWARDFILE_H_
#define NETIMPORT_REWARDFILE_H_

#include <string>
#include <vector>

#include "Cpp/BaseClasses/NetDescription.h"
#include "netimport/Diagnostic.h"

// Reads reward variables over a net's markings from a line-based file, one
// variable a line ("#" starts a comment):
//   <variable> tokens <place> [<place> ...] at <time> [<time> ...]
//   <variable> marked <place> at <time> [<time> ...]
// tokens is the number of tokens in the places, marked 1 while the place
// holds a token and 0 otherwise. Places are named by id or, when no id
// matches, by name; times are numbers not below 0; variable names are
// unique. Returns the variables in file order, or the first problem.
ReadResult<std::vector<NetRewardVariable>> readRewardFile(const std::string& path,
                                                          const NetDescription& net);

// The same for text already read; fileName is what the diagnostics name.
ReadResult<std::vector<NetRewardVariable>> parseRewards(const std::string& text,
                                                        const std::string& fileName,
                                                        const NetDescription& net);

#endif
