// Launcher window: the two lesson lists, info and exit question.
#include "app/Unit4.h"

#include "app/CategoryList.h"
#include "app/Cursors.h"
#include "app/Glyphs.h"
#include "app/Lessons.h"
#include "app/unit10.h"
#include "core/U_init.h"
#include "core/fktpars.h"

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

QColor fromTColor(TColor c)
{
    return QColor(colorRed(c), colorGreen(c), colorBlue(c));
}

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

TForm4::TForm4(QWidget* parent) : QWidget(parent)
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

    CategoryList::Style analysis{fromTColor(kCream), fromTColor(0xA56D3A), fromTColor(0xDBE1E2),
                                 fromTColor(0xBEC7CA), 180};
    categoryButtons1_ = new CategoryList(QStringLiteral("Analysis"), analysis, panel1);
    categoryButtons1_->setGeometry(216, 4, 372, 197);
    for (const auto& [caption, index] :
         std::initializer_list<std::pair<const char*, int>>{{"Funktionsanpassung", 30},
                                                            {"Tangentenproblem", 11},
                                                            {"Lineare Regression", 40},
                                                            {"Differenzierbarkeit", 20},
                                                            {"Ganzrationale Funktionen", 6},
                                                            {"Grenzwert - Stetigkeit", 8},
                                                            {"f f' f''  Kurvendiskussion", 12},
                                                            {"Folgen -  Grenzwert", 15},
                                                            {"f  F    Integralfunktion", 13},
                                                            {"Bisektion  f(x) = 0", 10},
                                                            {"Ortskurven - H, T, W", 14},
                                                            {"Zuordnungen", 7},
                                                            {"Unter- und Obersumme", 21},
                                                            {"sin cos    tan cot", 9}})
        categoryButtons1_->addItem(QString::fromUtf8(caption), index);

    CategoryList::Style graphs = analysis;
    graphs.categoryGradient = QColor(0x80, 0x80, 0x80);
    graphs.buttonWidth = 200;
    categoryButtons2_ = new CategoryList(QStringLiteral("Funktionsgraphen"), graphs, panel1);
    categoryButtons2_->setGeometry(4, 4, 213, 149);
    for (const auto& [caption, index] :
         std::initializer_list<std::pair<const char*, int>>{{"y = m  x + c", 1},
                                                            {"y = a x² + b x + c", 2},
                                                            {"y = a (x - u)² + v", 3},
                                                            {"y = a f(x - u) + v", 4},
                                                            {"y = f(x) Parameter a, b, c, d", 5}})
        categoryButtons2_->addItem(QString::fromUtf8(caption), index);

    auto* panel2 = new QFrame(panel1);
    panel2->setGeometry(6, 154, 202, 45);
    panel2->setFrameShape(QFrame::Panel);
    panel2->setFrameShadow(QFrame::Plain);
    panel2->setAutoFillBackground(true);
    QPalette pal = panel2->palette();
    pal.setColor(QPalette::Window, fromTColor(clSilver));
    panel2->setPalette(pal);
    speedButton1_ = panelButton(panel2, QStringLiteral("&Info"), InfoGlyph(), 2);
    speedButton1_->setCursor(Qt::PointingHandCursor);
    speedButton2_ = panelButton(panel2, QStringLiteral("&Beenden"), ExitGlyph(), 100);
    speedButton2_->setToolTip(QStringLiteral("Programm beenden"));

    connect(categoryButtons1_, &CategoryList::buttonClicked, this, &TForm4::CategoryButtons1ButtonClicked);
    connect(categoryButtons2_, &CategoryList::buttonClicked, this, &TForm4::CategoryButtons2ButtonClicked);
    connect(speedButton1_, &QToolButton::clicked, this, &TForm4::SpeedButton1Click);
    connect(speedButton2_, &QToolButton::clicked, this, &TForm4::SpeedButton35Click);

    FormCreate();
}

TForm4::~TForm4()
{
    DoneParser();
}

void TForm4::FormCreate()
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

void TForm4::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    FormResize();
}

void TForm4::FormResize()
{
    if (!FirstResize || !ShowInfoAtStartAndExit)
        return;
    FirstResize = false;
    // The launcher is laid out as it is shown; the info window follows once it is on screen.
    QTimer::singleShot(0, this, [this] { showInfoWindow(); });
}

void TForm4::paintEvent(QPaintEvent* event)
{
    if (windowTitle() != QString::fromUtf8(kLauncherCaption))
        setWindowTitle(QString::fromUtf8(kLauncherCaption));
    QWidget::paintEvent(event);
}

void TForm4::CategoryButtons1ButtonClicked(int imageIndex)
{
    OpenAnalysisLesson(imageIndex, this);
}

void TForm4::CategoryButtons2ButtonClicked(int imageIndex)
{
    OpenFunctionGraph(imageIndex, this);
}

void TForm4::SpeedButton1Click()
{
    showInfoWindow();
}

void TForm4::SpeedButton35Click()
{
    close();
}

void TForm4::showInfoWindow()
{
    auto* window = new TForm10(this); // frees itself on close
    Form10 = window;
    window->exec();
}

bool TForm4::confirmExit()
{
    QMessageBox box(QMessageBox::Question, ApplicationTitle(), QStringLiteral("Programm beenden?"),
                    QMessageBox::Ok | QMessageBox::Cancel, this);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

bool TForm4::FormCloseQuery()
{
    if (ShowInfoAtStartAndExit)
        showInfoWindow();
    return confirmExit();
}

void TForm4::closeEvent(QCloseEvent* event)
{
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

} // namespace kurvex
