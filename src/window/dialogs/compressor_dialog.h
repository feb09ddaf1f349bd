// The video compressor chooser: the codecs the game body can use under Wine,
// with quality and key frame interval.
#pragma once

#include <QDialog>

#include "config/compvars.h"

class QComboBox;
class QSpinBox;

namespace qv5 {

class CompressorDialog : public QDialog {
    Q_OBJECT
  public:
    explicit CompressorDialog(QWidget* parent = nullptr);
    // The choice as the controls show it.
    CompressorChoice Choice() const;

  private:
    QComboBox* codec_;
    QSpinBox* quality_;
    QSpinBox* key_;
};

// Shows the chooser; when confirmed, writes compvars.dat. True when written.
bool ChooseCompressor(QWidget* owner);

}  // namespace qv5
