#include "app/tab_main.h"

namespace qv5 {

void CTabMain::FillPlayerList(const std::string&) {}
void CTabMain::OnNewPlayer() {}
void CTabMain::OnTopPage() {}
void CTabMain::OnMyPage() {}

}  // namespace qv5
