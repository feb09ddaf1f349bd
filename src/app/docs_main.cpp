// Made at build time from the command table: the manual page, the command
// reference and the bash completion, on standard output; the manual's
// hand-written Markdown comes on standard input.
//   qv5-docs man VERSION DATE < cli/manual.md
//   qv5-docs markdown < cli/manual.md
//   qv5-docs bash
#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>

#include "cli/command_docs.h"

int main(int argc, char** argv) {
    using namespace qv5;
    const std::string what = argc > 1 ? argv[1] : "";
    std::string out;
    if (what == "bash") {
        out = BashCompletion();
    } else if ((what == "man" && argc == 4) || (what == "markdown" && argc == 2)) {
        const std::string markdown((std::istreambuf_iterator<char>(std::cin)),
                                   std::istreambuf_iterator<char>());
        const ManualText manual = ReadManual(markdown);
        out = what == "man" ? ManualPage(manual, argv[2], argv[3]) : CommandsMarkdown(manual);
    } else {
        std::fputs("usage: qv5-docs man VERSION DATE | markdown | bash\n", stderr);
        return 2;
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
