#include "window/custom_folder_page.h"

#include <QCheckBox>

namespace qv5 {

CustomFolderPage::CustomFolderPage(QWidget* parent) : Page(parent) {
    Values& v = values;
    AddStatic(1050, QString());
    const struct {
        int id;
        const char* caption;
    } boxes[] = {
        {1006, "RANDOM SELECT"}, {1015, "FAVORITE FOLDER"}, {1016, "PLAYCOUNT TOP 10 FOLDER"},
        {1017, "LEVEL FOLDER"},  {1018, "CLEAR FOLDER"},    {1019, "PLAYRANK FOLDER"},
        {1029, "IGNORE FOLDER"}, {1020, "COURSE FOLDER"},
    };
    for (size_t bit = 0; bit < v.folders.size(); ++bit)
        AddCheck(boxes[bit].id, QString::fromLatin1(boxes[bit].caption), &v.folders[bit]);
    AddCheck(1021, QStringLiteral("RANDOM CLOSE"), &v.randomclose)->setVisible(false);
    AddIntEdit(1002, QString(), &v.searchmax, 1051);
    AddStatic(1052, QString());
    AddIntEdit(1008, QString(), &v.titleflash, 1053);
    AddStatic(1054, QString());
}

void CustomFolderPage::LoadFrom(const ConfigRecord& c) {
    for (size_t bit = 0; bit < values.folders.size(); ++bit)
        values.folders[bit] = (c.customfolder >> bit) & 1;
    values.randomclose = c.randomclose;
    values.searchmax = c.searchmax;
    values.titleflash = c.titleflash;
}

void CustomFolderPage::StoreTo(ConfigRecord& c) const {
    std::int32_t bits = 0;
    for (size_t bit = 0; bit < values.folders.size(); ++bit)
        if (values.folders[bit] == 1) bits |= std::int32_t(1) << bit;
    c.customfolder = bits;
    c.randomclose = values.randomclose;
    c.searchmax = values.searchmax;
    c.titleflash = values.titleflash;
}

}  // namespace qv5
