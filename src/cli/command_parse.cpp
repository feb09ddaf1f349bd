#include "cli/command_parse.h"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <cstring>

namespace qv5 {
namespace {

constexpr size_t kWidth = 79;  // of a usage line, wrapped beyond

std::vector<std::string> Words(const char* text) {
    std::vector<std::string> words;
    std::string word;
    for (const char* p = text;; ++p) {
        if (*p == ' ' || *p == '\0') {
            if (!word.empty()) words.push_back(word);
            word.clear();
            if (*p == '\0') return words;
        } else {
            word += *p;
        }
    }
}

bool EndsWithDots(const std::string& word) {
    return word.size() > 3 && word.compare(word.size() - 3, 3, "...") == 0;
}

// The positional placeholders: each with whether it may be left out and
// whether it takes any number.
struct Placeholder {
    std::string word;  // without brackets and dots
    bool optional = false, many = false;
};

std::vector<Placeholder> Placeholders(const Command& command) {
    std::vector<Placeholder> out;
    bool in_brackets = false;
    for (std::string word : Words(command.arguments)) {
        if (word.front() == '[') {
            in_brackets = true;
            word.erase(0, 1);
        }
        const bool closes = word.back() == ']';
        if (closes) word.pop_back();
        Placeholder p;
        p.optional = in_brackets;
        p.many = EndsWithDots(word);
        if (p.many) word.resize(word.size() - 3);
        p.word = word;
        out.push_back(p);
        if (closes) in_brackets = false;
    }
    return out;
}

const Option* FindOption(const Command& command, std::string_view name) {
    for (const Option& o : command.options)
        if (name == o.name) return &o;
    return nullptr;
}

std::string OptionCall(const Option& o) {
    return o.value ? std::string(o.name) + " " + o.value : std::string(o.name);
}

std::string NeedsValue(const Option& o) {
    assert(o.value);
    return std::string(o.name) + " needs a value such as " + (o.example ? o.example : o.value);
}

size_t Distance(std::string_view a, std::string_view b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// Words joined with spaces, broken before a word that would pass the width;
// the lines after the first begin with `indent` spaces.
std::string Wrapped(const std::vector<std::string>& words, size_t first_column, size_t indent) {
    std::string text;
    size_t column = first_column;
    for (size_t i = 0; i < words.size(); ++i) {
        if (i > 0 && column + 1 + words[i].size() > kWidth) {
            text += "\n" + std::string(indent, ' ');
            column = indent;
        } else if (i > 0) {
            text += ' ';
            ++column;
        }
        text += words[i];
        column += words[i].size();
    }
    return text;
}

std::vector<std::string> SynopsisWords(const Command& command, bool short_options) {
    std::vector<std::string> words{command.name};
    for (const std::string& w : Words(command.arguments)) words.push_back(w);
    if (short_options && command.options.size() > 3) {
        words.push_back("[OPTION...]");
    } else {
        for (const Option& o : command.options) words.push_back("[" + OptionCall(o) + "]");
    }
    return words;
}

std::string UsageLine(const Command& command) {
    return "Usage: QV5 " + Wrapped(SynopsisWords(command, false), 11, 11) + "\n";
}

}  // namespace

bool CommandCall::Has(std::string_view option) const {
    return std::any_of(options.begin(), options.end(),
                       [&](const auto& o) { return o.first == option; });
}

std::optional<std::string> CommandCall::Value(std::string_view option) const {
    for (const auto& o : options)
        if (o.first == option) return o.second;
    return std::nullopt;
}

bool ArgumentsFit(const Command& command, size_t count) {
    size_t required = 0, optional = 0;
    bool unbounded = false;
    for (const Placeholder& p : Placeholders(command)) {
        ++(p.optional ? optional : required);
        unbounded = unbounded || p.many;
    }
    return count >= required && (unbounded || count <= required + optional);
}

std::string CommandSynopsis(const Command& command, bool short_options) {
    std::string text;
    for (const std::string& w : SynopsisWords(command, short_options))
        text += (text.empty() ? "" : " ") + w;
    return text;
}

std::string OptionLines(std::span<const Option> options, size_t indent) {
    constexpr size_t kHelpColumn = 16;  // after the indent
    std::string text;
    for (const Option& o : options) {
        const std::string call = OptionCall(o);
        text += std::string(indent, ' ') + call;
        if (call.size() + 2 <= kHelpColumn)
            text += std::string(kHelpColumn - call.size(), ' ');
        else
            text += "\n" + std::string(indent + kHelpColumn, ' ');
        for (const char* p = o.help; *p; ++p) {
            text += *p;
            if (*p == '\n') text += std::string(indent + kHelpColumn, ' ');
        }
        text += "\n";
    }
    return text;
}

std::string CommandHelpText(const Command& command) {
    std::string text = UsageLine(command) + "\n";
    for (const char* p = command.help; *p; ++p) {
        if (p == command.help || p[-1] == '\n') text += "  ";
        text += *p;
    }
    text += "\n";
    if (!command.options.empty()) text += "\nOptions:\n" + OptionLines(command.options, 2);
    return text;
}

bool ParseCall(const Command& command, const std::vector<std::string>& words, CommandCall& call,
               std::string& error) {
    call.command = &command;
    call.args.clear();
    call.options.clear();
    bool options_end = false;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (!options_end && w == "--") {
            options_end = true;
            continue;
        }
        if (options_end || w.size() < 2 || w[0] != '-') {
            call.args.push_back(w);
            continue;
        }
        const size_t equals = w.rfind("--", 0) == 0 ? w.find('=') : std::string::npos;
        const std::string name = w.substr(0, equals);
        const Option* o = FindOption(command, name);
        if (!o) {
            error = "unknown option " + name;
            std::vector<std::string> names;
            for (const Option& known : command.options) names.push_back(known.name);
            if (auto near = Suggestion(name, names)) error += " (did you mean " + *near + "?)";
            return false;
        }
        if (call.Has(o->name)) {
            error = name + " given twice";
            return false;
        }
        std::string value;
        if (!o->value) {
            if (equals != std::string::npos) {
                error = name + " takes no value";
                return false;
            }
        } else if (equals != std::string::npos) {
            value = w.substr(equals + 1);
        } else if (i + 1 < words.size() && !FindOption(command, words[i + 1]) &&
                   words[i + 1] != "--") {
            value = words[++i];
        }
        if (o->value && value.empty()) {
            error = NeedsValue(*o);
            return false;
        }
        call.options.emplace_back(o->name, value);
    }
    for (const Option& o : command.options)
        if (o.needed_unless && !call.Has(o.name) && !call.Has(o.needed_unless)) {
            error = OptionCall(o) + " is missing";
            return false;
        }
    const std::vector<Placeholder> placeholders = Placeholders(command);
    size_t required = 0;
    bool unbounded = false;
    for (const Placeholder& p : placeholders) {
        required += !p.optional;
        unbounded = unbounded || p.many;
    }
    if (call.args.size() < required) {
        size_t k = 0;
        for (const Placeholder& p : placeholders) {
            if (p.optional) continue;
            if (k++ == call.args.size()) {
                error = p.word + " is missing";
                break;
            }
        }
        return false;
    }
    if (!unbounded && call.args.size() > placeholders.size()) {
        error = "too many arguments: " + call.args[placeholders.size()];
        return false;
    }
    return true;
}

int UsageError(const Command& command, const std::string& what) {
    std::fprintf(stderr, "%s: %s\n%s", command.name, what.c_str(), UsageLine(command).c_str());
    return 2;
}

int WrongValue(const CommandCall& call, std::string_view option, const std::string& value) {
    assert(call.command);
    const Option* o = FindOption(*call.command, option);
    assert(o && o->value);
    return UsageError(*call.command, NeedsValue(*o) + ", not " + value);
}

std::optional<std::string> Suggestion(std::string_view word,
                                      const std::vector<std::string>& candidates) {
    std::optional<std::string> best;
    size_t best_distance = 3;  // more letters off than two is not a slip
    bool tie = false;
    for (const std::string& c : candidates) {
        const bool starts = word.size() >= 3 && c.size() > word.size() && c.rfind(word, 0) == 0;
        const size_t d = starts ? 1 : Distance(word, c);
        if (d < best_distance) {
            best = c;
            best_distance = d;
            tie = false;
        } else if (d == best_distance) {
            tie = true;
        }
    }
    if (tie) return std::nullopt;
    return best;
}

}  // namespace qv5
