#!/usr/bin/env bash
# Writes a place/transition net in PNML to standard output: one or two
# rings of positions on which alike tokens move forward, at most one token
# a position, with many transitions of 18 arcs each, the shape of large
# published nets (few places, thousands of wide transitions, few of them
# enabled in a marking).
#
# A position i of a ring has two places: p<ring>_i (a token is there) and
# f<ring>_i (it is free; marked exactly when p<ring>_i is not). Ring A has
# NA positions and KA tokens starting on positions 0 .. KA-1; ring B the
# same with NB and KB (NB = 0: no ring B).
#
# - A step transition per position moves a token from i to the free i + 1:
#   inputs p_i and f_(i+1), outputs p_(i+1) and f_i.
# - M group transitions each move 3 tokens at once (3 steps of positions
#   that are not neighbours, in either ring) while 3 other positions stay
#   free: 12 arcs for the steps and a test (an input and an output arc) on
#   the free place of each of the 3 positions: 18 arcs. They are drawn with
#   a fixed pseudo-random sequence (seed S), so a net is the same on every
#   machine.
#
# Reachable markings: a group firing is its 3 steps one after the other
# (their positions do not overlap), so the group transitions reach no
# marking the steps do not. The steps keep each ring's tokens in cyclic
# order and can carry them to any set of KA positions (shift them into a
# block behind the first target, then move the front token to the last
# target, the next one to the one before ...). So the net has
# C(NA, KA) x C(NB, KB) markings (the second factor 1 when NB = 0).
#
# Usage: bench/nets/shift_net.sh NA KA NB KB M [S]
#   27 3 38 2 17935: 130 places, 18,000 transitions,
#                    C(27, 3) x C(38, 2) = 2925 x 703 = 2,056,275 markings;
#   20 5 0 0 31980:  40 places, 32,000 transitions, C(20, 5) = 15,504 markings.
set -euo pipefail

if [ $# -lt 5 ]; then
  echo "usage: $0 NA KA NB KB M [S]" >&2
  exit 2
fi

awk -v na="$1" -v ka="$2" -v nb="$3" -v kb="$4" -v groups="$5" -v seed="${6:-1}" '
# MINSTD in doubles: every product stays below 2^53, so the sequence is the
# same under every awk.
function draw(n) {
  state = (state * 48271) % 2147483647
  return state % n
}
function place(id, marked) {
  printf "<place id=\"%s\"><initialMarking><text>%d</text></initialMarking></place>\n", id, marked
}
function arc(from, to) {
  arcs++
  printf "<arc id=\"a%d\" source=\"%s\" target=\"%s\"/>\n", arcs, from, to
}
# A position of either ring as one number: ring A first.
function ringOf(x) { return x < na ? "A" : "B" }
function indexOf(x) { return x < na ? x : x - na }
function ahead(x) { return x < na ? (x + 1) % na : na + (x - na + 1) % nb }
function behind(x) { return x < na ? (x + na - 1) % na : na + (x - na + nb - 1) % nb }
function p(x) { return "p" ringOf(x) "_" indexOf(x) }
function f(x) { return "f" ringOf(x) "_" indexOf(x) }
function step(t, x) {
  arc(p(x), t); arc(f(ahead(x)), t); arc(t, p(ahead(x))); arc(t, f(x))
}
BEGIN {
  if (na < 4 || ka < 1 || ka >= na || nb < 0 || (nb > 0 && (nb < 4 || kb < 1 || kb >= nb)) ||
      groups < 0 || (groups > 0 && na + nb < 12) || seed < 1) {
    print "shift_net.sh: a ring needs at least 4 positions and fewer tokens than positions," \
          " and group transitions at least 12 positions in all" > "/dev/stderr"
    exit 2
  }
  state = seed % 2147483647
  positions = na + nb
  print "<?xml version=\"1.0\"?>"
  print "<pnml xmlns=\"http://www.pnml.org/version-2009/grammar/pnml\">"
  printf "<net id=\"ShiftRings-%d-%d-%d-%d-%d\" ", na, ka, nb, kb, groups
  print "type=\"http://www.pnml.org/version-2009/grammar/ptnet\">"
  print "<page id=\"rings\">"
  for (x = 0; x < positions; x++) {
    tokens = x < na ? (x < ka) : (x - na < kb)
    place(p(x), tokens)
    place(f(x), 1 - tokens)
  }
  for (x = 0; x < positions; x++) {
    t = "s" ringOf(x) "_" indexOf(x)
    printf "<transition id=\"%s\"/>\n", t
    step(t, x)
  }
  for (g = 0; g < groups; g++) {
    # Three movers, no two of them neighbours; then three tested positions
    # that are neither a mover nor the position a mover moves to.
    delete used
    n = 0
    while (n < 3) {
      x = draw(positions)
      if ((x in used) || (behind(x) in used) || (ahead(x) in used)) continue
      used[x] = "mover"; mover[n++] = x
    }
    for (k = 0; k < 3; k++) blocked[ahead(mover[k])] = 1
    n = 0
    while (n < 3) {
      x = draw(positions)
      if ((x in used) || (x in blocked)) continue
      used[x] = "test"; tested[n++] = x
    }
    delete blocked
    t = "g" g
    printf "<transition id=\"%s\"/>\n", t
    for (k = 0; k < 3; k++) step(t, mover[k])
    for (k = 0; k < 3; k++) { arc(f(tested[k]), t); arc(t, f(tested[k])) }
  }
  print "</page>"
  print "</net>"
  print "</pnml>"
}'
