// English captions of the windows written with tr() (Japanese source texts),
// from the table translations/*.tsv compiled in (context, Japanese, English).
#pragma once

namespace qv5 {

// Installs the English table for language 1 and removes it for any other;
// Qt then sends every widget a LanguageChange.
void UseCaptionLanguage(int language);

}  // namespace qv5
