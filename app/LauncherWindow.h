// Launcher window: the two lesson lists, info and exit question.
#pragma once

#include <QPointer>
#include <QWidget>

class QToolButton;

namespace kurvex {

class CategoryList;

class LauncherWindow : public QWidget {
    Q_OBJECT
public:
    explicit LauncherWindow(QWidget* parent = nullptr);
    ~LauncherWindow() override;

    CategoryList* analysisList() const { return categoryButtons1_; }
    CategoryList* graphList() const { return categoryButtons2_; }
    QToolButton* infoButton() const { return speedButton1_; }
    QToolButton* exitButton() const { return speedButton2_; }

    void CategoryButtons1ButtonClicked(int imageIndex);
    void CategoryButtons2ButtonClicked(int imageIndex);
    void SpeedButton1Click();
    void SpeedButton35Click();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    // Shows the info window modally; tests override it to count and not block.
    virtual void showInfoWindow();
    // "Programm beenden?" with OK and Abbrechen; true for OK.
    virtual bool confirmExit();

private:
    void FormCreate();
    void FormResize();
    bool FormCloseQuery();

    CategoryList* categoryButtons1_ = nullptr;
    CategoryList* categoryButtons2_ = nullptr;
    QToolButton* speedButton1_ = nullptr;
    QToolButton* speedButton2_ = nullptr;
};

inline QPointer<LauncherWindow> OpenedLauncherWindow;
// True until the first layout of the launcher has shown the info window.
inline bool FirstResize = true;

inline constexpr const char* kLauncherCaption = "Kurvex v3.9";
// Title of the application and of its message boxes.
QString ApplicationTitle();

} // namespace kurvex
