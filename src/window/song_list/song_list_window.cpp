#include "window/song_list/song_list_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>
#include <ctime>
#include <exception>

#include "config/config_record.h"
#include "library/song_library.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "platform/win_path.h"
#include "player/player_db.h"
#include "tables/table_store.h"
#include "window/main/game_folder.h"
#include "window/song_list/song_list_model.h"

namespace qv5 {
namespace {

constexpr int kAnyLevel = -1;
constexpr int kModes[] = {0, 5, 7, 9, 10, 14};
const QString kGroup = QStringLiteral("songList/");
// The sort key of the tables column, which the `songs` command has not.
const QString kTablesKey = QStringLiteral("tables");

// What changes when a command or the game writes the library or the scores.
void StampOf(const std::string& path, std::int64_t& time, std::int64_t& size) {
    time = size = -1;
    const auto version = VersionOf(path);
    if (!version) return;
    time = version->stamp;
    size = version->size;
}

bool IsEnter(QEvent* event) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

QString HostOf(const std::string& path) {
    return QString::fromStdString(ToHostPath(path).value_or(std::string()));
}

}  // namespace

SongListWindow::SongListWindow(SongLibrary& library, QWidget* parent)
    : QWidget(parent, Qt::Window), library_(library) {
    setObjectName(QStringLiteral("songList"));
    model_ = new SongListModel(this);

    filter_edit_ = new QLineEdit(this);
    filter_edit_->setObjectName(QStringLiteral("filter"));
    filter_edit_->setClearButtonEnabled(true);
    mode_ = new QComboBox(this);
    for (int mode : kModes)
        mode_->addItem(mode == 0 ? QString() : QString::fromStdString(ModeName(mode)), mode);
    level_min_ = new QSpinBox(this);
    level_max_ = new QSpinBox(this);
    for (QSpinBox* box : {level_min_, level_max_}) {
        box->setRange(kAnyLevel, 9999);
        box->setSpecialValueText(QStringLiteral("-"));
        box->setValue(kAnyLevel);
    }
    difficulty_ = new QComboBox(this);
    difficulty_->addItem(QString(), 0);
    for (int d = 1; d <= 5; ++d) difficulty_->addItem(QString::fromLatin1(DifficultyName(d)), d);
    table_ = new QComboBox(this);
    table_->setObjectName(QStringLiteral("table"));
    table_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    table_level_ = new QComboBox(this);
    table_level_->setObjectName(QStringLiteral("tableLevel"));
    table_level_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    FillTableBoxes();
    favorites_ = new QCheckBox(this);
    not_played_ = new QCheckBox(this);
    not_cleared_ = new QCheckBox(this);
    new_ = new QCheckBox(this);
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("count"));
    for (QLabel*& label : labels_) label = new QLabel(this);

    view_ = new QTableView(this);
    view_->setModel(model_);
    view_->setSortingEnabled(true);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setWordWrap(false);
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 4);
    view_->horizontalHeader()->setSortIndicator(static_cast<int>(SongColumn::Added),
                                                Qt::DescendingOrder);
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    // Widths for a first start, in column order; later ones are remembered.
    const int widths[kTablesColumn + 1] = {230, 120, 90,  40,  40, 80, 75,
                                           65,  50,  115, 260, 85, 50, 120};
    for (int c = 0; c <= kTablesColumn; ++c) view_->horizontalHeader()->resizeSection(c, widths[c]);

    auto* filters = new QHBoxLayout;
    filters->addWidget(labels_[0]);
    filters->addWidget(filter_edit_, 1);
    filters->addWidget(labels_[1]);
    filters->addWidget(mode_);
    filters->addWidget(labels_[2]);
    filters->addWidget(level_min_);
    filters->addWidget(new QLabel(QStringLiteral("-"), this));
    filters->addWidget(level_max_);
    filters->addWidget(labels_[3]);
    filters->addWidget(difficulty_);
    filters->addWidget(labels_[4]);
    filters->addWidget(table_);
    filters->addWidget(table_level_);
    auto* switches = new QHBoxLayout;
    for (QCheckBox* box : {favorites_, not_played_, not_cleared_, new_}) switches->addWidget(box);
    switches->addStretch(1);
    switches->addWidget(count_);
    auto* top = new QVBoxLayout(this);
    top->addLayout(filters);
    top->addLayout(switches);
    top->addWidget(view_, 1);
    resize(1100, 600);

    for (int i = 0; i < 5; ++i) actions_[static_cast<size_t>(i)] = new QAction(this);
    connect(actions_[0], &QAction::triggered, this, [this] { Play(view_->currentIndex().row()); });
    connect(actions_[1], &QAction::triggered, this,
            [this] { Autoplay(view_->currentIndex().row()); });
    connect(actions_[2], &QAction::triggered, this,
            [this] { EditTags(view_->currentIndex().row()); });
    connect(actions_[3], &QAction::triggered, this,
            [this] { OpenFolder(view_->currentIndex().row()); });
    connect(actions_[4], &QAction::triggered, this,
            [this] { ShowInTree(view_->currentIndex().row()); });
    // A double click; Enter is the window's (eventFilter).
    connect(view_, &QAbstractItemView::activated, this,
            [this](const QModelIndex& index) { Play(index.row()); });
    view_->installEventFilter(this);
    connect(view_, &QWidget::customContextMenuRequested, this, &SongListWindow::ShowMenu);
    connect(filter_edit_, &QLineEdit::textChanged, this, &SongListWindow::ApplyFilter);
    connect(mode_, &QComboBox::currentIndexChanged, this, &SongListWindow::ApplyFilter);
    connect(difficulty_, &QComboBox::currentIndexChanged, this, &SongListWindow::ApplyFilter);
    connect(table_, &QComboBox::currentIndexChanged, this, [this] {
        table_choice_ = table_->currentData().toString();
        level_choice_.clear();
        FillTableLevelBox();
        ApplyFilter();
    });
    connect(table_level_, &QComboBox::currentIndexChanged, this, [this] {
        level_choice_ = table_level_->currentData().toString();
        ApplyFilter();
    });
    for (QSpinBox* box : {level_min_, level_max_})
        connect(box, &QSpinBox::valueChanged, this, &SongListWindow::ApplyFilter);
    for (QCheckBox* box : {favorites_, not_played_, not_cleared_, new_})
        connect(box, &QCheckBox::toggled, this, &SongListWindow::ApplyFilter);
    connect(model_, &QAbstractItemModel::modelReset, this, &SongListWindow::ShowCount);

    // A change by a command or by this program's other windows: read again
    // once the writing has settled.
    settle_.setSingleShot(true);
    settle_.setInterval(300);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, [this] { settle_.start(); });
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { settle_.start(); });
    connect(&settle_, &QTimer::timeout, this, [this] {
        if (isVisible()) FollowLibrary();
    });
    const QString song_db = HostOf(kSongDbPath);
    if (!song_db.isEmpty()) {
        watcher_.addPath(song_db);
        watcher_.addPath(HostOf("QV5files\\Database"));
    }
    WatchTables();

    Recaption();
    LoadSettings();
    FollowLibrary(true);
}

SongListWindow::~SongListWindow() {
    SaveSettings();
    if (tables_read_.valid()) tables_read_.wait();
}

void SongListWindow::Recaption() {
    setWindowTitle(tr("曲リスト"));
    labels_[0]->setText(tr("検索:"));
    filter_edit_->setPlaceholderText(tr("タイトル・アーティスト・ジャンル・パスの語"));
    labels_[1]->setText(tr("モード:"));
    labels_[2]->setText(tr("レベル:"));
    labels_[3]->setText(tr("難易度:"));
    labels_[4]->setText(tr("表:"));
    for (QComboBox* box : {mode_, difficulty_, table_, table_level_})
        box->setItemText(0, tr("すべて"));
    favorites_->setText(tr("お気に入り"));
    not_played_->setText(tr("未プレイ"));
    not_cleared_->setText(tr("未クリア"));
    new_->setText(tr("新曲"));
    actions_[0]->setText(tr("プレイ"));
    actions_[1]->setText(tr("オートプレイ"));
    actions_[2]->setText(tr("タグ編集"));
    actions_[3]->setText(tr("フォルダを開く"));
    actions_[4]->setText(tr("フォルダツリーで表示"));
    emit model_->headerDataChanged(Qt::Horizontal, 0, kTablesColumn);
    ShowCount();
}

void SongListWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) Recaption();
    QWidget::changeEvent(event);
}

bool SongListWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) FollowLibrary();
    return QWidget::event(event);
}

void SongListWindow::closeEvent(QCloseEvent* event) {
    SaveSettings();
    QWidget::closeEvent(event);
}

bool SongListWindow::eventFilter(QObject* watched, QEvent* event) {
    // The view answers Enter with `activated` and then passes the key on to
    // the window, whose Enter plays too: one key, two games. Enter on the
    // view is taken here, before the view sees it.
    if (watched == view_ && event->type() == QEvent::KeyPress && IsEnter(event)) {
        Play(view_->currentIndex().row());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void SongListWindow::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Find)) {  // Ctrl+F again: to the search box
        filter_edit_->setFocus();
        filter_edit_->selectAll();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if (IsEnter(event) && view_->currentIndex().isValid()) {
        Play(view_->currentIndex().row());
        return;
    }
    QWidget::keyPressEvent(event);
}

void SongListWindow::FollowLibrary(bool force) {
    std::array<std::int64_t, 6> stamp{};
    StampOf(kSongDbPath, stamp[0], stamp[1]);
    StampOf(kTagDbPath, stamp[2], stamp[3]);
    StampOf(PlayerDbPath(TheConfig().id), stamp[4], stamp[5]);
    const bool rows_changed = force || !loaded_ || stamp != stamp_;
    const bool tables_changed = force || !loaded_ || KeptTablesStamp() != tables_stamp_;
    if (!rows_changed && !tables_changed) {
        // Nothing written, but a chart's file may have gone meanwhile.
        model_->RecheckFiles();
        return;
    }
    // Started first: the tables are read while the rows are.
    if (tables_changed) ReloadTables();
    if (!rows_changed) {
        model_->RecheckFiles();
        return;
    }
    const std::string selected = PathOf(view_->currentIndex().row());
    stamp_ = stamp;
    loaded_ = true;
    model_->Reload(library_);
    if (!selected.empty()) {
        const int row = model_->RowOf(WinPath(selected));
        if (row >= 0) view_->setCurrentIndex(model_->index(row, 0));
    }
    ShowCount();
}

void SongListWindow::ReloadTables() {
    if (read_pending_) return;  // it will read the tables as they are then
    if (tables_read_.valid()) {
        read_again_ = true;
        return;
    }
    read_pending_ = true;
    QTimer::singleShot(0, this, [this] {
        read_pending_ = false;
        StartReadingTables();
    });
}

void SongListWindow::StartReadingTables() {
    tables_stamp_ = KeptTablesStamp();
    tables_read_ = std::async(std::launch::async, [this] {
        // Posted however the read ends, so that the window takes what it
        // gave. Dropped with the window: the destructor waits for this
        // thread, and a window's posted calls go with it.
        struct Post {
            SongListWindow* window;
            ~Post() {
                QMetaObject::invokeMethod(window, &SongListWindow::TakeTables,
                                          Qt::QueuedConnection);
            }
        } post{this};
        return ReadLevelTables();
    });
}

void SongListWindow::TakeTables() {
    if (!tables_read_.valid()) return;
    LevelTables read;
    try {
        read = tables_read_.get();
    } catch (const std::exception&) {
        // Out of memory for the tables: the list stays, without them.
    }
    const std::string selected = PathOf(view_->currentIndex().row());
    model_->SetTables(std::move(read), library_);
    FillTableBoxes();
    WatchTables();
    ApplyFilter();
    if (!selected.empty()) {
        const int row = model_->RowOf(WinPath(selected));
        if (row >= 0) view_->setCurrentIndex(model_->index(row, 0));
    }
    ShowCount();
    if (read_again_) {
        read_again_ = false;
        ReloadTables();
    }
}

void SongListWindow::WatchTables() {
    const QString folder = HostOf(kTablesFolder);
    if (!folder.isEmpty() && !watcher_.directories().contains(folder) && IsDirectory(kTablesFolder))
        watcher_.addPath(folder);
}

void SongListWindow::FillTableBoxes() {
    const QSignalBlocker block(table_);
    table_->clear();
    table_->addItem(tr("すべて"), QString());
    for (const ListedTable& t : model_->Levels().Tables()) {
        const QString name = QString::fromStdString(t.name);
        table_->addItem(name, name);
    }
    table_->setCurrentIndex(std::max(0, table_->findData(table_choice_)));
    FillTableLevelBox();
}

void SongListWindow::FillTableLevelBox() {
    const QSignalBlocker block(table_level_);
    table_level_->clear();
    table_level_->addItem(tr("すべて"), QString());
    const int table = table_->currentIndex() - 1;
    const auto& tables = model_->Levels().Tables();
    if (table >= 0 && size_t(table) < tables.size())
        for (const std::string& level : tables[size_t(table)].levels)
            table_level_->addItem(QString::fromStdString(tables[size_t(table)].symbol + level),
                                  QString::fromStdString(level));
    table_level_->setCurrentIndex(std::max(0, table_level_->findData(level_choice_)));
    table_level_->setEnabled(table >= 0);
}

LevelFilter SongListWindow::CurrentLevelFilter() const {
    LevelFilter f;
    f.table = table_->currentIndex() - 1;
    if (f.table >= 0) f.level = table_level_->currentIndex() - 1;
    return f;
}

SongFilter SongListWindow::CurrentFilter() const {
    SongFilter f;
    f.words = filter_edit_->text().toStdString();
    f.mode = mode_->currentData().toInt();
    if (level_min_->value() != kAnyLevel) f.level_min = level_min_->value();
    if (level_max_->value() != kAnyLevel) f.level_max = level_max_->value();
    f.difficulty = difficulty_->currentData().toInt();
    f.favorites = favorites_->isChecked();
    f.not_played = not_played_->isChecked();
    f.not_cleared = not_cleared_->isChecked();
    f.new_only = new_->isChecked();
    f.new_hours = TheConfig().titleflash;
    f.now = std::time(nullptr);
    return f;
}

void SongListWindow::SetFilterControls(const SongFilter& f) {
    const QSignalBlocker blocks[] = {
        QSignalBlocker(filter_edit_), QSignalBlocker(mode_),        QSignalBlocker(level_min_),
        QSignalBlocker(level_max_),   QSignalBlocker(difficulty_),  QSignalBlocker(favorites_),
        QSignalBlocker(not_played_),  QSignalBlocker(not_cleared_), QSignalBlocker(new_)};
    filter_edit_->setText(QString::fromStdString(f.words));
    mode_->setCurrentIndex(std::max(0, mode_->findData(f.mode)));
    level_min_->setValue(f.level_min.value_or(kAnyLevel));
    level_max_->setValue(f.level_max.value_or(kAnyLevel));
    difficulty_->setCurrentIndex(std::max(0, difficulty_->findData(f.difficulty)));
    favorites_->setChecked(f.favorites);
    not_played_->setChecked(f.not_played);
    not_cleared_->setChecked(f.not_cleared);
    new_->setChecked(f.new_only);
    ApplyFilter();
}

void SongListWindow::ApplyFilter() {
    model_->SetFilter(CurrentFilter(), CurrentLevelFilter());
}

QString SongListWindow::CountText() const {
    const int total = int(std::min<size_t>(model_->Table().size(), INT_MAX));
    return tr("%1 / %n 譜面", nullptr, total).arg(model_->rowCount());
}

void SongListWindow::ShowCount() {
    count_->setText(CountText());
}

std::string SongListWindow::PathOf(int row) const {
    if (row < 0 || row >= model_->rowCount()) return {};
    return model_->Table().ChartPath(model_->TableRow(row));
}

void SongListWindow::ShowMenu(const QPoint& at) {
    const QModelIndex index = view_->indexAt(at);
    if (!index.isValid()) return;
    view_->setCurrentIndex(index);
    QMenu menu(this);
    for (QAction* action : actions_) menu.addAction(action);
    menu.exec(view_->viewport()->mapToGlobal(at));
}

void SongListWindow::Play(int row) {
    const std::string path = PathOf(row);
    if (path.empty() || !hooks.play) return;
    hooks.play(path);
    FollowLibrary();  // a new score
}

void SongListWindow::Autoplay(int row) {
    const std::string path = PathOf(row);
    if (!path.empty() && hooks.autoplay) hooks.autoplay(path);
}

void SongListWindow::EditTags(int row) {
    const std::string path = PathOf(row);
    if (path.empty() || !hooks.edit_tags) return;
    if (hooks.edit_tags(path)) FollowLibrary(true);
}

void SongListWindow::OpenFolder(int row) {
    const WinPath folder = WinPath(PathOf(row)).Parent();
    if (!folder.empty()) ShellOpen(folder.text());
}

void SongListWindow::ShowInTree(int row) {
    const std::string path = PathOf(row);
    if (!path.empty() && hooks.show_in_tree) hooks.show_in_tree(path);
}

void SongListWindow::SaveSettings() const {
    QSettings s(SettingsFile(), QSettings::IniFormat);
    QList<QVariant> widths;
    for (int c = 0; c <= kTablesColumn; ++c) widths << view_->horizontalHeader()->sectionSize(c);
    s.setValue(kGroup + QStringLiteral("widths"), widths);
    s.setValue(kGroup + QStringLiteral("sort"),
               model_->SortedByTables() ? kTablesKey
                                        : QString::fromLatin1(ColumnKey(model_->SortColumn())));
    s.setValue(kGroup + QStringLiteral("descending"), model_->Descending());
    const SongFilter f = CurrentFilter();
    s.setValue(kGroup + QStringLiteral("words"), QString::fromStdString(f.words));
    s.setValue(kGroup + QStringLiteral("mode"), f.mode);
    s.setValue(kGroup + QStringLiteral("levelMin"), f.level_min.value_or(kAnyLevel));
    s.setValue(kGroup + QStringLiteral("levelMax"), f.level_max.value_or(kAnyLevel));
    s.setValue(kGroup + QStringLiteral("difficulty"), f.difficulty);
    s.setValue(kGroup + QStringLiteral("favorites"), f.favorites);
    s.setValue(kGroup + QStringLiteral("notPlayed"), f.not_played);
    s.setValue(kGroup + QStringLiteral("notCleared"), f.not_cleared);
    s.setValue(kGroup + QStringLiteral("new"), f.new_only);
    s.setValue(kGroup + QStringLiteral("table"), table_choice_);
    s.setValue(kGroup + QStringLiteral("tableLevel"), level_choice_);
}

void SongListWindow::LoadSettings() {
    QSettings s(SettingsFile(), QSettings::IniFormat);
    const QList<QVariant> widths = s.value(kGroup + QStringLiteral("widths")).toList();
    for (int c = 0; c <= kTablesColumn && c < widths.size(); ++c)
        if (widths[c].toInt() > 0) view_->horizontalHeader()->resizeSection(c, widths[c].toInt());
    const QString key = s.value(kGroup + QStringLiteral("sort")).toString();
    const auto column = ColumnByKey(key.toStdString());
    if (column || key == kTablesKey) {
        const bool descending = s.value(kGroup + QStringLiteral("descending")).toBool();
        view_->horizontalHeader()->setSortIndicator(
            column ? static_cast<int>(*column) : kTablesColumn,
            descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    }
    // Chosen in the boxes once the tables are read.
    table_choice_ = s.value(kGroup + QStringLiteral("table")).toString();
    level_choice_ = s.value(kGroup + QStringLiteral("tableLevel")).toString();
    SongFilter f;
    f.words = s.value(kGroup + QStringLiteral("words")).toString().toStdString();
    f.mode = s.value(kGroup + QStringLiteral("mode"), 0).toInt();
    const int low = s.value(kGroup + QStringLiteral("levelMin"), kAnyLevel).toInt();
    const int high = s.value(kGroup + QStringLiteral("levelMax"), kAnyLevel).toInt();
    if (low != kAnyLevel) f.level_min = low;
    if (high != kAnyLevel) f.level_max = high;
    f.difficulty = s.value(kGroup + QStringLiteral("difficulty"), 0).toInt();
    f.favorites = s.value(kGroup + QStringLiteral("favorites")).toBool();
    f.not_played = s.value(kGroup + QStringLiteral("notPlayed")).toBool();
    f.not_cleared = s.value(kGroup + QStringLiteral("notCleared")).toBool();
    f.new_only = s.value(kGroup + QStringLiteral("new")).toBool();
    SetFilterControls(f);
}

}  // namespace qv5
