#include "platform/ui_service.h"

#include <cassert>
#include <cstdio>

#include "platform/text.h"

namespace qv5 {
namespace {

// Used where no window exists (the command line): prompts go to stderr and
// take the safe answer.
class ConsoleUi final : public UiService {
  public:
    MsgAnswer MessageBox(QWidget*, const std::string& text, const std::string& caption,
                         MsgButtons buttons, MsgIcon) override {
        std::fprintf(stderr, "[%s] %s\n", Cp932ToUtf8(caption).c_str(), Cp932ToUtf8(text).c_str());
        switch (buttons) {
            case MsgButtons::Ok:
                return MsgAnswer::Ok;
            case MsgButtons::OkCancel:
                return MsgAnswer::Cancel;
            case MsgButtons::YesNo:
                return MsgAnswer::No;
        }
        return MsgAnswer::Ok;
    }
    std::optional<std::string> BrowseFolder(QWidget*, const std::string&) override { return {}; }
    std::optional<std::string> OpenFile(QWidget*, const std::string&, const std::string&) override {
        return {};
    }
    std::optional<std::string> SaveFile(QWidget*, const std::string&, const std::string&,
                                        const std::string&) override {
        return {};
    }
    std::optional<FontChoice> ChooseFont(QWidget*, const FontChoice&) override { return {}; }
    int RunDialog(QDialog&) override { return 0; }
};

std::unique_ptr<UiService>& Current() {
    static std::unique_ptr<UiService> ui = std::make_unique<ConsoleUi>();
    return ui;
}

}  // namespace

UiService& Ui() {
    // Every program installs its service before it asks anything.
    assert(Current());
    return *Current();
}

std::unique_ptr<UiService> SetUi(std::unique_ptr<UiService> ui) {
    std::swap(Current(), ui);
    return ui;
}

void ShowMessage(QWidget* owner, const std::string& text, const std::string& caption,
                 MsgIcon icon) {
    Ui().MessageBox(owner, text, caption, MsgButtons::Ok, icon);
}

}  // namespace qv5
