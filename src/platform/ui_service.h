// Every modal interaction with the person at the screen goes through UiService,
// so that tests can script the answers and read back what was shown.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QWidget;
class QDialog;

namespace qv5 {

enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgIcon { None, Information, Warning, Error, Question };
enum class MsgAnswer { Ok, Cancel, Yes, No };

// The title shown on boxes without a caption of their own.
inline constexpr const char* kAppTitle = "QV5 SETUP";

struct FontChoice {
    std::string face;  // CP932
    int point_size = 0;
};

// Texts are CP932; paths are internal paths. A file filter is given as
// Windows file dialogs take it: description and pattern pairs separated by
// "|" ("Sound (*.wav)|*.wav|All Files(*.*)|*.*||"); a text without "|" is one
// description holding its pattern in parentheses.
class UiService {
  public:
    virtual ~UiService() = default;
    virtual MsgAnswer MessageBox(QWidget* owner, const std::string& text,
                                 const std::string& caption, MsgButtons buttons, MsgIcon icon) = 0;
    virtual std::optional<std::string> BrowseFolder(QWidget* owner, const std::string& title) = 0;
    // An existing file; `title` empty gives the platform's own.
    virtual std::optional<std::string> OpenFile(QWidget* owner, const std::string& filter,
                                                const std::string& title = {}) = 0;
    // Asks before replacing an existing file. A name typed without extension
    // gets `default_ext` (without dot).
    virtual std::optional<std::string> SaveFile(QWidget* owner, const std::string& default_name,
                                                const std::string& default_ext,
                                                const std::string& filter) = 0;
    virtual std::optional<FontChoice> ChooseFont(QWidget* owner, const FontChoice& initial) = 0;
    // Runs a dialog modally; returns its result code (QDialog::Accepted etc.).
    virtual int RunDialog(QDialog& dialog) = 0;
};

UiService& Ui();
// Installs the service used by Ui(); the previous one is returned.
std::unique_ptr<UiService> SetUi(std::unique_ptr<UiService> ui);

// Shortcut for an OK box.
void ShowMessage(QWidget* owner, const std::string& text, const std::string& caption = kAppTitle,
                 MsgIcon icon = MsgIcon::None);

}  // namespace qv5
