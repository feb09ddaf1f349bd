// The person at the screen, scripted: every prompt is recorded and answered
// from a queue. A prompt with no scripted answer fails the test.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui_service.h"

namespace qv5::test {

struct Prompt {
    std::string kind;     // "message", "folder", "open", "save", "font", "dialog"
    std::string text;     // CP932
    std::string caption;  // the title of a picker; the filter of a save picker
    MsgButtons buttons = MsgButtons::Ok;
    const QWidget* owner = nullptr;  // the window a message box belongs to
    std::string Utf8Text() const;
    std::string Utf8Caption() const;
};

class ScriptedUi final : public UiService {
  public:
    // Answers, consumed in order.
    void AnswerMessage(MsgAnswer a);
    void AnswerPath(std::optional<std::string> path);
    void AnswerFont(std::optional<FontChoice> font);
    // Fills the dialog's controls and returns its result code.
    void AnswerDialog(std::function<int(QDialog&)> fill);
    // Answers every further message box with OK (or Yes).
    void AcceptAllMessages(bool on = true) { accept_all_ = on; }

    const std::vector<Prompt>& prompts() const { return prompts_; }
    std::vector<std::string> MessageTexts() const;  // UTF-8
    // The default extension of every save picker shown, in order.
    const std::vector<std::string>& SaveExtensions() const { return save_exts_; }
    bool Exhausted() const { return answers_.empty(); }

    MsgAnswer MessageBox(QWidget*, const std::string& text, const std::string& caption,
                         MsgButtons buttons, MsgIcon icon) override;
    std::optional<std::string> BrowseFolder(QWidget*, const std::string& title) override;
    std::optional<std::string> OpenFile(QWidget*, const std::string& filter,
                                        const std::string& title) override;
    std::optional<std::string> SaveFile(QWidget*, const std::string& name, const std::string& ext,
                                        const std::string& filter) override;
    std::optional<FontChoice> ChooseFont(QWidget*, const FontChoice& initial) override;
    int RunDialog(QDialog& dialog) override;

  private:
    struct Answer {
        std::string kind;
        MsgAnswer msg = MsgAnswer::Ok;
        std::optional<std::string> path;
        std::optional<FontChoice> font;
        std::function<int(QDialog&)> fill;
    };
    const Answer* Next(const std::string& kind, const Prompt& p);
    std::deque<Answer> answers_;
    Answer current_;
    std::vector<Prompt> prompts_;
    std::vector<std::string> save_exts_;
    bool accept_all_ = false;
    int unscripted_ = 0;
};

// Installs a ScriptedUi for the lifetime of the guard.
class ScopedScriptedUi {
  public:
    ScopedScriptedUi();
    ~ScopedScriptedUi();
    ScriptedUi& operator*() { return *ui_; }
    ScriptedUi* operator->() { return ui_; }

  private:
    ScriptedUi* ui_;
    std::unique_ptr<UiService> previous_;
};

}  // namespace qv5::test
