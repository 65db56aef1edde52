#!/usr/bin/env bash
# Writes a place/transition net in PNML to standard output: a ring of N
# places, each with J transitions that move a token 1 to J places ahead,
# and K tokens that start on the first place. The tokens are alike and each
# can reach every place, so the reachable markings are the ways to put K
# tokens on N places, C(N + K - 1, K).
#
# Usage: bench/nets/ring_net.sh [N [J [K]]]
#   defaults 100 10 3: 1000 transitions and C(102, 3) = 171,700 markings.
set -euo pipefail

places=${1:-100}
jumps=${2:-10}
tokens=${3:-3}

echo '<?xml version="1.0"?>'
echo '<pnml xmlns="http://www.pnml.org/version-2009/grammar/pnml">'
echo "<net id=\"JumpRing-$places-$jumps-$tokens\" type=\"http://www.pnml.org/version-2009/grammar/ptnet\">"
echo '<page id="ring">'
echo "<place id=\"p0\"><initialMarking><text>$tokens</text></initialMarking></place>"
for ((p = 1; p < places; p++)); do
  echo "<place id=\"p$p\"/>"
done
for ((p = 0; p < places; p++)); do
  for ((j = 1; j <= jumps; j++)); do
    t="t${p}_$j"
    echo "<transition id=\"$t\"/>"
    echo "<arc id=\"i$t\" source=\"p$p\" target=\"$t\"/>"
    echo "<arc id=\"o$t\" source=\"$t\" target=\"p$(((p + j) % places))\"/>"
  done
done
echo '</page>'
echo '</net>'
echo '</pnml>'
