#include "app/main_window_steps.h"

namespace qv5 {

void OpenLibraryAtStart(const std::string&) {}
void ReopenLibrary(const std::string&) {}

}  // namespace qv5
