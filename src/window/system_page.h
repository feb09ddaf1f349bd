// The SYSTEM page: display and sound. The driver list holds the host's
// playback devices for the chosen output type.
#pragma once

#include "window/page.h"

class QComboBox;

namespace qv5 {

class SystemPage : public Page {
    Q_OBJECT
  public:
    struct Values {
        std::int32_t output = 0, driver = 0, bufferlength = 384, disablefmod = 0;
        std::int32_t highcolor = 0, vsync = 0, hptimer = 0, directdraw = 0;
        std::int32_t softwarerendering = 0, maindisplay = 0;
    };

    explicit SystemPage(QWidget* parent = nullptr);
    // Also selects the output type and lists the drivers with the driver value.
    void ShowValues() override;
    void ReadControls() override;
    void LoadFrom(const ConfigRecord& c) override;
    void StoreTo(ConfigRecord& c) const override;

    // Lists the devices of the selected output type into 1007 and selects
    // entry `selection` (none when out of range).
    void FillDriverList(int selection);
    // The sound library's number of an index of list 1001.
    static int OutputType(int index);

    Values values;

  private:
    QComboBox* output_;
    QComboBox* driver_;
    bool showing_ = false;
};

}  // namespace qv5
