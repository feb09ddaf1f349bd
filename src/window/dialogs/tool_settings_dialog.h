// The tool settings dialog: the external programs with their options, the
// movie export settings, the automatic actions after an installation and the
// video compressor. It edits a ToolSettings in place.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "config/tool_settings.h"

class QWidget;

namespace qv5 {

class ToolSettingsDialog : public QDialog {
    Q_OBJECT
  public:
    ToolSettingsDialog(ToolSettings& tools, QWidget* parent = nullptr);

    // Values <-> controls.
    void ShowValues();
    void ReadControls();
    // OK: reads the controls into the values and closes.
    void accept() override;

    // The four choose-program buttons: a program chosen replaces its value and
    // every value is shown again (unconfirmed edits go back).
    void ChooseProgram(int button);

  private:
    struct Binding {
        std::function<void()> show, read;
    };
    ToolSettings& tools_;
    std::vector<Binding> bindings_;
};

// Runs the dialog over `tools` (the JUKEBOX1 page's kToolSettings button). The caller
// limits the numbers afterwards (ClampToolSettings).
void OpenToolSettings(QWidget* owner, ToolSettings& tools);

}  // namespace qv5
