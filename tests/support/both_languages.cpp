#include "support/both_languages.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/text.h"
#include "platform/translation.h"

namespace qv5::test {

void ExpectInBothLanguages(const std::function<void(const AddText& add)>& make) {
    struct Case {
        int language;
        std::string text;
        const char* expected;
    };
    std::vector<Case> cases;
    for (int language : {1, 0}) {
        UseLanguage(language);
        make([&](std::string text, const char* english, const char* japanese) {
            cases.push_back({language, std::move(text), language == 1 ? english : japanese});
        });
    }
    UseLanguage(0);
    for (const Case& c : cases) EXPECT_EQ(Cp932ToUtf8(c.text), c.expected) << c.language;
}

}  // namespace qv5::test
