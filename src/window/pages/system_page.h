// The SYSTEM page: display and sound. The driver list holds the host's
// playback devices for the chosen output type.
#pragma once

#include "window/pages/page.h"

class QComboBox;

namespace qv5 {

class SystemPage : public Page {
    Q_OBJECT
  public:
    explicit SystemPage(QWidget* parent = nullptr);
    // Also selects the output type and lists the drivers with the driver value.
    void ShowValues() override;
    void ReadControls() override;

    // Lists the devices of the selected output type into kDriver and selects
    // entry `selection` (none when out of range).
    void FillDriverList(int selection);
    // The sound library's number of an index of list kOutput.
    static int OutputType(int index);

  private:
    QComboBox* output_;
    QComboBox* driver_;
    bool showing_ = false;
};

}  // namespace qv5
