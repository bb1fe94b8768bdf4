// A minimal lesson window on the shared frame for the tests and the benchmark: one term, its first
// derivative, and two animated parameters.
#pragma once

#include "app/ModuleWindow.h"
#include "controls/EditRoutines.h"
#include "controls/GSwitch.h"
#include "core/U_init.h"
#include "core/fktpars.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include <optional>
#include <string>

namespace kurvex {

class TestModuleWindow : public ModuleWindow {
public:
    static ModuleVariant testVariant()
    {
        ModuleVariant v;
        v.delay = DelayKind::A;
        v.curve = {2, 20000, 20000};
        v.metafileScale = 4.0;
        v.fontFactor = 1.2;
        v.rubberBand = RubberBandMode::WithZoomBox;
        v.arrowKeys = ArrowKeys::MoveFocus;
        v.layers = 2;
        return v;
    }

    explicit TestModuleWindow(const ModuleVariant& variant = testVariant(), QWidget* owner = nullptr)
        : ModuleWindow(variant, owner)
    {
        termEdit = new QLineEdit(this);
        termEdit->setObjectName(QStringLiteral("Edit1"));
        valueEdit = new QLineEdit(this);
        valueEdit->setObjectName(QStringLiteral("Edit2"));
        switchA = new TSwitch(this);
        switchA->setObjectName(QStringLiteral("Switch1"));
        switchB = new TSwitch(this);
        switchB->setObjectName(QStringLiteral("Switch2"));
        directionButton = new QToolButton(this);
        directionButton->setObjectName(QStringLiteral("SpeedButton24"));
        directionButton->setFocusPolicy(Qt::NoFocus);
        lessonArea()->addWidget(termEdit);
        lessonArea()->addWidget(valueEdit);
        lessonArea()->addWidget(switchA);
        lessonArea()->addWidget(switchB);
        lessonArea()->addWidget(directionButton);
        registerAnimationSwitch(switchA);
        registerAnimationSwitch(switchB);

        ConnectEditExit(termEdit, this, [this] {
            CheckTermEdit(termEdit);
            fullRedraw();
        });
        ConnectEditExit(valueEdit, this, [this] {
            if (ReadNumberEdit(valueEdit, ParamA)) {
                darstellen();
            }
        });
        QObject::connect(switchA, &TSwitch::clicked, this,
                         [this] { animate(switchA, ParamA, ParamAMin, ParamAMax); });
        QObject::connect(switchB, &TSwitch::clicked, this,
                         [this] { animate(switchB, ParamB, ParamBMin, ParamBMax); });
        QObject::connect(directionButton, &QToolButton::clicked, this, [this] { reverseAnimation(); });
    }

    void setTerm(const std::string& term)
    {
        CompileTerm(ParsedTerm, term, true);
        termEdit->setText(QString::fromStdString(term));
    }

    using ModuleWindow::andImages;
    using ModuleWindow::backgroundImage;
    using ModuleWindow::clearLayer;
    using ModuleWindow::foregroundImage;

    // Draws into layers of this size instead of the plot box's.
    std::optional<QSize> fixedLayerSize;
    bool showDerivative = true;
    // Opens the real settings dialog instead of only counting.
    bool realDialogs = false;

    // What the frame called, for the tests.
    int foregroundPasses = 0;
    int backgroundPasses = 0;
    int frames = 0;
    int settingsOpened = 0;
    int closings = 0;
    int presses = 0;
    int moves = 0;
    int releases = 0;
    int panelRightClicks = 0;
    std::vector<QString> finishedTracks;
    std::vector<WorldChange> worldChanges;
    // Runs after every animation frame (tests use it to click, close or count).
    std::function<void()> afterFrame;

    QLineEdit* termEdit = nullptr;
    QLineEdit* valueEdit = nullptr;
    TSwitch* switchA = nullptr;
    TSwitch* switchB = nullptr;
    QToolButton* directionButton = nullptr;

protected:
    void paintBackground() override { ++backgroundPasses; }

    void paintForeground() override
    {
        ++foregroundPasses;
        CurveColor = clRed;
        derivative_ = false;
        KurveZeichnen(XMin, XMax, XMin, XMax);
        if (showDerivative) {
            CurveColor = Deriv1Color;
            derivative_ = true;
            KurveZeichnen(XMin, XMax, XMin, XMax);
            derivative_ = false;
        }
    }

    std::optional<double> curveValue(double x) override
    {
        const double y = derivative_
                             ? EvaluateDerivative(ParsedTerm, 1, x, ParamT, ParamA, ParamB, ParamC, ParamD, 0)
                             : EvaluateTerm(ParsedTerm, x, ParamT, ParamA, ParamB, ParamC, ParamD, 0);
        if (!EvalOk) {
            return std::nullopt;
        }
        return y;
    }

    QSize layerSize() const override { return fixedLayerSize ? *fixedLayerSize : ModuleWindow::layerSize(); }
    void refreshControls() override { ShowNumber(valueEdit, ParamA); }
    void showSettingsDialog() override
    {
        ++settingsOpened;
        if (realDialogs) {
            ModuleWindow::showSettingsDialog();
        }
    }
    void closing() override { ++closings; }
    void worldChanged(WorldChange how) override { worldChanges.push_back(how); }
    void plotPress(QMouseEvent*) override { ++presses; }
    void plotMove(QMouseEvent*) override { ++moves; }
    void plotRelease(QMouseEvent*) override { ++releases; }
    bool panelRightClick(QMouseEvent*) override
    {
        ++panelRightClicks;
        return true;
    }

private:
    void animate(TSwitch* toggle, double& value, double& min, double& max)
    {
        const QString name = toggle->objectName();
        AnimationTrack track;
        track.toggle = toggle;
        track.frame = [this, &value, &min, &max] {
            advanceAnimation(value, min, max);
            ++frames;
            darstellen();
            if (afterFrame) {
                afterFrame();
            }
        };
        track.finished = [this, name] { finishedTracks.push_back(name); };
        runAnimation(std::move(track), max - min);
    }

    bool derivative_ = false;
};

} // namespace kurvex
