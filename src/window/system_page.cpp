#include "window/system_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSignalBlocker>

#include "window/controls.h"
#include "platform/sound_devices.h"
#include "platform/text.h"

namespace qv5 {

SystemPage::SystemPage(QWidget* parent) : Page(parent) {
    Values& v = values;
    output_ = new QComboBox(this);
    SetControlId(output_, 1001);
    // Index 0, 1 and 2 stand for the sound library's types 6, 9 and 10.
    output_->addItems(
        {QStringLiteral("DirectSound"), QStringLiteral("WASAPI"), QStringLiteral("ASIO")});
    Place(output_, QStringLiteral("OUTPUT"));
    driver_ = new QComboBox(this);
    SetControlId(driver_, 1007);
    Place(driver_, QStringLiteral("DRIVER"));
    SetDropDownHeight(output_, 200);
    SetDropDownHeight(driver_, 200);
    connect(output_, &QComboBox::currentIndexChanged, this, [this] {
        if (!showing_) FillDriverList(0);
    });
    AddIntEdit(1002, QStringLiteral("BUFFER"), &v.bufferlength);
    AddStatic(1064, QString());
    AddCheck(1006, QString(), &v.disablefmod);
    AddCheck(1015, QString(), &v.highcolor);
    AddCheck(1016, QString(), &v.vsync);
    AddCheck(1017, QString(), &v.hptimer);
    AddCheck(1018, QStringLiteral("DirectDraw"), &v.directdraw)->setVisible(false);
    AddCheck(1019, QStringLiteral("Software rendering"), &v.softwarerendering);
    AddRadioGroup({1105, 1042, 1041},
                  {QStringLiteral("Main display"), QStringLiteral("Sub1"), QStringLiteral("Sub2")},
                  &v.maindisplay);
}

int SystemPage::OutputType(int index) {
    switch (index) {
        case 1:
            return 9;
        case 2:
            return 10;
        default:
            return 6;
    }
}

void SystemPage::FillDriverList(int selection) {
    const QSignalBlocker block(driver_);
    driver_->clear();
    for (const std::string& name : SoundOutputDevices(OutputType(output_->currentIndex())))
        driver_->addItem(ToQString(name));
    driver_->setCurrentIndex(selection >= 0 && selection < driver_->count() ? selection : -1);
    SetDropDownHeight(driver_, 200);
}

void SystemPage::ShowValues() {
    Page::ShowValues();
    showing_ = true;
    output_->setCurrentIndex(values.output >= 0 && values.output < output_->count() ? values.output
                                                                                    : -1);
    showing_ = false;
    FillDriverList(values.driver);
}

void SystemPage::ReadControls() {
    Page::ReadControls();
    values.output = output_->currentIndex();
    values.driver = driver_->currentIndex();
}

void SystemPage::LoadFrom(const ConfigRecord& c) {
    Values& v = values;
    v.output = c.output;
    v.driver = c.driver;
    v.bufferlength = c.bufferlength;
    v.disablefmod = c.disablefmod;
    v.highcolor = c.highcolor;
    v.vsync = c.vsync;
    v.hptimer = c.hptimer;
    v.directdraw = c.directdraw;
    v.softwarerendering = c.softwarerendering;
    v.maindisplay = c.maindisplay;
}

void SystemPage::StoreTo(ConfigRecord& c) const {
    const Values& v = values;
    c.output = v.output;
    c.driver = v.driver;
    c.bufferlength = v.bufferlength;
    c.disablefmod = v.disablefmod;
    c.highcolor = v.highcolor;
    c.vsync = v.vsync;
    c.hptimer = v.hptimer;
    c.directdraw = v.directdraw;
    c.softwarerendering = v.softwarerendering;
    c.maindisplay = v.maindisplay;
}

}  // namespace qv5
