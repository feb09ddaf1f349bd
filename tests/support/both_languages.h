// Texts checked in both languages: `make` runs once in English and once in
// Japanese, and each text it adds must be the form given for that language.
#pragma once

#include <functional>
#include <string>

namespace qv5::test {

using AddText = std::function<void(std::string text, const char* english, const char* japanese)>;
void ExpectInBothLanguages(const std::function<void(const AddText& add)>& make);

}  // namespace qv5::test
