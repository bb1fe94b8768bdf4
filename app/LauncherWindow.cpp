// Launcher window (TForm4): the two lesson lists, info and exit question.
#include "app/LauncherWindow.h"

#include "app/CategoryList.h"
#include "app/InfoWindow.h"
#include "app/LessonRegistry.h"
#include "controls/Cursors.h"
#include "controls/Glyphs.h"
#include "core/Settings.h"
#include "core/term/Term.h"
#include "lesson/PrintExportHooks.h"
#include "numeric/SineFit.h"
#include "platform/QtCanvas.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

#include <utility>

namespace kurvex {

namespace {

constexpr TColor kCream = 0xF0FBFF;

QToolButton* panelButton(QWidget* parent, const char* formName, const QString& text, const QIcon& glyph,
                         int x)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(formName));
    b->setText(text);
    b->setIcon(glyph);
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setAutoRaise(true);
    QFont f = b->font();
    f.setBold(true);
    b->setFont(f);
    b->setGeometry(x, 4, 95, 32);
    return b;
}

} // namespace

QString ApplicationTitle()
{
    return QStringLiteral("Kurvex - ") + QString::fromUtf8(kSubtitle);
}

LauncherWindow::LauncherWindow(QWidget* parent, const QString& programDir) : QWidget(parent)
{
    setWindowTitle(QString::fromUtf8(kLauncherCaption));
    setFixedSize(589, 205);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(11);
    setFont(f);

    auto* background = new QWidget(this);
    background->setObjectName(QStringLiteral("Panel1"));
    background->setGeometry(0, 0, 589, 205);

    CategoryList::Style analysis{toQColor(kCream), toQColor(0xA56D3A), toQColor(0xDBE1E2), toQColor(0xBEC7CA),
                                 180};
    analysisList_ = new CategoryList(QStringLiteral("Analysis"), analysis, background);
    analysisList_->setObjectName(QStringLiteral("CategoryButtons1"));
    analysisList_->setGeometry(216, 4, 372, 197);
    for (const LessonEntry& e : AnalysisLessons())
        analysisList_->addItem(QString::fromUtf8(e.caption), e.imageIndex);

    CategoryList::Style graphs = analysis;
    graphs.categoryGradient = toQColor(clGray);
    graphs.buttonWidth = 200;
    graphList_ = new CategoryList(QStringLiteral("Funktionsgraphen"), graphs, background);
    graphList_->setObjectName(QStringLiteral("CategoryButtons2"));
    graphList_->setGeometry(4, 4, 213, 149);
    for (const LessonEntry& e : FunctionGraphLessons())
        graphList_->addItem(QString::fromUtf8(e.caption), e.imageIndex);

    auto* buttonPanel = new QFrame(background);
    buttonPanel->setObjectName(QStringLiteral("Panel2"));
    buttonPanel->setGeometry(6, 154, 202, 45);
    buttonPanel->setFrameShape(QFrame::Panel);
    buttonPanel->setFrameShadow(QFrame::Plain);
    buttonPanel->setAutoFillBackground(true);
    QPalette pal = buttonPanel->palette();
    pal.setColor(QPalette::Window, toQColor(clSilver));
    buttonPanel->setPalette(pal);
    infoButton_ = panelButton(buttonPanel, "SpeedButton1", QStringLiteral("&Info"), InfoGlyph(), 2);
    infoButton_->setCursor(Qt::PointingHandCursor);
    exitButton_ = panelButton(buttonPanel, "SpeedButton2", QStringLiteral("&Beenden"), ExitGlyph(), 100);
    exitButton_->setToolTip(QStringLiteral("Programm beenden"));

    connect(analysisList_, &CategoryList::buttonClicked, this, &LauncherWindow::onAnalysisLessonChosen);
    connect(graphList_, &CategoryList::buttonClicked, this, &LauncherWindow::onFunctionGraphChosen);
    connect(infoButton_, &QToolButton::clicked, this, &LauncherWindow::onInfoClicked);
    connect(exitButton_, &QToolButton::clicked, this, &LauncherWindow::onExitClicked);

    setRunTimeDefaults(programDir);
}

LauncherWindow::~LauncherWindow()
{
    DoneParser();
}

// Start values of the shared variables, the settings file and the cursors; the order matters, as
// the values set after LoadSettings override the file's.
void LauncherWindow::setRunTimeDefaults(const QString& programDir)
{
    ProgramDir =
        (programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir).toStdString() + "/";
    AutoTicks = true;
    ShowInfoAtStartAndExit = true;
    PiAxis = false;
    ModuleOpen = false;
    NumberLineMode = false;
    InitParser();
    TraceMode = false;
    LineWidth = 1;
    ShowScale = true;
    SequenceMode = false;
    Printing = false;
    SpareFlag1 = true;
    FixFamily = false;
    NewModel = true;
    startMessage_ = QString::fromStdString(LoadSettings());
    DrawScale = 1.0;
    LoadCursors();
    StepWidth = 1.0;
    FirstResize = true;
    TransferFitTerm = true;
    SpareFlag2 = false;
    SpareInt2 = 0;
    SpareInt3 = 0;
    RegModel = 0;
    ResultDigits = 3;
    PolyDegree = 3;
    NumeratorDegree = 1;
    DenominatorDegree = 1;
    SpareInt1 = 0;
}

void LauncherWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    showAtFirstLayout();
}

void LauncherWindow::showAtFirstLayout()
{
    const bool info = FirstResize && ShowInfoAtStartAndExit;
    if (info)
        FirstResize = false;
    const QString message = std::exchange(startMessage_, QString());
    if (!info && message.isEmpty())
        return;
    // The launcher is laid out as it is shown; what is to be said at start follows once it is on
    // screen, the message about the settings file first and the info window after it is closed.
    QTimer::singleShot(0, this, [this, info, message] {
        if (!message.isEmpty())
            CurrentPrintExportHooks().showError(this, message);
        if (info)
            showInfoWindow();
    });
}

void LauncherWindow::paintEvent(QPaintEvent* event)
{
    if (windowTitle() != QString::fromUtf8(kLauncherCaption))
        setWindowTitle(QString::fromUtf8(kLauncherCaption));
    QWidget::paintEvent(event);
}

void LauncherWindow::onAnalysisLessonChosen(int imageIndex)
{
    OpenAnalysisLesson(imageIndex, this);
}

void LauncherWindow::onFunctionGraphChosen(int imageIndex)
{
    OpenFunctionGraph(imageIndex, this);
}

void LauncherWindow::onInfoClicked()
{
    showInfoWindow();
}

void LauncherWindow::onExitClicked()
{
    close();
}

void LauncherWindow::showInfoWindow()
{
    auto* window = new InfoWindow(this); // frees itself on close
    window->exec();
}

bool LauncherWindow::confirmExit()
{
    QMessageBox box(QMessageBox::Question, ApplicationTitle(), QStringLiteral("Programm beenden?"),
                    QMessageBox::Ok | QMessageBox::Cancel, this);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

// The window's close box, Alt+F4 and "Beenden" all come here.
bool LauncherWindow::mayClose()
{
    if (ShowInfoAtStartAndExit)
        showInfoWindow();
    return confirmExit();
}

void LauncherWindow::closeEvent(QCloseEvent* event)
{
    if (mayClose())
        event->accept();
    else
        event->ignore();
}

} // namespace kurvex
