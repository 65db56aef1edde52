#include "solver/EmbeddedChain.h"

#include <algorithm>
#include <map>
#include <string>

#include "common/PrintableText.h"
#include "solver/FoxGlynn.h"

namespace solver {

namespace {

const double kUniformizationMargin = 1.02;

// The Poisson probability of each count up to the window's right end (0
// left of it) and of more than each count.
struct PoissonTerms {
  std::vector<double> exactly;
  std::vector<double> more;

  explicit PoissonTerms(const PoissonWindow& window)
      : exactly(window.right() + 1, 0.0), more(window.right() + 1, 0.0) {
    std::copy(window.probabilities.begin(), window.probabilities.end(),
              exactly.begin() + static_cast<std::ptrdiff_t>(window.left));
    for (std::size_t k = exactly.size() - 1; k > 0; k--) {
      more[k - 1] = more[k] + exactly[k];
    }
  }
};

}  // namespace

SubordinatedChain::SubordinatedChain(const DeterministicProcess& process, std::uint32_t clock,
                                     const std::vector<bool>& stop)
    : Process(process), LocalOf(process.exponential.size(), -1), RowStart{0} {
  const MarkovChain& chain = process.exponential;
  for (std::uint32_t s = 0; s < chain.size(); s++) {
    if (process.clockOf(s) == clock && (stop.empty() || !stop[s])) {
      const double delay = process.firings[process.firingOf[s]].delay;
      if (!States.empty() && delay != Delay) {
        throw SolveError("the delay of " + process.clockNames[clock] + " changes while it runs");
      }
      LocalOf[s] = static_cast<std::int64_t>(States.size());
      States.push_back(s);
      Delay = delay;
    }
  }
  double largest = 0.0;
  for (std::uint32_t s : States) {
    double exit = 0.0;
    for (std::uint64_t e = chain.rowStart[s]; e < chain.rowStart[s + 1]; e++) {
      exit += chain.rate[e];
    }
    largest = std::max(largest, exit);
  }
  Rate = kUniformizationMargin * largest;
  for (std::uint32_t s : States) {
    for (std::uint64_t e = chain.rowStart[s]; e < chain.rowStart[s + 1]; e++) {
      const std::uint32_t target = chain.column[e];
      LocalTarget.push_back(LocalOf[target] >= 0 ? LocalOf[target] : -1 - std::int64_t(target));
      Probability.push_back(chain.rate[e] / Rate);
    }
    RowStart.push_back(LocalTarget.size());
  }
}

SubordinatedChain::Cycle SubordinatedChain::cycleFrom(std::uint32_t state, double truncation,
                                                      std::uint64_t maxSteps) const {
  const MarkovChain& chain = Process.exponential;
  const std::size_t numVariables = chain.numVariables;
  std::vector<double> atDelay(States.size(), 0.0);  // where the clock fires
  std::vector<double> time(States.size(), 0.0);     // expected time spent before the cycle ends
  std::map<std::uint32_t, double> next;
  if (Rate == 0) {
    atDelay[LocalOf[state]] = 1;
    time[LocalOf[state]] = Delay;
  } else {
    const PoissonTerms poisson(poissonWindow(Rate * Delay, truncation));
    const std::size_t steps = poisson.exactly.size() - 1;
    if (steps > maxSteps) {
      throw SolveError("the delay " + compactNumber(Delay) + " takes " + std::to_string(steps) +
                       " uniformization steps, beyond the limit of " + std::to_string(maxSteps) +
                       " (-m)");
    }
    std::vector<double> y(States.size(), 0.0);
    std::vector<double> following(States.size());
    y[LocalOf[state]] = 1;
    for (std::size_t k = 0;; k++) {
      for (std::size_t a = 0; a < States.size(); a++) {
        atDelay[a] += poisson.exactly[k] * y[a];
        time[a] += poisson.more[k] / Rate * y[a];
      }
      if (k == steps) {
        break;
      }
      // A jump k + 1 happens before the delay ends with probability more[k].
      for (std::size_t a = 0; a < States.size(); a++) {
        following[a] = y[a];
      }
      for (std::size_t a = 0; a < States.size(); a++) {
        for (std::uint64_t e = RowStart[a]; e < RowStart[a + 1]; e++) {
          const double moved = y[a] * Probability[e];
          following[a] -= moved;
          if (LocalTarget[e] >= 0) {
            following[LocalTarget[e]] += moved;
          } else {
            next[static_cast<std::uint32_t>(-1 - LocalTarget[e])] += moved * poisson.more[k];
          }
        }
      }
      y.swap(following);
    }
  }
  Cycle cycle;
  cycle.reward.assign(numVariables, 0.0);
  cycle.impulse.assign(numVariables, 0.0);
  for (std::size_t a = 0; a < States.size(); a++) {
    const ClockedFiring& firing = Process.firings[Process.firingOf[States[a]]];
    for (const auto& [target, probability] : firing.outcomes) {
      next[target] += atDelay[a] * probability;
    }
    if (atDelay[a] > 0) {
      cycle.survivors.emplace_back(States[a], atDelay[a]);
    }
    cycle.duration += time[a];
    for (std::size_t v = 0; v < numVariables; v++) {
      const double impulse = firing.impulse.empty() ? 0.0 : atDelay[a] * firing.impulse[v];
      cycle.reward[v] += time[a] * chain.rewards[States[a] * numVariables + v] + impulse;
      cycle.impulse[v] += impulse;
    }
  }
  cycle.next.assign(next.begin(), next.end());
  return cycle;
}

MarkovChain embeddedChain(const DeterministicProcess& process, double truncation,
                          std::uint64_t maxSteps, const std::vector<bool>& stop) {
  const MarkovChain& exponential = process.exponential;
  const std::size_t numVariables = exponential.numVariables;
  // The states where a clock starts afresh.
  std::vector<bool> entered(exponential.size(), false);
  entered[exponential.initial] = true;
  for (std::uint32_t s = 0; s < exponential.size(); s++) {
    for (std::uint64_t e = exponential.rowStart[s]; e < exponential.rowStart[s + 1]; e++) {
      const std::uint32_t target = exponential.column[e];
      entered[target] = entered[target] || process.clockOf(target) != process.clockOf(s);
    }
  }
  for (const ClockedFiring& firing : process.firings) {
    for (const auto& outcome : firing.outcomes) {
      entered[outcome.first] = true;
    }
  }
  std::map<std::uint32_t, SubordinatedChain> chains;
  MarkovChain chain;
  chain.initial = exponential.initial;
  chain.numVariables = numVariables;
  chain.rewards = exponential.rewards;
  for (std::uint32_t s = 0; s < exponential.size(); s++) {
    const std::int64_t clock = process.clockOf(s);
    if (!stop.empty() && stop[s]) {
      // absorbing
    } else if (clock < 0) {
      chain.column.insert(chain.column.end(), exponential.column.begin() + exponential.rowStart[s],
                          exponential.column.begin() + exponential.rowStart[s + 1]);
      chain.rate.insert(chain.rate.end(), exponential.rate.begin() + exponential.rowStart[s],
                        exponential.rate.begin() + exponential.rowStart[s + 1]);
    } else if (entered[s]) {
      auto found = chains.find(static_cast<std::uint32_t>(clock));
      if (found == chains.end()) {
        found =
            chains
                .emplace(clock, SubordinatedChain(process, static_cast<std::uint32_t>(clock), stop))
                .first;
      }
      const SubordinatedChain::Cycle cycle = found->second.cycleFrom(s, truncation, maxSteps);
      for (const auto& [target, probability] : cycle.next) {
        if (target != s && probability > 0) {
          chain.column.push_back(target);
          chain.rate.push_back(probability / cycle.duration);
        }
      }
      for (std::size_t v = 0; v < numVariables && stop.empty(); v++) {
        chain.rewards[s * numVariables + v] = cycle.reward[v] / cycle.duration;
      }
    }
    chain.rowStart.push_back(chain.column.size());
  }
  return chain;
}

}  // namespace solver
