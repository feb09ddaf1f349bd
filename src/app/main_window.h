// The main window: tab strip, six pages, the button row and the language menu.
#pragma once

#include <QDialog>
#include <array>

class QTabBar;
class QStackedWidget;
class QPushButton;

namespace qv5 {

class Page;
class MainPage;
class JukeboxPage;
class CustomFolderPage;
class OptionPage;
class SelectPage;
class SystemPage;

class MainWindow : public QDialog {
    Q_OBJECT
  public:
    explicit MainWindow(QWidget* parent = nullptr);

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

    MainPage* MainTab() const { return main_; }
    JukeboxPage* JukeboxTab() const { return jukebox_; }
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
    MainPage* main_;
    JukeboxPage* jukebox_;
    CustomFolderPage* custom_;
    OptionPage* sub_;
    SelectPage* sub2_;
    SystemPage* system_;
    std::array<Page*, 6> pages_{};
    QPushButton* play_;
    QPushButton* exit_;
    bool closing_ = false;
};

}  // namespace qv5
