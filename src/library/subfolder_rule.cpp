#include "library/subfolder_rule.h"

#include <algorithm>

namespace qv5 {

SubfolderRule::SubfolderRule(std::function<const std::string&()> tree) : tree_(std::move(tree)) {}

void SubfolderRule::Start(const std::string& top) {
    top_ = top;
    chain_.clear();
    chain_ready_ = false;
}

bool SubfolderRule::OnPath(const FileIdentity& id) {
    if (!chain_ready_) {
        // Only asked before the first descent, so the chain is the top's.
        chain_ = DirectoryChain(top_);
        chain_ready_ = true;
    }
    return std::find(chain_.begin(), chain_.end(), id) != chain_.end();
}

bool SubfolderRule::Enters(const std::string& sub, const std::optional<EntryFacts>& facts) {
    if (!facts) return true;
    return !OnPath(facts->id) && entered_.count({facts->id.device, facts->id.inode}) == 0 &&
           !(IsLink(sub) && ResolvesInside(sub, tree_()));
}

void SubfolderRule::Descend(const std::optional<EntryFacts>& facts) {
    if (!facts) return;
    OnPath(facts->id);  // the top's chain first, below what is pushed
    chain_.push_back(facts->id);
    entered_.insert({facts->id.device, facts->id.inode});
}

void SubfolderRule::Ascend(const std::optional<EntryFacts>& facts) {
    if (facts) chain_.pop_back();
}

bool SubfolderRule::MarkEntered(const FileIdentity& id) {
    return entered_.insert({id.device, id.inode}).second;
}

}  // namespace qv5
