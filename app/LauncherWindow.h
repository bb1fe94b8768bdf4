// Launcher window (TForm4): the two lesson lists, info and exit question.
#pragma once

#include <QWidget>

class QToolButton;

namespace kurvex {

class CategoryList;

class LauncherWindow : public QWidget {
    Q_OBJECT
public:
    // programDir: the folder of the program's files; empty for the executable's own.
    explicit LauncherWindow(QWidget* parent = nullptr, const QString& programDir = QString());
    ~LauncherWindow() override;

    CategoryList* analysisList() const { return analysisList_; }
    CategoryList* graphList() const { return graphList_; }
    QToolButton* infoButton() const { return infoButton_; }
    QToolButton* exitButton() const { return exitButton_; }

    void onAnalysisLessonChosen(int imageIndex);
    void onFunctionGraphChosen(int imageIndex);
    void onInfoClicked();
    void onExitClicked();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    // Shows the info window modally; tests override it to count and not block.
    virtual void showInfoWindow();
    // "Programm beenden?" with OK and Abbrechen; true for OK.
    virtual bool confirmExit();

private:
    void setRunTimeDefaults(const QString& programDir);
    void showAtFirstLayout();
    bool mayClose();

    CategoryList* analysisList_ = nullptr;
    CategoryList* graphList_ = nullptr;
    QToolButton* infoButton_ = nullptr;
    QToolButton* exitButton_ = nullptr;
    // What was wrong with the settings file at start; said once, when the launcher first shows.
    QString startMessage_;
};

// True until the first layout of the launcher has shown the info window.
inline bool FirstResize = true;

inline constexpr const char* kLauncherCaption = "Kurvex v3.9";
// Title of the application and of its message boxes.
QString ApplicationTitle();

} // namespace kurvex
