// A command's words read against its row of the command table, and the one
// form every error of the command line takes: "install: --into FOLDER is
// missing", then the command's usage line, exit 2.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_table.h"

namespace qv5 {

// "install ARCHIVE_OR_CHART... [--auto] [--into FOLDER]": the command, its
// arguments and its options; with `short_options` a row of more than three
// options ends in "[OPTION...]" instead.
std::string CommandSynopsis(const Command& command, bool short_options = false);

// The text of `QV5 COMMAND --help`: the usage line, the help, the options.
std::string CommandHelpText(const Command& command);

// The option's help lines as --help shows them below its command, each
// line indented by `indent`.
std::string OptionLines(std::span<const Option> options, size_t indent);

// `words` (what follows the command's name) read into `call`: "--" ends the
// options, "--name=value" is "--name value". False, with `error` in the
// words of the command line ("unknown option --lvl (did you mean
// --level?)"), when they do not fit the row.
bool ParseCall(const Command& command, const std::vector<std::string>& words, CommandCall& call,
               std::string& error);

// "COMMAND: what" and the command's usage line on stderr; returns 2.
int UsageError(const Command& command, const std::string& what);
// The error of a wrong value given to one of the call's options: "--level
// needs a value such as 3-5, not x"; returns 2.
int WrongValue(const CommandCall& call, std::string_view option, const std::string& value);

// The one of `candidates` that `word` is a slip of (two letters off, or
// the start of it); nullopt when none is close or two are.
std::optional<std::string> Suggestion(std::string_view word,
                                      const std::vector<std::string>& candidates);

}  // namespace qv5
