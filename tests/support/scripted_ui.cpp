#include "support/scripted_ui.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <cstdio>
#include <cstdlib>

#include "platform/text.h"

namespace qv5::test {

std::string Prompt::Utf8Text() const {
    return Cp932ToUtf8(text);
}
std::string Prompt::Utf8Caption() const {
    return Cp932ToUtf8(caption);
}

void ScriptedUi::AnswerMessage(MsgAnswer a) {
    answers_.push_back({"message", a, {}, {}, {}});
}
void ScriptedUi::AnswerPath(std::optional<std::string> path) {
    answers_.push_back({"path", MsgAnswer::Ok, std::move(path), {}, {}});
}
void ScriptedUi::AnswerFont(std::optional<FontChoice> font) {
    answers_.push_back({"font", MsgAnswer::Ok, {}, std::move(font), {}});
}
void ScriptedUi::AnswerDialog(std::function<int(QDialog&)> fill) {
    answers_.push_back({"dialog", MsgAnswer::Ok, {}, {}, std::move(fill)});
}

std::vector<std::string> ScriptedUi::MessageTexts() const {
    std::vector<std::string> out;
    for (const auto& p : prompts_)
        if (p.kind == "message") out.push_back(p.Utf8Text());
    return out;
}

const ScriptedUi::Answer* ScriptedUi::Next(const std::string& kind, const Prompt& p) {
    prompts_.push_back(p);
    if (answers_.empty() || answers_.front().kind != kind) {
        ADD_FAILURE() << "unscripted " << p.kind << ": " << p.Utf8Text() << " [" << p.Utf8Caption()
                      << "]";
        // A loop that keeps asking would never end the test.
        if (++unscripted_ > 20) {
            std::fprintf(stderr, "too many unscripted prompts\n");
            std::abort();
        }
        return nullptr;
    }
    current_ = std::move(answers_.front());
    answers_.pop_front();
    return &current_;
}

MsgAnswer ScriptedUi::MessageBox(QWidget* owner, const std::string& text,
                                 const std::string& caption, MsgButtons buttons, MsgIcon) {
    Prompt p{"message", text, caption, buttons, owner};
    if (accept_all_ && (answers_.empty() || answers_.front().kind != "message")) {
        prompts_.push_back(p);
        return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
    }
    const Answer* a = Next("message", p);
    return a ? a->msg : MsgAnswer::Cancel;
}

std::optional<std::string> ScriptedUi::BrowseFolder(QWidget*, const std::string& title) {
    const Answer* a = Next("path", {"folder", title, "", MsgButtons::Ok});
    return a ? a->path : std::nullopt;
}

std::optional<std::string> ScriptedUi::OpenFile(QWidget*, const std::string& filter,
                                                const std::string& title) {
    const Answer* a = Next("path", {"open", filter, title, MsgButtons::Ok});
    return a ? a->path : std::nullopt;
}

std::optional<std::string> ScriptedUi::SaveFile(QWidget*, const std::string& name,
                                                const std::string& ext, const std::string& filter) {
    save_exts_.push_back(ext);
    const Answer* a = Next("path", {"save", name, filter, MsgButtons::Ok});
    return a ? a->path : std::nullopt;
}

std::optional<FontChoice> ScriptedUi::ChooseFont(QWidget*, const FontChoice& initial) {
    const Answer* a = Next("font", {"font", initial.face, "", MsgButtons::Ok});
    return a ? a->font : std::nullopt;
}

int ScriptedUi::RunDialog(QDialog& dialog) {
    const Answer* a =
        Next("dialog", {"dialog", FromQString(dialog.windowTitle()), "", MsgButtons::Ok});
    if (!a || !a->fill) return QDialog::Rejected;
    auto fill = a->fill;  // may be replaced by a nested prompt
    return fill(dialog);
}

ScopedScriptedUi::ScopedScriptedUi() {
    auto ui = std::make_unique<ScriptedUi>();
    ui_ = ui.get();
    previous_ = SetUi(std::move(ui));
}

ScopedScriptedUi::~ScopedScriptedUi() {
    if (!ui_->Exhausted()) ADD_FAILURE() << "scripted answers left over";
    SetUi(std::move(previous_));
}

}  // namespace qv5::test
