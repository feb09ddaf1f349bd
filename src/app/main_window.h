// The main window: tab strip, six pages, the button row and the language menu.
#pragma once

#include <QDialog>
#include <array>

class QTabBar;
class QStackedWidget;
class QPushButton;

namespace qv5 {

class Page;
class CTabMain;
class CTabJukebox;
class CTabCustomFolder;
class CTabSub;
class cTabSub2;
class CTabSystem;

class CQV5config_2Dlg : public QDialog {
    Q_OBJECT
  public:
    explicit CQV5config_2Dlg(QWidget* parent = nullptr);

    // The start-up sequence; the first-run loop included.
    void InitDialog();
    // 1 when the pages were stored and config.xml written, 0 when a check failed.
    int ApplySettings();
    void OnTabChange();
    void OnCancel();
    void OnExit();
    void OnLanguage(int language);
    // Escape and the hidden Cancel command.
    void reject() override;

    CTabMain* MainPage() const { return main_; }
    CTabJukebox* JukeboxPage() const { return jukebox_; }
    QTabBar* Tabs() const { return tabs_; }
    // Page of a tab index, in strip order.
    Page* PageAt(int index) const { return pages_[static_cast<size_t>(index)]; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void Close();

    QTabBar* tabs_;
    QStackedWidget* stack_;
    CTabMain* main_;
    CTabJukebox* jukebox_;
    CTabCustomFolder* custom_;
    CTabSub* sub_;
    cTabSub2* sub2_;
    CTabSystem* system_;
    std::array<Page*, 6> pages_{};
    QPushButton* play_;
    QPushButton* exit_;
    bool closing_ = false;
};

}  // namespace qv5
