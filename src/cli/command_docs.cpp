#include "cli/command_docs.h"

#include <cassert>
#include <cctype>
#include <cstring>
#include <set>

#include "cli/command_parse.h"
#include "cli/command_table.h"

namespace qv5 {
namespace {

bool StartsWith(const std::string& s, const char* prefix) {
    return s.rfind(prefix, 0) == 0;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t from = 0;
    while (from <= text.size()) {
        const size_t end = text.find('\n', from);
        lines.push_back(
            text.substr(from, end == std::string::npos ? std::string::npos : end - from));
        if (end == std::string::npos) break;
        from = end + 1;
    }
    return lines;
}

std::string Trimmed(std::string text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
    size_t start = 0;
    while (start < text.size() && text[start] == '\n') ++start;
    return text.substr(start);
}

// A paragraph, a list item or a code block of the manual's Markdown.
struct Block {
    enum class Kind { Text, Item, Code } kind;
    std::vector<std::string> lines;
};

size_t Indent(const std::string& line) {
    size_t n = 0;
    while (n < line.size() && line[n] == ' ') ++n;
    return n;
}

std::vector<Block> Blocks(const std::string& text) {
    std::vector<Block> blocks;
    bool after_blank = true;
    size_t code_indent = 0;
    for (const std::string& line : Lines(text)) {
        if (line.find_first_not_of(' ') == std::string::npos) {
            after_blank = true;
            continue;
        }
        Block* last = blocks.empty() ? nullptr : &blocks.back();
        const size_t indent = Indent(line);
        if (last && last->kind == Block::Kind::Code && indent >= code_indent) {
            if (after_blank) last->lines.push_back("");
            last->lines.push_back(line.substr(code_indent));
        } else if (after_blank && indent >= 4) {
            code_indent = indent;
            blocks.push_back({Block::Kind::Code, {line.substr(indent)}});
        } else if (StartsWith(line, "- ")) {
            blocks.push_back({Block::Kind::Item, {line.substr(2)}});
        } else if (last && !after_blank && last->kind != Block::Kind::Code) {
            last->lines.push_back(line.substr(indent));
        } else {
            blocks.push_back({Block::Kind::Text, {line.substr(indent)}});
        }
        after_blank = false;
    }
    return blocks;
}

// Markdown's inline marks in roff: `code` bold, [text](link) its text.
std::string RoffInline(const std::string& text) {
    std::string out;
    bool code = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '`') {
            out += code ? "\\fR" : "\\fB";
            code = !code;
        } else if (c == '[' && !code) {
            const size_t close = text.find("](", i);
            const size_t end = close == std::string::npos ? close : text.find(')', close);
            if (end != std::string::npos && text.find('\n', i) > end) {
                out += RoffInline(text.substr(i + 1, close - i - 1));
                i = end;
            } else {
                out += c;
            }
        } else if (c == '\\') {
            out += "\\e";
        } else if (c == '-') {
            out += "\\-";
        } else {
            out += c;
        }
    }
    if (code) out += "\\fR";
    return out;
}

// A line of roff text: one that begins with a control character is not a
// request.
std::string RoffLine(const std::string& line) {
    std::string text = RoffInline(line);
    if (!text.empty() && (text[0] == '.' || text[0] == '\'')) text = "\\&" + text;
    return text + "\n";
}

std::string RoffBlocks(const std::string& markdown, bool indented) {
    std::string out;
    for (const Block& b : Blocks(markdown)) {
        switch (b.kind) {
            case Block::Kind::Text:
                out += indented ? ".IP\n" : ".PP\n";
                break;
            case Block::Kind::Item:
                out += ".IP \\(bu 2\n";
                break;
            case Block::Kind::Code:
                out += ".IP\n.RS 4\n.nf\n";
                for (const std::string& line : b.lines) {
                    std::string text;
                    for (char c : line) text += c == '\\' ? std::string("\\e") : std::string(1, c);
                    if (!text.empty() && (text[0] == '.' || text[0] == '\'')) text = "\\&" + text;
                    out += text + "\n";
                }
                out += ".fi\n.RE\n";
                continue;
        }
        for (const std::string& line : b.lines) out += RoffLine(line);
    }
    return out;
}

// A usage in roff: literal words bold, placeholders italic.
std::string RoffUsage(const std::string& usage) {
    std::string out;
    for (size_t i = 0; i < usage.size();) {
        const auto word_char = [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-';
        };
        if (!word_char(usage[i])) {
            out += usage[i++];
            continue;
        }
        size_t end = i;
        while (end < usage.size() && word_char(usage[end])) ++end;
        const std::string word = usage.substr(i, end - i);
        bool lower = false, upper = false;
        for (char c : word) {
            lower = lower || std::islower(static_cast<unsigned char>(c));
            upper = upper || std::isupper(static_cast<unsigned char>(c));
        }
        std::string escaped;
        for (char c : word) escaped += c == '-' ? std::string("\\-") : std::string(1, c);
        if (lower || StartsWith(word, "--"))
            out += "\\fB" + escaped + "\\fR";
        else if (upper)
            out += "\\fI" + escaped + "\\fR";
        else
            out += escaped;
        i = end;
    }
    return out;
}

// The help lines of a row as a sentence.
std::string Sentence(const char* help) {
    std::string text;
    for (const char* p = help; *p; ++p) text += *p == '\n' ? ' ' : *p;
    if (!text.empty()) text[0] = char(std::toupper(static_cast<unsigned char>(text[0])));
    if (!text.empty() && text.back() != '.') text += '.';
    return text;
}

// "Commands (song installation):" as a heading: "Song installation".
std::string GroupHeading(const char* group) {
    std::string text = group;
    if (StartsWith(text, "Commands (")) text = text.substr(10);
    while (!text.empty() && (text.back() == ':' || text.back() == ')')) text.pop_back();
    if (!text.empty()) text[0] = char(std::toupper(static_cast<unsigned char>(text[0])));
    return text;
}

std::string OptionUsage(const Option& o) {
    return o.value ? std::string(o.name) + " " + o.value : std::string(o.name);
}

// The sections told after the commands and options, as a manual orders them.
bool Trailing(const std::string& heading) {
    return heading == "Environment" || heading == "Exit status" || heading == "Files";
}

std::string Upper(std::string text) {
    for (char& c : text) c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

const std::string* DetailOf(const ManualText& manual, const char* name) {
    for (const auto& [command, text] : manual.details)
        if (command == name) return &text;
    return nullptr;
}

constexpr const char* kProgramUsage = "QV5 [--dir GAMEDIR] [COMMAND [ARGUMENT...] [OPTION...]]";

// What a placeholder completes to, as the completion's functions take it:
// "-d" folders, "-f" files (and folders), "=word word" those words, "" none.
std::string Completion(const std::string& placeholder, const char* words) {
    if (words) return std::string("=") + words;
    if (placeholder.find('|') != std::string::npos) {
        std::string list = placeholder;
        for (char& c : list)
            if (c == '|') c = ' ';
        return "=" + list;
    }
    static const std::set<std::string> folders = {"FOLDER", "DIR", "GAMEDIR"};
    static const std::set<std::string> files = {"PATH",   "FILE",   "CHART", "ARCHIVE_OR_CHART",
                                                "SOURCE", "ARCHIVE"};
    if (folders.count(placeholder)) return "-d";
    if (files.count(placeholder)) return "-f";
    return "";
}

// The positional placeholders of a row, without brackets and dots; whether
// the last takes any number.
std::vector<std::string> Positionals(const Command& c, bool& many) {
    std::vector<std::string> out;
    many = false;
    std::string word;
    for (const char* p = c.arguments;; ++p) {
        if (*p == ' ' || *p == '\0') {
            if (!word.empty()) {
                std::string bare;
                for (char ch : word)
                    if (ch != '[' && ch != ']') bare += ch;
                if (bare.size() > 3 && bare.compare(bare.size() - 3, 3, "...") == 0) {
                    bare.resize(bare.size() - 3);
                    many = true;
                }
                out.push_back(bare);
            }
            word.clear();
            if (*p == '\0') break;
        } else {
            word += *p;
        }
    }
    return out;
}

}  // namespace

ManualText ReadManual(const std::string& markdown) {
    ManualText manual;
    std::string* into = &manual.lead;
    bool in_comment = false;
    for (const std::string& line : Lines(markdown)) {
        if (in_comment || StartsWith(line, "<!--")) {
            in_comment = line.find("-->") == std::string::npos;
            continue;
        }
        if (StartsWith(line, "# ")) continue;
        if (StartsWith(line, "### ")) {
            manual.details.emplace_back(line.substr(4), "");
            into = &manual.details.back().second;
        } else if (StartsWith(line, "## ")) {
            manual.sections.emplace_back(line.substr(3), "");
            into = &manual.sections.back().second;
        } else {
            *into += line + "\n";
        }
    }
    manual.lead = Trimmed(manual.lead);
    for (auto& s : manual.sections) s.second = Trimmed(s.second);
    for (auto& d : manual.details) d.second = Trimmed(d.second);
    return manual;
}

std::string ManualPage(const ManualText& manual, const std::string& version,
                       const std::string& date) {
    std::string out =
        ".\\\" Made from the command table and cli/manual.md at build time; edit those.\n"
        ".TH QV5 1 \"" +
        date + "\" \"QV5 SETUP " + version +
        "\" \"User Commands\"\n"
        ".SH NAME\n"
        "QV5 \\- set\\-up and song library program of the QV5 BMS player\n"
        ".SH SYNOPSIS\n"
        ".B QV5\n" +
        RoffUsage(std::string(kProgramUsage).substr(4)) +
        "\n"
        ".br\n"
        ".B QV5\n" +
        RoffUsage("COMMAND --help") +
        "\n"
        ".SH DESCRIPTION\n" +
        RoffBlocks(manual.lead, false);
    for (const auto& [heading, text] : manual.sections)
        if (!Trailing(heading)) out += ".SH \"" + Upper(heading) + "\"\n" + RoffBlocks(text, false);
    out += ".SH COMMANDS\n";
    const char* group = nullptr;
    for (const Command& c : Commands()) {
        if (!group || std::strcmp(group, c.group) != 0) {
            group = c.group;
            out += ".SS \"" + GroupHeading(group) + "\"\n";
        }
        out += ".TP\n" + RoffUsage(CommandSynopsis(c)) + "\n" + RoffLine(Sentence(c.help));
        if (!c.options.empty()) {
            out += ".RS\n";
            for (const Option& o : c.options)
                out += ".TP\n" + RoffUsage(OptionUsage(o)) + "\n" + RoffLine(Sentence(o.help));
            out += ".RE\n";
        }
        if (const std::string* detail = DetailOf(manual, c.name)) out += RoffBlocks(*detail, true);
    }
    out += ".SH OPTIONS\n";
    for (const Option& o : ProgramOptions())
        out += ".TP\n" + RoffUsage(OptionUsage(o)) + "\n" + RoffLine(Sentence(o.help));
    for (const auto& [heading, text] : manual.sections)
        if (Trailing(heading)) out += ".SH \"" + Upper(heading) + "\"\n" + RoffBlocks(text, false);
    out +=
        ".SH \"SEE ALSO\"\n"
        ".BR wine (1);\n"
        "the README and the folder docs of the source: the window, the files and\n"
        "their limits, building and testing.\n";
    return out;
}

std::string CommandsMarkdown(const ManualText& manual) {
    std::string out =
        "# QV5 command line\n\n"
        "<!-- Made from the command table (src/cli/command_table.cpp) and\n"
        "     src/cli/manual.md: edit those, then build the target commands_md. -->\n\n"
        "    " +
        std::string(kProgramUsage) + "\n    QV5 COMMAND --help\n\n" + manual.lead +
        "\n\nThe same text is the manual page: `man QV5` once installed with `cmake --install`.\n";
    for (const auto& [heading, text] : manual.sections)
        if (!Trailing(heading)) out += "\n## " + heading + "\n\n" + text + "\n";
    out += "\n## Commands\n";
    const char* group = nullptr;
    for (const Command& c : Commands()) {
        if (!group || std::strcmp(group, c.group) != 0) {
            group = c.group;
            out += "\n### " + GroupHeading(group) + "\n";
        }
        out += "\n#### `" + CommandSynopsis(c) + "`\n\n" + Sentence(c.help) + "\n";
        if (!c.options.empty()) {
            out += "\n";
            for (const Option& o : c.options)
                out += "- `" + OptionUsage(o) + "`: " + Sentence(o.help) + "\n";
        }
        if (const std::string* detail = DetailOf(manual, c.name)) out += "\n" + *detail + "\n";
    }
    out += "\n## Options\n\n";
    for (const Option& o : ProgramOptions())
        out += "- `" + OptionUsage(o) + "`: " + Sentence(o.help) + "\n";
    for (const auto& [heading, text] : manual.sections)
        if (Trailing(heading)) out += "\n## " + heading + "\n\n" + text + "\n";
    return out;
}

std::string BashCompletion() {
    std::string commands, takes_value, program_values, command_values, options, positionals;
    for (const Option& o : ProgramOptions()) {
        if (!o.value) continue;
        takes_value += std::string("        ") + o.name + ") return 0 ;;\n";
        program_values += std::string("        ") + o.name + ") _qv5_reply \"" +
                          Completion(o.value, o.words) + "\" ;;\n";
    }
    for (const Command& c : Commands()) {
        commands += std::string(c.name) + " ";
        std::string names = "--help";
        for (const Option& o : c.options) {
            names += std::string(" ") + o.name;
            if (!o.value) continue;
            const std::string key = std::string(c.name) + " " + o.name;
            takes_value += "        \"" + key + "\") return 0 ;;\n";
            command_values +=
                "        \"" + key + "\") _qv5_reply \"" + Completion(o.value, o.words) + "\" ;;\n";
        }
        options += std::string("        ") + c.name + ") words='" + names + "' ;;\n";
        bool many = false;
        std::string kinds;
        for (const std::string& p : Positionals(c, many))
            kinds += " \"" + Completion(p, p == "KIND" ? c.words : nullptr) + "\"";
        positionals += std::string("        ") + c.name + ") _qv5_argument $n " +
                       (many ? "1" : "0") + kinds + " ;;\n";
    }
    std::string program_options;
    for (const Option& o : ProgramOptions()) program_options += std::string(" ") + o.name;
    return "# bash completion for QV5 (QV5 SETUP); made from its command table at build time.\n"
           "\n"
           "# COMPREPLY from an action: -d folders, -f files, =WORDS those words, empty none.\n"
           "_qv5_reply() {\n"
           "    local IFS=$'\\n'\n"
           "    case $1 in\n"
           "    -d | -f) COMPREPLY=($(compgen \"$1\" -- \"$cur\")) ;;\n"
           "    =*) COMPREPLY=($(IFS=' ' compgen -W \"${1#=}\" -- \"$cur\")) ;;\n"
           "    esac\n"
           "}\n"
           "\n"
           "# The N-th argument of a command: _qv5_argument N MANY ACTION..., the last\n"
           "# action taken again for any further argument when MANY is 1.\n"
           "_qv5_argument() {\n"
           "    local n=$1 many=$2\n"
           "    shift 2\n"
           "    (($# == 0)) && return\n"
           "    if ((n >= $#)); then\n"
           "        ((many)) || return\n"
           "        n=$(($# - 1))\n"
           "    fi\n"
           "    local actions=(\"$@\")\n"
           "    _qv5_reply \"${actions[n]}\"\n"
           "}\n"
           "\n"
           "# Whether the option (\"--dir\", or \"COMMAND --option\") takes a value.\n"
           "_qv5_takes_value() {\n"
           "    case $1 in\n" +
           takes_value +
           "    esac\n"
           "    return 1\n"
           "}\n"
           "\n"
           "_qv5() {\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}\n"
           "    local cmd= word i n=0 ended=0 words\n"
           "    COMPREPLY=()\n"
           "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
           "        word=${COMP_WORDS[i]}\n"
           "        if ((ended)) || [[ $word != -* ]]; then\n"
           "            if [[ -z $cmd ]]; then cmd=$word; else ((n++)); fi\n"
           "        elif [[ $word == -- ]]; then\n"
           "            ended=1\n"
           "        elif _qv5_takes_value \"$word\" || _qv5_takes_value \"$cmd $word\"; then\n"
           "            ((i++))\n"
           "        fi\n"
           "    done\n"
           "    if ((!ended)) && _qv5_takes_value \"$cmd $prev\"; then\n"
           "        case \"$cmd $prev\" in\n" +
           command_values +
           "        esac\n"
           "        return\n"
           "    fi\n"
           "    if ((!ended)) && _qv5_takes_value \"$prev\"; then\n"
           "        case $prev in\n" +
           program_values +
           "        esac\n"
           "        return\n"
           "    fi\n"
           "    if [[ -z $cmd ]]; then\n"
           "        _qv5_reply \"=" +
           commands + program_options.substr(1) +
           "\"\n"
           "        return\n"
           "    fi\n"
           "    if ((!ended)) && [[ $cur == -* ]]; then\n"
           "        case $cmd in\n" +
           options +
           "        *) words=--help ;;\n"
           "        esac\n"
           "        _qv5_reply \"=$words\"\n"
           "        return\n"
           "    fi\n"
           "    case $cmd in\n" +
           positionals +
           "    esac\n"
           "}\n"
           "complete -o filenames -F _qv5 QV5\n";
}

}  // namespace qv5
