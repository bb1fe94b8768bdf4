// Launcher window: the two lesson lists, info and exit question.
#include "app/LauncherWindow.h"

#include "app/CategoryList.h"
#include "app/InfoWindow.h"
#include "app/LessonRegistry.h"
#include "controls/Cursors.h"
#include "controls/Glyphs.h"
#include "core/Settings.h"
#include "core/term/Term.h"
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

namespace kurvex {

namespace {

constexpr TColor kCream = 0xF0FBFF;

QToolButton* panelButton(QWidget* parent, const QString& text, const QIcon& glyph, int x)
{
    auto* b = new QToolButton(parent);
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

LauncherWindow::LauncherWindow(QWidget* parent) : QWidget(parent)
{
    setWindowTitle(QString::fromUtf8(kLauncherCaption));
    setFixedSize(589, 205);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(11);
    setFont(f);

    auto* panel1 = new QWidget(this);
    panel1->setGeometry(0, 0, 589, 205);

    CategoryList::Style analysis{toQColor(kCream), toQColor(0xA56D3A), toQColor(0xDBE1E2), toQColor(0xBEC7CA),
                                 180};
    categoryButtons1_ = new CategoryList(QStringLiteral("Analysis"), analysis, panel1);
    categoryButtons1_->setGeometry(216, 4, 372, 197);
    for (const LessonEntry& e : AnalysisLessons())
        categoryButtons1_->addItem(QString::fromUtf8(e.caption), e.imageIndex);

    CategoryList::Style graphs = analysis;
    graphs.categoryGradient = toQColor(clGray);
    graphs.buttonWidth = 200;
    categoryButtons2_ = new CategoryList(QStringLiteral("Funktionsgraphen"), graphs, panel1);
    categoryButtons2_->setGeometry(4, 4, 213, 149);
    for (const LessonEntry& e : FunctionGraphLessons())
        categoryButtons2_->addItem(QString::fromUtf8(e.caption), e.imageIndex);

    auto* panel2 = new QFrame(panel1);
    panel2->setGeometry(6, 154, 202, 45);
    panel2->setFrameShape(QFrame::Panel);
    panel2->setFrameShadow(QFrame::Plain);
    panel2->setAutoFillBackground(true);
    QPalette pal = panel2->palette();
    pal.setColor(QPalette::Window, toQColor(clSilver));
    panel2->setPalette(pal);
    speedButton1_ = panelButton(panel2, QStringLiteral("&Info"), InfoGlyph(), 2);
    speedButton1_->setCursor(Qt::PointingHandCursor);
    speedButton2_ = panelButton(panel2, QStringLiteral("&Beenden"), ExitGlyph(), 100);
    speedButton2_->setToolTip(QStringLiteral("Programm beenden"));

    connect(categoryButtons1_, &CategoryList::buttonClicked, this,
            &LauncherWindow::CategoryButtons1ButtonClicked);
    connect(categoryButtons2_, &CategoryList::buttonClicked, this,
            &LauncherWindow::CategoryButtons2ButtonClicked);
    connect(speedButton1_, &QToolButton::clicked, this, &LauncherWindow::SpeedButton1Click);
    connect(speedButton2_, &QToolButton::clicked, this, &LauncherWindow::SpeedButton35Click);

    FormCreate();
}

LauncherWindow::~LauncherWindow()
{
    DoneParser();
}

void LauncherWindow::FormCreate()
{
    ProgramDir = QCoreApplication::applicationDirPath().toStdString() + "/";
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
    LoadSettings();
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
    FormResize();
}

void LauncherWindow::FormResize()
{
    if (!FirstResize || !ShowInfoAtStartAndExit)
        return;
    FirstResize = false;
    // The launcher is laid out as it is shown; the info window follows once it is on screen.
    QTimer::singleShot(0, this, [this] { showInfoWindow(); });
}

void LauncherWindow::paintEvent(QPaintEvent* event)
{
    if (windowTitle() != QString::fromUtf8(kLauncherCaption))
        setWindowTitle(QString::fromUtf8(kLauncherCaption));
    QWidget::paintEvent(event);
}

void LauncherWindow::CategoryButtons1ButtonClicked(int imageIndex)
{
    OpenAnalysisLesson(imageIndex, this);
}

void LauncherWindow::CategoryButtons2ButtonClicked(int imageIndex)
{
    OpenFunctionGraph(imageIndex, this);
}

void LauncherWindow::SpeedButton1Click()
{
    showInfoWindow();
}

void LauncherWindow::SpeedButton35Click()
{
    close();
}

void LauncherWindow::showInfoWindow()
{
    auto* window = new InfoWindow(this); // frees itself on close
    OpenedInfoWindow = window;
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

bool LauncherWindow::FormCloseQuery()
{
    if (ShowInfoAtStartAndExit)
        showInfoWindow();
    return confirmExit();
}

void LauncherWindow::closeEvent(QCloseEvent* event)
{
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

} // namespace kurvex
