// The modal progress note of long work done from the window: a count, the
// current item, the elapsed time and a Stop button. It keeps the windows
// painted while the work runs on the user-interface thread.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <memory>
#include <string>

#include "platform/progress.h"

class QDialog;
class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace qv5 {

class ProgressWindow final : public Progress {
  public:
    // Shown at once over `owner`; `title` is CP932. Closed by the destructor.
    ProgressWindow(QWidget* owner, const std::string& title);
    ~ProgressWindow() override;
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    void Update(long done, long total, const std::string& current) override;
    void SetStatus(const std::string& cp932_text) override;
    void SetUnit(const std::string& cp932_unit) override;

    QDialog* dialog() const { return dialog_.get(); }

  private:
    void Show(bool force);

    std::unique_ptr<QDialog> dialog_;
    QLabel* count_;
    QLabel* current_;
    QLabel* status_;
    QLabel* elapsed_;
    QProgressBar* bar_;
    QPushButton* stop_;
    QElapsedTimer started_;
    QElapsedTimer last_shown_;
    long done_ = 0, total_ = -1;
    std::string item_;
    QString unit_;
};

}  // namespace qv5
