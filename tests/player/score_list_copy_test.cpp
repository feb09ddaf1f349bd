// The score list copy: lines joined without their breaks, the service's
// signals, whatever the pieces the body arrives in.
#include "player/score_list_copy.h"

#include <gtest/gtest.h>

namespace qv5 {
namespace {

using Signal = ScoreListCopy::Signal;

struct Copied {
    std::string text;
    Signal signal;
};

// The body in two pieces split at `at`, then the end.
Copied CopySplit(const std::string& body, size_t at) {
    Copied c;
    ScoreListCopy copy([&c](std::string_view bytes) {
        c.text.append(bytes);
        return true;
    });
    if (copy.Add(std::string_view(body).substr(0, at)) &&
        copy.Add(std::string_view(body).substr(at)))
        copy.Finish();
    c.signal = copy.signal();
    return c;
}

TEST(ScoreListCopy, SameResultWhereverTheBodyIsSplit) {
    struct Case {
        std::string body, text;
        Signal signal;
    } cases[] = {
        {"<a>\r\n<b>\n\r\nlast\rone", "<a><b>last\rone", Signal::None},
        {"x\r\r\ny\r", "x\ry\r", Signal::None},  // only the "\r" of "\r\n" is a break
        {"<s>\r\nERROR busy\r\n<t/>\n", "<s>", Signal::Error},
        {"<s>\nPASS\r\n", "<s>", Signal::Pass},
        {"PASSWORD", "", Signal::Pass},
        {"ERR\nPAS\r\nPA\rSS\nerror\n <s>ERROR</s>", "ERRPASPA\rSSerror <s>ERROR</s>",
         Signal::None},
        {"", "", Signal::None},
    };
    for (const auto& c : cases) {
        for (size_t at = 0; at <= c.body.size(); ++at) {
            const Copied got = CopySplit(c.body, at);
            EXPECT_EQ(got.text, c.text) << c.body << " split at " << at;
            EXPECT_EQ(got.signal, c.signal) << c.body << " split at " << at;
        }
    }
}

}  // namespace
}  // namespace qv5
