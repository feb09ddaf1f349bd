#include "window/tables/tables_window.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QTabWidget>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "library/job_text.h"
#include "library/song_library.h"
#include "library/song_list.h"
#include "platform/paths.h"
#include "platform/progress.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "platform/ui_service.h"
#include "tables/table_fetch.h"
#include "tables/table_jobs.h"
#include "window/common/progress_window.h"
#include "window/main/game_folder.h"
#include "window/tables/lamp_bar.h"

namespace qv5 {
namespace {

const QString kGroup = QStringLiteral("tablesWindow/");
constexpr int kEntryRole = Qt::UserRole + 2;

enum LevelColumn { kLevelName, kLevelHeld, kLevelLamps, kLevelColumns };
enum EntryColumn { kEntryLamp, kEntryTitle, kEntryArtist, kEntryRate, kEntryWhere, kEntryColumns };

QString Q(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

QString FromCp932(const std::string& cp932) {
    return QString::fromStdString(Cp932ToUtf8(cp932));
}

// The address of a table's link, when it is one a browser may be handed: a
// table is anybody's file, and its texts must not start programs or open
// files of this machine.
std::optional<std::string> WebAddress(const std::string& utf8) {
    const QUrl url = QUrl(Q(utf8).trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty()) return std::nullopt;
    if (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))
        return std::nullopt;
    return url.toEncoded().toStdString();  // percent-encoded: ASCII
}

bool Matches(const std::vector<std::string>& words,
             std::initializer_list<const std::string*> texts) {
    if (words.empty()) return true;
    std::string folded, all;
    for (const std::string* t : texts) {
        FoldForSearch(*t, folded);
        all += folded;
        all += '\n';
    }
    for (const std::string& w : words)
        if (all.find(w) == std::string::npos) return false;
    return true;
}

}  // namespace

TablesWindow::TablesWindow(SongLibrary& library, QWidget* parent)
    : QWidget(parent, Qt::Window), library_(library) {
    setObjectName(QStringLiteral("tablesWindow"));
    table_box_ = new QComboBox(this);
    table_box_->setObjectName(QStringLiteral("tables"));
    table_box_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("summary"));
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    add_ = new QPushButton(this);
    add_->setObjectName(QStringLiteral("addTable"));
    update_ = new QPushButton(this);
    update_->setObjectName(QStringLiteral("updateTable"));
    update_all_ = new QPushButton(this);
    update_all_->setObjectName(QStringLiteral("updateAllTables"));
    remove_ = new QPushButton(this);
    remove_->setObjectName(QStringLiteral("removeTable"));

    levels_ = new QTreeWidget(this);
    levels_->setObjectName(QStringLiteral("levels"));
    levels_->setColumnCount(kLevelColumns);
    levels_->setRootIsDecorated(false);
    levels_->setUniformRowHeights(true);
    levels_->setItemDelegateForColumn(kLevelLamps, new LampBarDelegate(levels_));
    levels_->header()->resizeSection(kLevelName, 90);
    levels_->header()->resizeSection(kLevelHeld, 80);
    legend_ = new QLabel(this);
    legend_->setObjectName(QStringLiteral("legend"));
    legend_->setWordWrap(true);

    filter_box_ = new QComboBox(this);
    filter_box_->setObjectName(QStringLiteral("entryFilter"));
    for (int i = 0; i < 3; ++i) filter_box_->addItem(QString());
    filter_label_ = new QLabel(this);
    words_ = new QLineEdit(this);
    words_->setObjectName(QStringLiteral("words"));
    words_->setClearButtonEnabled(true);
    entries_ = new QTreeWidget(this);
    entries_->setObjectName(QStringLiteral("entries"));
    entries_->setColumnCount(kEntryColumns);
    entries_->setRootIsDecorated(false);
    entries_->setUniformRowHeights(true);
    entries_->setContextMenuPolicy(Qt::CustomContextMenu);
    const int widths[kEntryColumns] = {120, 200, 120, 50, 320};
    for (int c = 0; c < kEntryColumns; ++c) entries_->header()->resizeSection(c, widths[c]);
    changes_ = new QPlainTextEdit(this);
    changes_->setObjectName(QStringLiteral("changes"));
    changes_->setReadOnly(true);

    auto* entry_page = new QWidget(this);
    auto* filters = new QHBoxLayout;
    filters->addWidget(filter_box_);
    filters->addWidget(filter_label_);
    filters->addWidget(words_, 1);
    auto* entry_layout = new QVBoxLayout(entry_page);
    entry_layout->setContentsMargins(0, 0, 0, 0);
    entry_layout->addLayout(filters);
    entry_layout->addWidget(entries_, 1);
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("tablePages"));
    pages_->addTab(entry_page, QString());
    pages_->addTab(changes_, QString());

    auto* level_side = new QWidget(this);
    auto* level_layout = new QVBoxLayout(level_side);
    level_layout->setContentsMargins(0, 0, 0, 0);
    level_layout->addWidget(levels_, 1);
    level_layout->addWidget(legend_);
    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(level_side);
    split->addWidget(pages_);
    split->setStretchFactor(1, 1);
    split->setSizes({430, 670});

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(table_box_);
    buttons->addStretch(1);
    for (QPushButton* b : {add_, update_, update_all_, remove_}) buttons->addWidget(b);
    auto* top = new QVBoxLayout(this);
    top->addLayout(buttons);
    top->addWidget(summary_);
    top->addWidget(split, 1);
    resize(1100, 640);

    for (int i = 0; i < 4; ++i) actions_.push_back(new QAction(this));
    connect(actions_[0], &QAction::triggered, this,
            [this] { PlayEntry(entries_->currentIndex().row()); });
    connect(actions_[1], &QAction::triggered, this,
            [this] { ShowEntryInTree(entries_->currentIndex().row()); });
    connect(actions_[2], &QAction::triggered, this,
            [this] { OpenEntryPage(entries_->currentIndex().row(), false); });
    connect(actions_[3], &QAction::triggered, this,
            [this] { OpenEntryPage(entries_->currentIndex().row(), true); });

    connect(table_box_, &QComboBox::activated, this, &TablesWindow::SelectTable);
    connect(levels_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item) SelectLevel(levels_->indexOfTopLevelItem(item));
    });
    connect(filter_box_, &QComboBox::activated, this,
            [this](int i) { SetEntryFilter(EntryFilter(i), words_->text()); });
    connect(words_, &QLineEdit::textChanged, this,
            [this](const QString& w) { SetEntryFilter(filter_, w); });
    connect(entries_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        const int row = entries_->indexOfTopLevelItem(item);
        if (!HeldPathOf(row).empty())
            PlayEntry(row);
        else
            OpenEntryPage(row, false);
    });
    connect(entries_, &QWidget::customContextMenuRequested, this, &TablesWindow::ShowEntryMenu);
    connect(add_, &QPushButton::clicked, this, &TablesWindow::AskToAddTable);
    connect(update_, &QPushButton::clicked, this, [this] { UpdateTables(false); });
    connect(update_all_, &QPushButton::clicked, this, [this] { UpdateTables(true); });
    connect(remove_, &QPushButton::clicked, this, &TablesWindow::RemoveShownTable);

    Recaption();
    QSettings s(SettingsFile(), QSettings::IniFormat);
    restoreGeometry(s.value(kGroup + QStringLiteral("geometry")).toByteArray());
    const std::string shown = s.value(kGroup + QStringLiteral("table")).toString().toStdString();
    Reload();
    for (size_t i = 0; i < kept_.tables.size(); ++i)
        if (kept_.tables[i].folder == shown) SelectTable(int(i));
}

TablesWindow::~TablesWindow() = default;

void TablesWindow::Recaption() {
    setWindowTitle(tr("難易度表"));
    add_->setText(tr("追加..."));
    update_->setText(tr("更新"));
    update_all_->setText(tr("すべて更新"));
    remove_->setText(tr("削除..."));
    levels_->setHeaderLabels({tr("レベル"), tr("所持"), tr("クリアランプ")});
    entries_->setHeaderLabels(
        {tr("ランプ"), tr("タイトル"), tr("アーティスト"), tr("レート"), tr("場所 / コメント")});
    filter_box_->setItemText(int(EntryFilter::All), tr("すべて"));
    filter_box_->setItemText(int(EntryFilter::Missing), tr("未所持のみ"));
    filter_box_->setItemText(int(EntryFilter::NotCleared), tr("未クリア"));
    filter_label_->setText(tr("検索:"));
    pages_->setTabText(0, tr("譜面"));
    pages_->setTabText(1, tr("前回の更新"));
    actions_[0]->setText(tr("プレイ"));
    actions_[1]->setText(tr("フォルダツリーで表示"));
    actions_[2]->setText(tr("ダウンロードページを開く"));
    actions_[3]->setText(tr("差分のページを開く"));
    // Two rows of four: a label breaks a Japanese name anywhere, so the
    // lines are cut here, between lamps.
    QString legend = QStringLiteral("<table cellspacing=\"2\"><tr>");
    for (int i = kEntryLamps - 1, n = 0; i >= 0; --i, ++n) {
        if (n == 4) legend += QStringLiteral("</tr><tr>");
        legend +=
            QStringLiteral("<td><span style=\"color:%1\">&#9632;</span>&nbsp;%2&nbsp;&nbsp;</td>")
                .arg(LampColour(EntryLamp(i)).name(), LampName(EntryLamp(i)).toHtmlEscaped());
    }
    legend += QStringLiteral("</tr></table>");
    legend_->setText(legend);
    ShowSummary();
    if (table_ >= 0) {
        ShowLevels();
        ShowChanges();
        ShowEntries();  // the lamp names
    }
}

void TablesWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) Recaption();
    QWidget::changeEvent(event);
}

void TablesWindow::closeEvent(QCloseEvent* event) {
    SaveSettings();
    QWidget::closeEvent(event);
}

void TablesWindow::SaveSettings() const {
    QSettings s(SettingsFile(), QSettings::IniFormat);
    s.setValue(kGroup + QStringLiteral("geometry"), saveGeometry());
    if (table_ >= 0)
        s.setValue(kGroup + QStringLiteral("table"), Q(kept_.tables[size_t(table_)].folder));
}

void TablesWindow::ReadLibrary() {
    charts_.clear();
    song_folders_ = SongFoldersByTitle();  // read again when a missing entry is shown
    library_problem_.clear();
    std::string error;
    if (!library_.ReadChartHashes(charts_, error) || !library_.ReadChartScores(charts_, error)) {
        charts_.clear();
        library_problem_ = Tr("Tables", "曲データベースを読めないので、所持数はすべて 0 です。");
    }
}

void TablesWindow::Reload() {
    const std::string shown = table_ >= 0 ? kept_.tables[size_t(table_)].folder : std::string();
    const int level = level_;
    kept_ = LoadKeptTables(false);  // each table's data when it is shown
    ReadLibrary();
    table_box_->clear();
    for (const KeptTable& t : kept_.tables) table_box_->addItem(Q(t.header.name));
    int index = kept_.tables.empty() ? -1 : 0;
    for (size_t i = 0; i < kept_.tables.size(); ++i)
        if (kept_.tables[i].folder == shown) index = int(i);
    table_ = -1;
    SelectTable(index);
    if (index >= 0 && kept_.tables[size_t(index)].folder == shown && level >= 0 &&
        level < int(groups_.size()))
        SelectLevel(level);
}

void TablesWindow::SelectTable(int index) {
    if (index < 0 || index >= int(kept_.tables.size())) index = -1;
    table_ = index;
    table_box_->setCurrentIndex(index);
    groups_.clear();
    lamps_.clear();
    table_problem_.clear();
    if (index >= 0) {
        KeptTable& t = kept_.tables[size_t(index)];
        if (!LoadKeptData(t, table_problem_)) t.data = TableData();
        groups_ = GroupByLevel(t.header, t.data, charts_);
        lamps_.reserve(groups_.size());
        for (const LevelGroup& g : groups_) lamps_.push_back(CountLamps(g, charts_));
    }
    for (QPushButton* b : {update_, remove_}) b->setEnabled(index >= 0);
    update_all_->setEnabled(!kept_.tables.empty());
    level_ = -1;
    ShowLevels();
    ShowChanges();
    ShowSummary();
    SelectLevel(groups_.empty() ? -1 : 0);
}

void TablesWindow::ShowLevels() {
    const QSignalBlocker quiet(levels_);
    levels_->clear();
    if (table_ < 0) return;
    const std::string& symbol = kept_.tables[size_t(table_)].header.symbol;
    QList<QTreeWidgetItem*> items;
    for (size_t i = 0; i < groups_.size(); ++i) {
        const LevelGroup& g = groups_[i];
        auto* item = new QTreeWidgetItem;
        item->setText(kLevelName, Q(symbol + g.level));
        item->setText(kLevelHeld, QStringLiteral("%1 / %2").arg(g.held).arg(g.entries.size()));
        item->setTextAlignment(kLevelHeld, Qt::AlignRight | Qt::AlignVCenter);
        item->setData(kLevelLamps, kLampCountsRole, LampCountsValue(lamps_[i]));
        item->setToolTip(kLevelLamps, LampCountsTip(lamps_[i]));
        items << item;
    }
    levels_->addTopLevelItems(items);
    if (level_ >= 0 && level_ < levels_->topLevelItemCount())
        levels_->setCurrentItem(levels_->topLevelItem(level_));
}

void TablesWindow::ShowSummary() {
    // Kept tables that cannot be read are said under whatever is shown.
    QString problems;
    for (const std::string& p : kept_.problems) problems += QStringLiteral("\n") + FromCp932(p);
    if (table_ < 0) {
        const QString none =
            kept_.tables.empty() && kept_.problems.empty()
                ? tr("表がありません。「追加...」で難易度表の URL かファイルを指定してください。")
                : QString();
        summary_->setText((none + problems).trimmed());
        return;
    }
    const KeptTable& t = kept_.tables[size_t(table_)];
    long held = 0;
    for (const LevelGroup& g : groups_) held += g.held;
    QString text = tr("%1 譜面中 %2 所持 · %3 レベル · 更新 %4 · %5")
                       .arg(t.data.entries.size())
                       .arg(held)
                       .arg(groups_.size())
                       .arg(Q(t.updated), Q(t.source));
    if (!table_problem_.empty()) text += QStringLiteral("\n") + FromCp932(table_problem_);
    if (!library_problem_.empty()) text += QStringLiteral("\n") + FromCp932(library_problem_);
    summary_->setText(text + problems);
}

void TablesWindow::ShowChanges() {
    if (table_ < 0) {
        changes_->clear();
        return;
    }
    const KeptTable& t = kept_.tables[size_t(table_)];
    const TableChanges& c = t.changes;
    const std::string& symbol = t.header.symbol;
    QStringList lines;
    lines << tr("%1 に更新: %2").arg(Q(t.updated), FromCp932(TableChangesText(c)));
    auto list = [&](const QString& caption, const std::vector<ChangedEntry>& entries, bool moved) {
        if (entries.empty()) return;
        lines << QString() << caption;
        for (const ChangedEntry& e : entries)
            lines << (moved ? QStringLiteral("  %1%2 → %1%3  %4")
                                  .arg(Q(symbol), Q(e.from), Q(e.level), Q(e.title))
                            : QStringLiteral("  %1%2  %3").arg(Q(symbol), Q(e.level), Q(e.title)));
    };
    list(tr("追加"), c.added, false);
    list(tr("削除"), c.removed, false);
    list(tr("移動"), c.moved, true);
    changes_->setPlainText(lines.join(QLatin1Char('\n')));
}

void TablesWindow::SelectLevel(int row) {
    level_ = row >= 0 && row < int(groups_.size()) ? row : -1;
    if (level_ >= 0 && levels_->currentItem() != levels_->topLevelItem(level_)) {
        const QSignalBlocker quiet(levels_);
        levels_->setCurrentItem(levels_->topLevelItem(level_));
    }
    ShowEntries();
}

void TablesWindow::SetEntryFilter(EntryFilter filter, const QString& words) {
    filter_ = filter;
    {
        const QSignalBlocker quiet_box(filter_box_), quiet_words(words_);
        filter_box_->setCurrentIndex(int(filter));
        if (words_->text() != words) words_->setText(words);
    }
    ShowEntries();
}

void TablesWindow::ShowEntries() {
    entries_->clear();
    shown_.clear();
    if (level_ < 0) return;
    const std::vector<std::string> words = SearchWords(words_->text().toStdString());
    QList<QTreeWidgetItem*> items;
    for (const TableEntry* e : groups_[size_t(level_)].entries) {
        const EntryLamp lamp = LampOf(*e, charts_);
        if (filter_ == EntryFilter::Missing && lamp != EntryLamp::NotHeld) continue;
        if (filter_ == EntryFilter::NotCleared && lamp >= EntryLamp::Easy) continue;
        std::string where;
        for (const std::string& p : HeldPaths(*e, charts_))
            where += (where.empty() ? "" : "; ") + Cp932ToUtf8(p);
        if (!Matches(words, {&e->title, &e->artist, &e->comment, &where})) continue;
        auto* item = new QTreeWidgetItem;
        QString state = LampName(lamp);
        if (e->key == EntryKey::Sha256Only)
            state = tr("照合不可 (sha256)");
        else if (e->key == EntryKey::None)
            state = tr("照合不可");
        item->setText(kEntryLamp, state);
        item->setData(kEntryLamp, Qt::DecorationRole, LampColour(lamp));
        item->setText(kEntryTitle, Q(e->title));
        item->setText(kEntryArtist, Q(e->artist));
        const int rate = RateOf(*e, charts_);
        if (rate >= 0) item->setText(kEntryRate, QStringLiteral("%1%").arg(rate));
        item->setTextAlignment(kEntryRate, Qt::AlignRight | Qt::AlignVCenter);
        // A missing entry of a song the player has: only its chart is needed.
        QString place = Q(where.empty() ? e->comment : where);
        if (where.empty() && e->key == EntryKey::Md5) {
            const std::string folder = SongFolderOf(*e);
            if (!folder.empty()) {
                place = tr("曲フォルダあり: %1").arg(FromCp932(folder)) +
                        (e->comment.empty() ? QString() : QStringLiteral("; ") + Q(e->comment));
                item->setToolTip(kEntryWhere, place);
            }
        }
        item->setText(kEntryWhere, place);
        if (where.empty() && !e->url.empty()) item->setToolTip(kEntryTitle, Q(e->url));
        item->setData(kEntryLamp, kEntryRole, qlonglong(shown_.size()));
        shown_.push_back(e);
        items << item;
    }
    entries_->addTopLevelItems(items);
}

const TableEntry* TablesWindow::EntryOf(int row) const {
    return row >= 0 && row < int(shown_.size()) ? shown_[size_t(row)] : nullptr;
}

std::string TablesWindow::SongFolderOf(const TableEntry& entry) {
    if (!song_folders_.built()) {
        std::vector<SongTitleRow> rows;
        std::string error;
        library_.ReadSongTitles(rows, error);  // unread: no folder is found
        song_folders_.Build(rows);
    }
    return song_folders_.FolderOf(entry);
}

std::string TablesWindow::HeldPathOf(int row) const {
    const TableEntry* e = EntryOf(row);
    if (!e) return {};
    const std::vector<std::string> paths = HeldPaths(*e, charts_);
    return paths.empty() ? std::string() : paths.front();
}

void TablesWindow::ShowEntryMenu(const QPoint& at) {
    QTreeWidgetItem* item = entries_->itemAt(at);
    if (!item) return;
    entries_->setCurrentItem(item);
    const int row = entries_->indexOfTopLevelItem(item);
    const TableEntry* e = EntryOf(row);
    const bool held = !HeldPathOf(row).empty();
    actions_[0]->setEnabled(held);
    actions_[1]->setEnabled(held || (e && e->key == EntryKey::Md5 && !SongFolderOf(*e).empty()));
    actions_[2]->setEnabled(e && WebAddress(e->url));
    actions_[3]->setEnabled(e && WebAddress(e->url_diff));
    QMenu menu(this);
    for (QAction* a : actions_) menu.addAction(a);
    menu.exec(entries_->viewport()->mapToGlobal(at));
}

void TablesWindow::PlayEntry(int row) {
    const std::string path = HeldPathOf(row);
    if (path.empty() || !hooks.play) return;
    hooks.play(path);
    // A new score changes the lamps.
    ReadLibrary();
    SelectTable(table_);
}

void TablesWindow::ShowEntryInTree(int row) {
    // A missing chart of a song the player has: the song's folder.
    const TableEntry* e = EntryOf(row);
    std::string path = HeldPathOf(row);
    if (path.empty() && e && e->key == EntryKey::Md5) path = SongFolderOf(*e);
    if (!path.empty() && hooks.show_in_tree) hooks.show_in_tree(path);
}

void TablesWindow::OpenEntryPage(int row, bool additional_chart) {
    const TableEntry* e = EntryOf(row);
    if (!e) return;
    const auto address = WebAddress(additional_chart ? e->url_diff : e->url);
    if (!address) {
        ShowMessage(this, additional_chart
                              ? Tr("Tables", "この譜面には差分のページがありません。")
                              : Tr("Tables", "この譜面にはダウンロードページがありません。"));
        return;
    }
    ShellOpen(*address);
}

std::unique_ptr<Progress> TablesWindow::OpenProgress(const std::string& title) const {
    auto* owner = const_cast<TablesWindow*>(this);
    std::unique_ptr<Progress> progress = progress_factory
                                             ? progress_factory(owner, title)
                                             : std::make_unique<ProgressWindow>(owner, title);
    if (!progress) progress = std::make_unique<NullProgress>();  // a factory that shows nothing
    return progress;
}

void TablesWindow::AfterJob(const std::string& select_folder) {
    Reload();
    for (size_t i = 0; i < kept_.tables.size(); ++i)
        if (kept_.tables[i].folder == select_folder) SelectTable(int(i));
    if (hooks.tables_changed) hooks.tables_changed();
}

void TablesWindow::AskToAddTable() {
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("addTableDialog"));
    dialog.setWindowTitle(tr("難易度表の追加"));
    auto* prompt =
        new QLabel(tr("難易度表のページ、header.json の URL、または保存したファイル:"), &dialog);
    auto* source = new QLineEdit(&dialog);
    source->setObjectName(QStringLiteral("source"));
    source->setMinimumWidth(460);
    source->setPlaceholderText(QStringLiteral("https://"));
    auto* browse = new QPushButton(tr("ファイル..."), &dialog);
    browse->setObjectName(QStringLiteral("browse"));
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    auto* row = new QHBoxLayout;
    row->addWidget(source, 1);
    row->addWidget(browse);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(prompt);
    layout->addLayout(row);
    layout->addWidget(box);
    connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    connect(browse, &QPushButton::clicked, &dialog, [&dialog, source] {
        const auto file =
            Ui().OpenFile(&dialog, Tr("Tables",
                                      "難易度表 (*.html;*.htm;*.json)|*.html;*.htm;*.json|"
                                      "すべてのファイル (*.*)|*.*||"));
        if (!file) return;
        const auto host = ToHostPath(*file);
        if (host) source->setText(QString::fromStdString(*host));
    });
    if (Ui().RunDialog(dialog) != QDialog::Accepted) return;
    const std::string text = source->text().trimmed().toStdString();
    if (!text.empty()) AddTable(text);
}

bool TablesWindow::AddTable(const std::string& argument) {
    std::string error;
    const auto source = TableSource(argument, QDir::currentPath().toStdString(), error);
    if (!source) {
        ShowMessage(this, error, Tr("Tables", "エラー"), MsgIcon::Error);
        return false;
    }
    TableJobResult result;
    bool done = false;
    {
        std::unique_ptr<Progress> progress = OpenProgress(Tr("Tables", "難易度表を取得しています"));
        progress->SetUnit(Tr("Tables", "バイト"));
        FetchedTable fetched;
        if (FetchTable(*source, TableHttpOptions(), *progress, fetched, result.error)) {
            progress->SetUnit(ChartsUnit());
            done = qv5::AddTable(fetched, charts_, &library_, *progress, result);
        }
    }
    if (result.kept_now) AfterJob(result.kept.folder);
    if (!done) {
        ShowMessage(this, Tr("Tables", "表を追加できませんでした。") + "\n" + result.error,
                    Tr("Tables", "エラー"), MsgIcon::Error);
        return false;
    }
    const KeptTable& t = result.kept;
    long held = 0;
    for (const LevelGroup& g : groups_) held += g.held;
    std::string text = Arg(Tr("Tables", "表「%1」を追加しました: %2 レベル、%3 譜面中 %4 所持。"),
                           {Utf8ToCp932Lossy(t.header.name), std::to_string(groups_.size()),
                            std::to_string(t.data.entries.size()), std::to_string(held)});
    if (!result.note.empty()) text += "\n" + result.note;
    ShowMessage(this, text);
    return true;
}

bool TablesWindow::UpdateTables(bool all) {
    std::vector<KeptTable> chosen;
    if (all)
        chosen = kept_.tables;
    else if (table_ >= 0)
        chosen.push_back(kept_.tables[size_t(table_)]);
    if (chosen.empty()) return false;
    std::vector<std::string> lines;
    int failed = 0;
    {
        std::unique_ptr<Progress> progress = OpenProgress(Tr("Tables", "難易度表を更新しています"));
        for (const KeptTable& old : chosen) {
            progress->SetUnit(Tr("Tables", "バイト"));
            FetchedTable fetched;
            TableJobResult result;
            bool done =
                FetchTable(old.source, TableHttpOptions(), *progress, fetched, result.error);
            if (done) {
                progress->SetUnit(ChartsUnit());
                done = qv5::UpdateTable(old, fetched, charts_, &library_, *progress, result);
            }
            const std::string name = Utf8ToCp932Lossy(old.header.name);
            if (done) {
                lines.push_back(name + ": " + TableChangesText(result.kept.changes));
                if (!result.note.empty()) lines.push_back("  " + result.note);
            } else {
                ++failed;
                lines.push_back(name + ": " + result.error);
            }
            if (progress->StopRequested()) break;
        }
    }
    AfterJob(table_ >= 0 ? kept_.tables[size_t(table_)].folder : std::string());
    std::string text =
        Arg(Tr("Tables", "%1 / %2 の表を更新しました。"),
            {std::to_string(chosen.size() - size_t(failed)), std::to_string(chosen.size())});
    for (const std::string& l : lines) text += "\n" + l;
    ShowMessage(this, text, kAppTitle, failed ? MsgIcon::Warning : MsgIcon::Information);
    return failed == 0;
}

bool TablesWindow::RemoveShownTable() {
    if (table_ < 0) return false;
    const KeptTable t = kept_.tables[size_t(table_)];
    if (Ui().MessageBox(
            this,
            Arg(Tr("Tables", "表「%1」を削除しますか？\nゲーム内のレベルフォルダも消えます。"),
                {Utf8ToCp932Lossy(t.header.name)}),
            kAppTitle, MsgButtons::YesNo, MsgIcon::Question) != MsgAnswer::Yes)
        return false;
    TableJobResult result;
    bool done;
    {
        std::unique_ptr<Progress> progress = OpenProgress(Tr("Tables", "表を削除しています"));
        progress->SetUnit(ChartsUnit());
        done = qv5::RemoveTable(t, &library_, *progress, result);
    }
    table_ = -1;
    AfterJob(std::string());
    if (!done) {
        ShowMessage(this, Tr("Tables", "表を削除できませんでした。") + "\n" + result.error,
                    Tr("Tables", "エラー"), MsgIcon::Error);
        return false;
    }
    return true;
}

}  // namespace qv5
