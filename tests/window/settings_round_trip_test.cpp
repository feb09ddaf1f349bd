// Every key edited on the settings pages and in the tool settings dialog:
// its value in config.xml shows in its control and comes back byte for byte.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <map>
#include <set>

#include "config/config_file.h"
#include "config/config_keys.h"
#include "platform/text.h"
#include "support/alsa_devices.h"
#include "support/players.h"
#include "support/scripted_ui.h"
#include "support/temp_game.h"
#include "window/common/controls.h"
#include "window/dialogs/tool_settings_dialog.h"
#include "window/dialogs/tool_settings_dialog_ids.h"
#include "window/main/main_window.h"
#include "window/pages/custom_folder_page.h"
#include "window/pages/custom_folder_page_ids.h"
#include "window/pages/jukebox_page.h"
#include "window/pages/main_page.h"
#include "window/pages/main_page_ids.h"
#include "window/pages/option_page.h"
#include "window/pages/option_page_ids.h"
#include "window/pages/select_page.h"
#include "window/pages/select_page_ids.h"
#include "window/pages/system_page.h"
#include "window/pages/system_page_ids.h"

namespace qv5 {
namespace {

enum class Kind { Check, Edit, Radio, List, PlayerList, Bits };
constexpr int kToolDialog = -2;
namespace tools = tool_settings_id;

struct Row {
    const char* section;
    const char* key;
    int page;  // tab index, or kToolDialog
    Kind kind;
    std::vector<int> ids;
    const char* value;  // UTF-8, as written in config.xml
};

const std::vector<Row>& Rows() {
    static const std::vector<Row> rows = {
        {"player", "id", 0, Kind::PlayerList, {main_page_id::kPlayers}, "player"},
        {"player", "pass", 0, Kind::Edit, {main_page_id::kPass}, "pass"},
        {"system", "screenmode", 0, Kind::Check, {main_page_id::kWindowMode}, "1"},
        {"system", "windowsize_x", 0, Kind::Edit, {main_page_id::kWidth}, "1280"},
        {"system", "windowsize_y", 0, Kind::Edit, {main_page_id::kHeight}, "-720"},
        {"system", "screenexrate", 0, Kind::Edit, {main_page_id::kScreenRate}, "150"},
        {"system",
         "autoreload",
         0,
         Kind::Radio,
         {main_page_id::kReloadManual, main_page_id::kReloadOpened, main_page_id::kReloadAtStart},
         "1"},
        {"network", "qv5ir", 0, Kind::Check, {main_page_id::kQv5Ir}, "1"},
        {"network", "getrival", 0, Kind::Check, {main_page_id::kRival}, "1"},
        {"network", "autoupdate", 0, Kind::Check, {main_page_id::kAutoUpdate}, "1"},
        {"network", "qv4ir", 0, Kind::Check, {main_page_id::kQv4Ir}, "1"},
        {"network", "qv4id", 0, Kind::Edit, {main_page_id::kQv4Id}, "qv4user"},
        {"network", "qv4pass", 0, Kind::Edit, {main_page_id::kQv4Pass}, "qv4 pw"},
        {"network", "mail", 0, Kind::Edit, {main_page_id::kMail}, "a&b@example.jp"},

        {"system",
         "customfolder",
         2,
         Kind::Bits,
         {custom_folder_page_id::kRandomSelect, custom_folder_page_id::kFavorite,
          custom_folder_page_id::kPlaycountTop10, custom_folder_page_id::kLevel,
          custom_folder_page_id::kClear, custom_folder_page_id::kPlayrank,
          custom_folder_page_id::kIgnore, custom_folder_page_id::kCourse},
         "165"},
        {"select", "randomclose", 2, Kind::Check, {custom_folder_page_id::kRandomClose}, "1"},
        {"select", "searchmax", 2, Kind::Edit, {custom_folder_page_id::kSearchMax}, "250"},
        {"system", "titleflash", 2, Kind::Edit, {custom_folder_page_id::kTitleFlash}, "72"},

        {"play", "hsmin", 3, Kind::Edit, {option_page_id::kHsMin}, "5"},
        {"play", "hsmax", 3, Kind::Edit, {option_page_id::kHsMax}, "950"},
        {"play", "hsmargin", 3, Kind::Edit, {option_page_id::kHsMargin}, "7"},
        {"play", "shuttermargin", 3, Kind::Edit, {option_page_id::kShutterMargin}, "12"},
        {"system", "inputinterval", 3, Kind::Edit, {option_page_id::kInputInterval}, "20"},
        {"select", "speedfirst", 3, Kind::Edit, {option_page_id::kSpeedFirst}, "250"},
        {"select", "speednext", 3, Kind::Edit, {option_page_id::kSpeedNext}, "60"},
        {"play", "basespeed", 3, Kind::Edit, {option_page_id::kBaseSpeed}, "120"},
        {"play", "poorbga", 3, Kind::Edit, {option_page_id::kPoorBga}, "400"},
        {"skin", "fontname", 3, Kind::Edit, {option_page_id::kFontName}, "ＭＳ Ｐゴシック"},
        {"select", "control", 3, Kind::Check, {option_page_id::kControl}, "1"},
        {"select", "buttonselect", 3, Kind::Check, {option_page_id::kButtonSelect}, "1"},
        {"system", "outputlog", 3, Kind::Check, {option_page_id::kOutputLog}, "1"},
        {"system", "thread", 3, Kind::Check, {option_page_id::kThread}, "1"},
        {"select", "folderlamp", 3, Kind::Check, {option_page_id::kFolderLamp}, "1"},
        {"system", "disablesystemkey", 3, Kind::Check, {option_page_id::kDisableSystemKey}, "1"},
        {"skin", "disableimagefont", 3, Kind::Check, {option_page_id::kDisableImageFont}, "1"},
        {"system",
         "disableskinpreview",
         3,
         Kind::Check,
         {option_page_id::kDisableSkinPreview},
         "1"},
        {"system", "disablebmsthread", 3, Kind::Check, {option_page_id::kDisableBmsThread}, "1"},
        {"system",
         "disablefolderthread",
         3,
         Kind::Check,
         {option_page_id::kDisableFolderThread},
         "1"},
        {"play", "gomiscore", 3, Kind::Check, {option_page_id::kGomiScore}, "1"},
        {"play",
         "disablecurspeedchange",
         3,
         Kind::Check,
         {option_page_id::kDisableCurSpeedChange},
         "1"},
        {"play",
         "disableleftclickexit",
         3,
         Kind::Check,
         {option_page_id::kDisableLeftClickExit},
         "1"},

        {"select",
         "difficultychangetype",
         4,
         Kind::Check,
         {select_page_id::kDifficultyChangeType},
         "1"},
        {"select", "ignorekeyall", 4, Kind::Check, {select_page_id::kIgnoreKeyAll}, "1"},
        {"select", "ignorekeysingle", 4, Kind::Check, {select_page_id::kIgnoreKeySingle}, "1"},
        {"select", "ignorekeydouble", 4, Kind::Check, {select_page_id::kIgnoreKeyDouble}, "1"},
        {"select", "ignoredp", 4, Kind::Check, {select_page_id::kIgnoreDp}, "1"},
        {"select", "ignorepms", 4, Kind::Check, {select_page_id::kIgnorePms}, "1"},
        {"select",
         "ignoredifficultyall",
         4,
         Kind::Check,
         {select_page_id::kIgnoreDifficultyAll},
         "1"},
        {"select", "ignore5key", 4, Kind::Check, {select_page_id::kIgnore5Key}, "1"},
        {"select", "levelbarflash_5", 4, Kind::Edit, {select_page_id::kLevelBar5}, "10"},
        {"select", "levelbarflash_7", 4, Kind::Edit, {select_page_id::kLevelBar7}, "13"},
        {"select", "levelbarflash_9", 4, Kind::Edit, {select_page_id::kLevelBar9}, "43"},
        {"select",
         "disabledifficultyfilter",
         4,
         Kind::Check,
         {select_page_id::kDisableDifficultyFilter},
         "1"},
        {"select", "preview", 4, Kind::Check, {select_page_id::kPreview}, "0"},
        {"select", "disablesubtitle", 4, Kind::Check, {select_page_id::kDisableSubtitle}, "1"},

        {"sound", "output", 5, Kind::List, {system_page_id::kOutput}, "1"},
        {"sound", "driver", 5, Kind::List, {system_page_id::kDriver}, "2"},
        {"sound", "bufferlength", 5, Kind::Edit, {system_page_id::kBufferLength}, "512"},
        {"sound", "disablefmod", 5, Kind::Check, {system_page_id::kDisableFmod}, "1"},
        {"system", "highcolor", 5, Kind::Check, {system_page_id::kHighColor}, "1"},
        {"system", "vsync", 5, Kind::Check, {system_page_id::kVsync}, "1"},
        {"system", "hptimer", 5, Kind::Check, {system_page_id::kHpTimer}, "1"},
        {"system", "directdraw", 5, Kind::Check, {system_page_id::kDirectDraw}, "1"},
        {"system", "softwarerendering", 5, Kind::Check, {system_page_id::kSoftwareRendering}, "1"},
        {"system",
         "maindisplay",
         5,
         Kind::Radio,
         {system_page_id::kMainDisplay, system_page_id::kSubDisplay1, system_page_id::kSubDisplay2},
         "2"},

        {"tools", "mp3enc_body", kToolDialog, Kind::Edit, {tools::kMp3Encoder},
         "C:\\tools\\lame.exe"},
        {"tools", "mp3enc_option_normal", kToolDialog, Kind::Edit, {tools::kMp3OptionAudio},
         "-V 2"},
        {"tools", "mp3enc_option_movie", kToolDialog, Kind::Edit, {tools::kMp3OptionMovie},
         "--cbr 128"},
        {"tools",
         "movie_audio",
         kToolDialog,
         Kind::Radio,
         {tools::kMovieAudioMp3, tools::kMovieAudioWav, tools::kMovieAudioSeparateWav},
         "2"},
        {"tools", "mp3_volume", kToolDialog, Kind::Edit, {tools::kMp3Quality}, "80"},
        {"tools", "movie_framerate", kToolDialog, Kind::Edit, {tools::kFrameRate}, "24"},
        {"tools", "oggenc_body", kToolDialog, Kind::Edit, {tools::kOggEncoder},
         "Z:\\usr\\bin\\oggenc"},
        {"tools", "oggenc_option", kToolDialog, Kind::Edit, {tools::kOggEncoderOption},
         "-q 4"},
        {"tools", "oggdec_body", kToolDialog, Kind::Edit, {tools::kOggDecoder},
         "音声\\oggdec.exe"},
        {"tools", "oggdec_option", kToolDialog, Kind::Edit, {tools::kOggDecoderOption},
         "--quiet"},
        {"tools", "bmse_body", kToolDialog, Kind::Edit, {tools::kBmsEditor},
         "iBMSC.exe"},
        {"tools", "bmse_option", kToolDialog, Kind::Edit, {tools::kBmsEditorOption},
         "-x \"a b\""},
        {"tools", "autowavtoogg", kToolDialog, Kind::Check, {tools::kAutoWavToOgg}, "1"},
        {"tools", "autobmptopng", kToolDialog, Kind::Check, {tools::kAutoBmpToPng}, "1"},
        {"tools", "autofumensearch", kToolDialog, Kind::Check, {tools::kAutoHiddenSearch},
         "1"},
    };
    return rows;
}

// Keys no page edits: kept from the file, or edited elsewhere (the Language
// menu, the play options, the JUKEBOX1 page) or derived.
bool EditedElsewhere(const ConfigKey& k) {
    static const std::set<std::string> names = {
        "mainsleep", "bmssleep",      "eventmode",   "language",    "newsongfolder",
        "hs",        "hstype",        "shutter",     "shuttertype", "gauge",
        "random",    "effect",        "autoscratch", "autokey",     "autojudgeadjust",
        "judgetime", "bga",           "bgasize",     "ghost",       "scoregraph",
        "target",    "defaulttarget", "replaysave",  "numbuffers",  "disabledsp",
        "eqflag",    "pitchflag",     "pitchtype",   "pitchp",      "name",
        "irid",      "irpass",        "sort",        "key",         "difficulty"};
    const std::string section = k.section, key = k.key ? k.key : "";
    if (section == "course" || section == "jukebox") return true;
    if (section == "skin" && key != "fontname" && key != "disableimagefont") return true;
    if (key.starts_with("volume") || key.starts_with("eqp") || key.starts_with("fx")) return true;
    return names.contains(key);
}

const ConfigKey* FindKey(const Row& r) {
    for (const ConfigKey& k : ConfigKeys())
        if (k.key && std::string(k.section) == r.section && std::string(k.key) == r.key) return &k;
    return nullptr;
}

int IntValue(const Row& r) {
    return LeadingNumber(r.value);
}

void ExpectShown(const QWidget* owner, const Row& r) {
    SCOPED_TRACE(std::string(r.section) + "/" + r.key);
    const QString text = QString::fromUtf8(r.value);
    switch (r.kind) {
        case Kind::Check: {
            auto* box = Control<QCheckBox>(owner, r.ids[0]);
            ASSERT_TRUE(box) << "no control " << r.ids[0];
            EXPECT_EQ(box->isChecked(), IntValue(r) != 0);
            break;
        }
        case Kind::Edit: {
            auto* edit = Control<QLineEdit>(owner, r.ids[0]);
            ASSERT_TRUE(edit) << "no control " << r.ids[0];
            EXPECT_EQ(edit->text(), text);
            break;
        }
        case Kind::Radio:
            for (size_t i = 0; i < r.ids.size(); ++i) {
                auto* b = Control<QRadioButton>(owner, r.ids[i]);
                ASSERT_TRUE(b) << "no control " << r.ids[i];
                EXPECT_EQ(b->isChecked(), int(i) == IntValue(r)) << r.ids[i];
            }
            break;
        case Kind::List:
        case Kind::PlayerList: {
            auto* list = Control<QComboBox>(owner, r.ids[0]);
            ASSERT_TRUE(list) << "no control " << r.ids[0];
            if (r.kind == Kind::List)
                EXPECT_EQ(list->currentIndex(), IntValue(r));
            else
                EXPECT_EQ(list->currentText(), text);
            break;
        }
        case Kind::Bits:
            for (size_t i = 0; i < r.ids.size(); ++i) {
                auto* box = Control<QCheckBox>(owner, r.ids[i]);
                ASSERT_TRUE(box) << "no control " << r.ids[i];
                EXPECT_EQ(box->isChecked(), ((IntValue(r) >> i) & 1) == 1) << r.ids[i];
            }
            break;
    }
}

TEST(SettingsRoundTrip, EveryPageKeyHasARow) {
    std::set<std::string> rows;
    for (const Row& r : Rows()) {
        EXPECT_TRUE(FindKey(r)) << r.section << "/" << r.key;
        rows.insert(std::string(r.section) + "/" + r.key);
    }
    for (const ConfigKey& k : ConfigKeys()) {
        if (EditedElsewhere(k)) continue;
        EXPECT_TRUE(rows.contains(std::string(k.section) + "/" + k.key))
            << k.section << "/" << k.key << " has no control";
    }
}

// Each page loads and stores the keys its controls name, no other, and no key
// belongs to two pages: a key left out would silently keep its old value.
TEST(SettingsRoundTrip, EachPageCarriesExactlyTheKeysOfItsRows) {
    test::TempGame game;
    test::ScopedScriptedUi ui;
    std::map<int, std::set<std::string>> expected{{1, {"system/newsongfolder"}}};
    for (const Row& r : Rows())
        if (r.page >= 0) expected[r.page].insert(std::string(r.section) + "/" + r.key);
    ConfigRecord loaded;  // a value of its own for every key
    int n = 0;
    for (const ConfigKey& k : ConfigKeys()) {
        if (k.int_field) loaded.*k.int_field = ++n;
        if (k.text_field) loaded.*k.text_field = "t" + std::to_string(++n);
    }
    MainWindow dlg;
    std::set<std::string> seen;
    for (int page = 0; page < 6; ++page) {
        SCOPED_TRACE(page);
        Page* p = dlg.PageAt(page);
        p->LoadFrom(loaded);
        ConfigRecord stored;
        p->StoreTo(stored);
        std::set<std::string> keys;
        for (const ConfigKey* k : p->Keys()) {
            const std::string name = std::string(k->section) + "/" + k->key;
            keys.insert(name);
            EXPECT_TRUE(seen.insert(name).second) << name << " is on two pages";
            if (k->int_field) {
                EXPECT_EQ(stored.*k->int_field, loaded.*k->int_field) << name;
            } else {
                EXPECT_EQ(stored.*k->text_field, loaded.*k->text_field) << name;
            }
        }
        EXPECT_EQ(keys, expected[page]);
    }
}

TEST(SettingsRoundTrip, EveryValueShowsAndComesBackByteIdentical) {
    test::TempGame game;
    test::ScopedScriptedUi ui;
    test::ScopedAlsaDevices devices({"Card A", "Card B", "Card C"});
    TheConfig() = ConfigRecord{};
    test::MakePlayer("player", "pass");
    ConfigRecord written;
    written.path[0] = "songs\\";
    written.path_count = 1;
    for (const Row& r : Rows()) {
        const ConfigKey* k = FindKey(r);
        ASSERT_TRUE(k) << r.key;
        if (k->int_field)
            written.*k->int_field = IntValue(r);
        else
            written.*k->text_field = Sj(reinterpret_cast<const char8_t*>(r.value));
    }
    ASSERT_EQ(SaveConfig(written), 1);
    const std::string before = game.ReadFile("QV5files/Config/config.xml");

    MainWindow dlg;
    dlg.InitDialog();
    for (const Row& r : Rows())
        if (r.page >= 0) ExpectShown(dlg.PageAt(r.page), r);

    // The tool settings come back through the dialog's own controls.
    ui->AnswerDialog([&](QDialog& d) {
        for (const Row& r : Rows())
            if (r.page == kToolDialog) ExpectShown(&d, r);
        dlg.JukeboxTab()->tools = ToolSettings{};
        Control<QPushButton>(&d, kIdOk)->click();
        return d.result();
    });
    OpenToolSettings(&dlg, dlg.JukeboxTab()->tools);

    // Only what the controls hold may reach the file.
    static_cast<CustomFolderPage*>(dlg.PageAt(2))->values = {};
    static_cast<OptionPage*>(dlg.PageAt(3))->values = {};
    static_cast<SelectPage*>(dlg.PageAt(4))->values = {};
    static_cast<SystemPage*>(dlg.PageAt(5))->values = {};
    const ConfigRecord kept = TheConfig();
    TheConfig() = ConfigRecord{};
    TheConfig().disabledsp = kept.disabledsp;
    ASSERT_EQ(dlg.ApplySettings(), 1);
    EXPECT_EQ(game.ReadFile("QV5files/Config/config.xml"), before);
    EXPECT_TRUE(ui->Exhausted());
}

}  // namespace
}  // namespace qv5
