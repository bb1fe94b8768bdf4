// A minimal lesson window on the shared frame for the tests and the benchmark: one term, its first
// derivative, and two animated parameters.
#pragma once

#include "controls/EditRoutines.h"
#include "controls/ToggleSwitch.h"
#include "core/Settings.h"
#include "core/term/Term.h"
#include "lesson/LessonWindow.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include <optional>
#include <string>

namespace kurvex {

class TestLessonWindow : public LessonWindow {
public:
    static LessonVariant testVariant()
    {
        return {.delay = DelayKind::A,
                .curve = {2, 20000, 20000},
                .metafileScale = 4.0,
                .fontFactor = 1.2,
                .rubberBand = RubberBandMode::WithZoomBox,
                .arrowKeys = ArrowKeys::MoveFocus,
                .picture = {.backgroundLayer = true},
                .worldLimits = {}};
    }

    explicit TestLessonWindow(const LessonVariant& variant = testVariant(), QWidget* owner = nullptr)
        : LessonWindow(variant, owner)
    {
        directionButton->setFocusPolicy(Qt::NoFocus);
        registerAnimationSwitch(switchA);
        registerAnimationSwitch(switchB);

        ConnectEditExit(termEdit, this, [this] {
            CheckTermEdit(termEdit);
            fullRedraw();
        });
        ConnectEditExit(valueEdit, this, [this] {
            if (ReadNumberEdit(valueEdit, ParamA)) {
                drawPicture();
            }
        });
        QObject::connect(switchA, &ToggleSwitch::clicked, this,
                         [this] { animate(switchA, ParamA, ParamAMin, ParamAMax); });
        QObject::connect(switchB, &ToggleSwitch::clicked, this,
                         [this] { animate(switchB, ParamB, ParamBMin, ParamBMax); });
        QObject::connect(directionButton, &QToolButton::clicked, this, [this] { reverseAnimation(); });
    }

    void setTerm(const std::string& term)
    {
        CompileTerm(ParsedTerm, term, true);
        termEdit->setText(QString::fromStdString(term));
    }

    using LessonWindow::andImages;
    using LessonWindow::backgroundImage;
    using LessonWindow::beginPane;
    using LessonWindow::clearLayer;
    using LessonWindow::endPanes;
    using LessonWindow::foregroundImage;

    bool showDerivative = true;
    // Opens the real settings dialog instead of only counting.
    bool realDialogs = false;

    // What the frame called, for the tests.
    int foregroundPasses = 0, backgroundPasses = 0, frames = 0, settingsOpened = 0, closings = 0;
    int presses = 0, moves = 0, releases = 0, panelRightClicks = 0;
    // The panes the passes drew, in order.
    std::vector<int> backgroundPanes, foregroundPanes;
    std::vector<QString> finishedTracks;
    std::vector<WorldChange> worldChanges;
    // Runs after every animation frame (tests use it to click, close or count).
    std::function<void()> afterFrame;

    // The window's own controls, in the order they are laid out in the lesson area.
    QLineEdit* const termEdit = add<QLineEdit>("Edit1");
    QLineEdit* const valueEdit = add<QLineEdit>("Edit2");
    ToggleSwitch* const switchA = add<ToggleSwitch>("Switch1");
    ToggleSwitch* const switchB = add<ToggleSwitch>("Switch2");
    QToolButton* const directionButton = add<QToolButton>("SpeedButton24");

protected:
    void paintBackground(int pane) override
    {
        ++backgroundPasses;
        backgroundPanes.push_back(pane);
    }

    void paintForeground(int pane) override
    {
        ++foregroundPasses;
        foregroundPanes.push_back(pane);
        CurveColor = clRed;
        derivative_ = false;
        drawCurve();
        if (showDerivative) {
            CurveColor = Deriv1Color;
            derivative_ = true;
            drawCurve();
            derivative_ = false;
        }
    }

    std::optional<double> curveValue(double x) override
    {
        const double y = derivative_
                             ? EvaluateDerivative(ParsedTerm, 1, x, ParamT, ParamA, ParamB, ParamC, ParamD, 0)
                             : EvaluateTerm(ParsedTerm, x, ParamT, ParamA, ParamB, ParamC, ParamD, 0);
        return EvalOk ? std::optional(y) : std::nullopt;
    }

    void refreshControls() override { ShowNumber(valueEdit, ParamA); }
    void showSettingsDialog() override
    {
        ++settingsOpened;
        if (realDialogs) {
            LessonWindow::showSettingsDialog();
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
    template <class W> W* add(const char* name)
    {
        auto* w = new W(this);
        w->setObjectName(QString::fromLatin1(name));
        lessonArea()->addWidget(w);
        return w;
    }

    void animate(ToggleSwitch* toggle, double& value, double& min, double& max)
    {
        const auto frame = [this, &value, &min, &max] {
            advanceAnimation(value, min, max);
            ++frames;
            drawPicture();
            if (afterFrame) {
                afterFrame();
            }
        };
        const auto finished = [this, name = toggle->objectName()] { finishedTracks.push_back(name); };
        runAnimation({toggle, frame, finished}, max - min);
    }

    bool derivative_ = false;
};

} // namespace kurvex
