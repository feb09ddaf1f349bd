#include "window/common/progress_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/text.h"

namespace qv5 {
namespace {

// Redraws at most this often when called once per item: enough for the eye,
// and cheap when the items are many and quick.
constexpr qint64 kRedrawMs = 100;

// Closing the note or pressing Escape asks the work to stop, as the button does.
class ProgressDialog final : public QDialog {
  public:
    ProgressDialog(QWidget* owner, Progress& progress) : QDialog(owner), progress_(progress) {}
    void reject() override { progress_.RequestStop(); }

  protected:
    void closeEvent(QCloseEvent* e) override {
        progress_.RequestStop();
        e->ignore();
    }

  private:
    Progress& progress_;
};

QLabel* AddLabel(QDialog* dlg, QVBoxLayout* layout, const char* name) {
    auto* label = new QLabel(dlg);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    layout->addWidget(label);
    return label;
}

QString Elapsed(qint64 ms) {
    qint64 s = ms / 1000;
    return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

ProgressWindow::ProgressWindow(QWidget* owner, const std::string& title)
    : dialog_(std::make_unique<ProgressDialog>(owner, *this)) {
    QDialog* d = dialog_.get();
    d->setObjectName(QStringLiteral("ProgressWindow"));
    d->setWindowTitle(ToQString(title));
    d->setWindowModality(Qt::ApplicationModal);
    d->setMinimumWidth(420);
    auto* layout = new QVBoxLayout(d);
    count_ = AddLabel(d, layout, "count");
    bar_ = new QProgressBar(d);
    bar_->setObjectName(QStringLiteral("bar"));
    layout->addWidget(bar_);
    current_ = AddLabel(d, layout, "current");
    // A long path loses its middle, not its end: the file name stays readable.
    current_->setMinimumWidth(400);
    current_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    status_ = AddLabel(d, layout, "status");
    elapsed_ = AddLabel(d, layout, "elapsed");
    stop_ = new QPushButton(QStringLiteral("Stop"), d);
    stop_->setObjectName(QStringLiteral("stop"));
    layout->addWidget(stop_);
    QObject::connect(stop_, &QPushButton::clicked, d, [this] {
        RequestStop();
        stop_->setEnabled(false);
    });
    started_.start();
    d->show();
    Show(true);
}

ProgressWindow::~ProgressWindow() {
    dialog_->hide();
}

void ProgressWindow::Update(long done, long total, const std::string& current) {
    done_ = done;
    total_ = total;
    item_ = current;
    Show(false);
}

void ProgressWindow::SetStatus(const std::string& cp932_text) {
    status_->setText(ToQString(cp932_text));
    Show(true);
}

void ProgressWindow::SetUnit(const std::string& cp932_unit) {
    unit_ = ToQString(cp932_unit);
    Show(true);
}

// Widgets live on the window's thread: the operations that report here
// call it from the thread that stores their results, never from a worker.
void ProgressWindow::Show(bool force) {
    Q_ASSERT(QThread::currentThread() == dialog_->thread());
    if (!force && last_shown_.isValid() && last_shown_.elapsed() < kRedrawMs) return;
    last_shown_.start();
    const QString unit = unit_.isEmpty() ? QString() : QLatin1Char(' ') + unit_;
    if (total_ >= 0) {
        count_->setText(QStringLiteral("%1 / %2").arg(done_).arg(total_) + unit);
        bar_->setRange(0, total_ > 0 ? 100 : 1);
        bar_->setValue(total_ > 0 ? static_cast<int>(100 * std::min(done_, total_) / total_) : 0);
    } else {
        count_->setText(QString::number(done_) + unit);
        bar_->setRange(0, 0);  // busy indicator
    }
    const QString item = ToQString(item_);
    const int width = std::max(current_->contentsRect().width(), current_->minimumWidth());
    current_->setText(current_->fontMetrics().elidedText(item, Qt::ElideMiddle, width));
    current_->setToolTip(item);
    elapsed_->setText(Elapsed(started_.elapsed()));
    // Paints this note and the windows below it, and lets Stop be pressed.
    QCoreApplication::processEvents();
}

}  // namespace qv5
