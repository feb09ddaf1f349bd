// Which sub-folders a walk of a song tree enters: the one rule the scanner
// registers by and the check walks by, so that the check looks at exactly
// the folders a registration reaches.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_identity.h"

namespace qv5 {

class SubfolderRule {
  public:
    // `tree` names the registered folder that holds the walk; it is asked
    // only when a link is met.
    explicit SubfolderRule(std::function<const std::string&()> tree);

    // A new walk from the folder `top`: the folders above it and `top`
    // itself are the path walked. What earlier walks entered stays entered.
    void Start(const std::string& top);
    // Whether the walk enters the folder `sub` as `facts` (nullopt when it
    // could not be looked up) describe it. Not a folder on the path walked
    // (a link to ".", "..", any folder above, "/"), nor one an earlier path
    // entered (links that fan out would repeat a tree once per path), nor a
    // link to a folder inside the tree, which its own path reaches.
    bool Enters(const std::string& sub, const std::optional<EntryFacts>& facts);
    // The walk goes down into `facts`' folder, and comes back out of it.
    void Descend(const std::optional<EntryFacts>& facts);
    void Ascend(const std::optional<EntryFacts>& facts);
    // Counts `id` as entered without descending; false when it was already.
    bool MarkEntered(const FileIdentity& id);

  private:
    bool OnPath(const FileIdentity& id);

    std::function<const std::string&()> tree_;
    std::string top_;
    std::vector<FileIdentity> chain_;
    bool chain_ready_ = false;
    std::set<std::pair<std::uint64_t, std::uint64_t>> entered_;
};

}  // namespace qv5
