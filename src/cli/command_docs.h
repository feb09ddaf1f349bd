// What is made of the command table beside --help: the manual page QV5(1),
// the command reference docs/commands.md and the bash completion. The
// manual's prose is hand-written Markdown (cli/manual.md): sections ("## ")
// about the command line as a whole, then a section ("### NAME") of detail
// for each command, which the table's usage, help and options head.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace qv5 {

struct ManualText {
    std::string lead;  // the text before the first section: the description
    std::vector<std::pair<std::string, std::string>> sections;  // heading, text
    std::vector<std::pair<std::string, std::string>> details;   // command, text
};

// The hand-written Markdown, split up; ("# " title lines and HTML comments
// are left out).
ManualText ReadManual(const std::string& markdown);

// The manual page in roff (man(7)), dated `date` ("2026-12-10").
std::string ManualPage(const ManualText& manual, const std::string& version,
                       const std::string& date);
// The command reference in Markdown.
std::string CommandsMarkdown(const ManualText& manual);
// The bash completion of QV5: commands, options, their values, and files or
// folders where a row's placeholder names them.
std::string BashCompletion();

}  // namespace qv5
