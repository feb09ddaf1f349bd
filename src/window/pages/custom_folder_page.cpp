#include "window/pages/custom_folder_page.h"

#include <QCheckBox>

#include "window/pages/custom_folder_page_ids.h"

namespace qv5 {

using namespace custom_folder_page_id;

namespace {
constexpr int kFolderBits = 8;  // one box per bit of customfolder, bit 0 first
}  // namespace

CustomFolderPage::CustomFolderPage(QWidget* parent) : Page(parent) {
    AddStatic(kFoldersLabel, QString());
    const struct {
        int id;
        const char* caption;
    } boxes[] = {
        {kRandomSelect, "RANDOM SELECT"},
        {kFavorite, "FAVORITE FOLDER"},
        {kPlaycountTop10, "PLAYCOUNT TOP 10 FOLDER"},
        {kLevel, "LEVEL FOLDER"},
        {kClear, "CLEAR FOLDER"},
        {kPlayrank, "PLAYRANK FOLDER"},
        {kIgnore, "IGNORE FOLDER"},
        {kCourse, "COURSE FOLDER"},
    };
    for (int bit = 0; bit < kFolderBits; ++bit)
        AddBitCheck(boxes[bit].id, QString::fromLatin1(boxes[bit].caption),
                    &ConfigRecord::customfolder, bit);
    AddCheck(kRandomClose, QStringLiteral("RANDOM CLOSE"), &ConfigRecord::randomclose)
        ->setVisible(false);
    AddIntEdit(kSearchMax, QString(), &ConfigRecord::searchmax, kSearchMaxLabel);
    AddStatic(kSearchMaxNote, QString());
    AddIntEdit(kTitleFlash, QString(), &ConfigRecord::titleflash, kTitleFlashLabel);
    AddStatic(kTitleFlashUnit, QString());
}

void CustomFolderPage::ReadControls() {
    Page::ReadControls();
    values.customfolder &= (std::int32_t(1) << kFolderBits) - 1;
}

}  // namespace qv5
