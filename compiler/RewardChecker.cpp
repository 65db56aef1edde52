#include "compiler/RewardChecker.h"

#include <algorithm>
#include <cstdlib>

#include "compiler/Literals.h"

namespace sanc {

namespace {

void appendOnce(std::vector<std::string>& list, const std::string& value) {
  if (std::find(list.begin(), list.end(), value) == list.end()) {
    list.push_back(value);
  }
}

}  // namespace

RewardChecker::RewardChecker(CheckContext& context, Model& model,
                             const std::map<std::string, int>& instances)
    : Context(context), Target(model), Instances(instances) {
  for (const auto& [instance, atomic] : instances) {
    for (const PlaceDecl& place : model.atomics[atomic].decl->places) {
      AllPlaces.insert(place.name.text);
    }
  }
}

void RewardChecker::check() {
  const std::optional<RewardsDecl>& rewards = Target.file->rewards;
  Target.rewardName = rewards && rewards->name ? rewards->name->text : "";
  if (!rewards) {
    return;
  }
  NameTable names;
  for (const RewardDecl& decl : rewards->variables) {
    if (names.add(Context, decl.name, "reward variable")) {
      Target.rewards.push_back(checkVariable(decl));
    }
  }
}

Reward RewardChecker::checkVariable(const RewardDecl& decl) {
  Reward reward;
  reward.decl = &decl;
  for (const Literal& time : decl.times) {
    checkTime(time);
  }
  for (const IntervalDecl& interval : decl.intervals) {
    checkInterval(interval);
  }
  if (decl.rate) {
    checkReads(*decl.rate, "the rate reward of '" + decl.name.text + "'", reward);
  }
  if (decl.condition) {
    checkReads(*decl.condition, "the condition of '" + decl.name.text + "'", reward);
  }
  checkImpulsesUsable(decl);
  for (const ImpulseDecl& impulse : decl.impulses) {
    checkImpulse(impulse, reward);
  }
  if (!decl.rate && !decl.condition && decl.impulses.empty()) {
    Context.error(decl.name.where, "the reward variable '" + decl.name.text +
                                       "' has neither a rate reward nor an impulse");
  }
  return reward;
}

bool RewardChecker::checkTime(const Literal& time) {
  std::string problem;
  if (!cppLiteral(ValueType::Double, time.text, problem)) {
    Context.error(time.where, "the time point " + time.text + " " + problem);
    return false;
  }
  if (std::strtod(time.text.c_str(), nullptr) < 0) {
    Context.error(time.where, "a time point cannot be negative");
    return false;
  }
  return true;
}

void RewardChecker::checkInterval(const IntervalDecl& interval) {
  if (checkTime(interval.start) && checkTime(interval.stop) &&
      std::strtod(interval.start.text.c_str(), nullptr) >=
          std::strtod(interval.stop.text.c_str(), nullptr)) {
    Context.error(interval.where, "the interval [" + interval.start.text + ", " +
                                      interval.stop.text +
                                      "] is empty: its start must come before its stop");
  }
}

bool RewardChecker::checkJoinRead(const CodeName& use, Reward& reward) {
  const auto found = Target.joinInstances.find(use.name);
  if (found == Target.joinInstances.end() || Instances.count(use.name) > 0) {
    return false;
  }
  const Join& join = Target.joins[found->second];
  const auto share = std::find_if(join.shares.begin(), join.shares.end(),
                                  [&](const Share& s) { return s.name == use.member; });
  if (use.member.empty() || share == join.shares.end()) {
    Context.error(use.where, "a reward reads the places a join shares: '" + use.name +
                                 "' shares no place '" + use.member + "'");
    return true;
  }
  const ShareMember& first = share->members.front();
  const Child& child = join.children[first.child];
  if (child.model.kind == ModelKind::Join) {
    Context.error(use.where, "'" + use.name + "." + use.member + "' is shared by the join '" +
                                 child.instance() + "' first: read it as " + child.instance() +
                                 "." + first.place);
    return true;
  }
  auto read = std::find_if(reward.joins.begin(), reward.joins.end(),
                           [&](const JoinRead& r) { return r.join == use.name; });
  if (read == reward.joins.end()) {
    reward.joins.push_back(
        JoinRead{use.name, child.instance(), child.model.index, child.decl->count.has_value(), {}});
    read = reward.joins.end() - 1;
  }
  if (std::find(read->places.begin(), read->places.end(),
                std::make_pair(use.member, first.place)) == read->places.end()) {
    read->places.emplace_back(use.member, first.place);
  }
  addModelUse(reward, child.instance(), child.model.index, first.place);
  return true;
}

void RewardChecker::addModelUse(Reward& reward, const std::string& instance, int atomic,
                                const std::string& place) {
  auto model = std::find_if(reward.models.begin(), reward.models.end(),
                            [&](const RewardModelUse& m) { return m.instance == instance; });
  if (model == reward.models.end()) {
    reward.models.push_back(RewardModelUse{instance, atomic, {}});
    model = reward.models.end() - 1;
  }
  appendOnce(model->places, place);
}

void RewardChecker::checkReads(const Code& code, const std::string& what, Reward& reward) {
  bool readsPlace = false;
  std::vector<const CodeName*> direct;
  for (const CodeName& use : code.names) {
    if (checkJoinRead(use, reward)) {
      readsPlace = true;
      continue;
    }
    int atomic = 0;
    if (!checkPlaceUse(use, atomic) || use.member.empty()) {
      continue;
    }
    readsPlace = true;
    addModelUse(reward, use.name, atomic, use.member);
    direct.push_back(&use);
  }
  // A copy read by itself and through its join could not be counted both
  // once per copy and once.
  for (const CodeName* use : direct) {
    for (const JoinRead& read : reward.joins) {
      if (read.repeated && read.representative == use->name) {
        Context.error(use->where, "'" + use->name +
                                      "' is read both by itself (once per copy) "
                                      "and through '" +
                                      read.join +
                                      "' (once); give each its "
                                      "own reward variable");
      }
    }
  }
  if (!readsPlace) {
    Context.error(code.where, what + " reads no place (write instance.place)");
  }
}

void RewardChecker::checkImpulsesUsable(const RewardDecl& decl) {
  if (!decl.impulses.empty() && decl.condition) {
    Context.error(decl.impulses.front().where,
                  "'" + decl.name.text +
                      "' asks about a condition, which earns no impulses; give them to a "
                      "variable of their own (over, average over or in the long run)");
  }
}

bool RewardChecker::checkPlaceUse(const CodeName& use, int& atomic) {
  const auto instance = Instances.find(use.name);
  if (instance == Instances.end()) {
    if (!use.member.empty() && Context.global(use.name) == nullptr) {
      Context.error(use.where, "the model tree has no instance '" + use.name + "'");
      return false;
    }
    if (use.member.empty() && AllPlaces.count(use.name) > 0 &&
        Context.global(use.name) == nullptr) {
      Context.error(use.where, "write the place '" + use.name + "' as instance." + use.name);
      return false;
    }
    if (use.member.empty() && Context.global(use.name) == nullptr) {
      Context.error(use.where, "'" + use.name +
                                   "' is not a global variable (a reward reads places as "
                                   "instance.place)");
      return false;
    }
    return true;
  }
  atomic = instance->second;
  if (use.member.empty()) {
    Context.error(use.where,
                  "a reward reads places of '" + use.name + "': write " + use.name + ".place");
    return false;
  }
  if (Target.atomics[atomic].placeIndex(use.member) < 0) {
    Context.error(use.where, "'" + use.name + "' (" + Target.atomics[atomic].name() +
                                 ") has no place '" + use.member + "'");
    return false;
  }
  return true;
}

void RewardChecker::checkImpulse(const ImpulseDecl& decl, Reward& reward) {
  const Name& instanceName = decl.activity.model;
  const auto instance = Instances.find(instanceName.text);
  if (instance == Instances.end()) {
    Context.error(instanceName.where, "the model tree has no instance '" + instanceName.text + "'");
    return;
  }
  const Atomic& atomic = Target.atomics[instance->second];
  const int activity = atomic.activityIndex(decl.activity.member.text);
  if (activity < 0) {
    Context.error(decl.activity.member.where, "'" + instanceName.text + "' (" + atomic.name() +
                                                  ") has no activity '" +
                                                  decl.activity.member.text + "'");
    return;
  }
  if (atomic.decl->activities[activity].family) {
    Context.error(decl.activity.member.where,
                  "'" + decl.activity.member.text +
                      "' is a family of activities, which earns no impulses yet; give the "
                      "variable a rate reward instead");
    return;
  }
  Impulse impulse;
  impulse.decl = &decl;
  impulse.instance = instanceName.text;
  impulse.atomic = instance->second;
  for (const Action& action : atomic.actions) {
    if (action.activity == &atomic.decl->activities[activity]) {
      impulse.actions.push_back(action.member);
    }
  }
  for (const CodeName& use : decl.value.names) {
    int read = 0;
    if (!checkPlaceUse(use, read) || use.member.empty()) {
      continue;
    }
    if (use.name != impulse.instance) {
      Context.error(use.where,
                    "an impulse reads only places of the instance whose activity "
                    "earns it ('" +
                        impulse.instance + "')");
      continue;
    }
    appendOnce(impulse.places, use.member);
  }
  reward.impulses.push_back(std::move(impulse));
}

}  // namespace sanc
