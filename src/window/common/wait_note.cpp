#include "window/common/wait_note.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QEventLoop>
#include <QLabel>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/process.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "platform/ui_service.h"

namespace qv5 {
namespace {

// Cannot be closed by the user: it goes away when the program it names ends.
class WaitNote final : public QDialog {
  public:
    WaitNote(QWidget* owner, const std::string& program) : QDialog(owner) {
        setObjectName(QString::fromLatin1(kWaitNoteName));
        setWindowTitle(QStringLiteral("QV5 SETUP"));
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        setModal(true);
        auto* label =
            new QLabel(ToQString(Arg(Tr("WaitNote", "%1 の終了を待っています…"), {program})), this);
        label->setObjectName(QStringLiteral("program"));
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(label);
    }
    void reject() override {}

  protected:
    void closeEvent(QCloseEvent* e) override { e->ignore(); }
};

}  // namespace

void InstallWaitNote(QWidget* owner) {
    QPointer<QWidget> guarded(owner);
    SetWaitHook([guarded](const std::string& program, const std::function<bool()>& exited) {
        if (exited()) return;
        WaitNote note(guarded.data(), program);
        note.show();
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (exited()) loop.quit();
        });
        poll.start(25);
        loop.exec();
    });
    SetNoticeHook([guarded](const std::string& text) {
        auto show = [guarded, text] {
            ShowMessage(guarded.data(), text, kAppTitle, MsgIcon::Warning);
        };
        // A conversion worker starting an encoder leaves the box to the
        // window's thread, and its program starts meanwhile.
        if (QThread::currentThread() == qApp->thread())
            show();
        else
            QMetaObject::invokeMethod(qApp, show, Qt::QueuedConnection);
    });
}

}  // namespace qv5
