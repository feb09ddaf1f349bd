#include "window/pages/system_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSignalBlocker>

#include "platform/sound_devices.h"
#include "platform/text.h"
#include "window/common/controls.h"
#include "window/pages/system_page_ids.h"

namespace qv5 {

using namespace system_page_id;

SystemPage::SystemPage(QWidget* parent) : Page(parent) {
    output_ = new QComboBox(this);
    SetControlId(output_, kOutput);
    // Index 0, 1 and 2 stand for the sound library's types 6, 9 and 10.
    output_->addItems(
        {QStringLiteral("DirectSound"), QStringLiteral("WASAPI"), QStringLiteral("ASIO")});
    Place(output_, QStringLiteral("OUTPUT"));
    driver_ = new QComboBox(this);
    SetControlId(driver_, kDriver);
    Place(driver_, QStringLiteral("DRIVER"));
    Keep(&ConfigRecord::output);
    Keep(&ConfigRecord::driver);
    SetDropDownHeight(output_, 200);
    SetDropDownHeight(driver_, 200);
    connect(output_, &QComboBox::currentIndexChanged, this, [this] {
        if (!showing_) FillDriverList(0);
    });
    AddIntEdit(kBufferLength, QStringLiteral("BUFFER"), &ConfigRecord::bufferlength);
    AddStatic(kBufferNote, QString());
    AddCheck(kDisableFmod, QString(), &ConfigRecord::disablefmod);
    AddCheck(kHighColor, QString(), &ConfigRecord::highcolor);
    AddCheck(kVsync, QString(), &ConfigRecord::vsync);
    AddCheck(kHpTimer, QString(), &ConfigRecord::hptimer);
    AddCheck(kDirectDraw, QStringLiteral("DirectDraw"), &ConfigRecord::directdraw)
        ->setVisible(false);
    AddCheck(kSoftwareRendering, QStringLiteral("Software rendering"),
             &ConfigRecord::softwarerendering);
    AddRadioGroup({kMainDisplay, kSubDisplay1, kSubDisplay2},
                  {QStringLiteral("Main display"), QStringLiteral("Sub1"), QStringLiteral("Sub2")},
                  &ConfigRecord::maindisplay);
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

}  // namespace qv5
