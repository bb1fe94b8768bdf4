// Base of every lesson window: plot, off-screen layers, zoom and pan, rubber band, standard buttons,
// keys, Delay, the animation loop and the close rules.
#pragma once

#include "lesson/LessonVariant.h"
#include "lesson/PictureSource.h"
#include "platform/Canvas.h"

#include <QDialog>
#include <QImage>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAbstractButton;
class QPushButton;
class QToolButton;
class QVBoxLayout;
class QWidget;

namespace kurvex {

class PlotBox;
class QtCanvas;
class BitCheckBox;
class ToggleSwitch;

// How the world window was changed.
enum class WorldChange { Zoom, Pan, Band, Reset };

// One animated quantity: the loop runs while its switch is on.
struct AnimationTrack {
    ToggleSwitch* toggle = nullptr;
    // One pass: advance the value (advanceAnimation), show it, redraw.
    std::function<void()> frame;
    // After the last pass, e.g. the value's scroll bar set from the value.
    std::function<void()> finished;
};

// The lesson windows' shared frame. A window derives from it, states its variant row, adds its own
// controls to lessonArea(), and paints its parts in paintBackground() and paintForeground(). Every
// picture is painted through DrawCanvas, so printing and metafile export reuse the same passes.
class LessonWindow : public QDialog, public PictureSource {
    Q_OBJECT
public:
    explicit LessonWindow(const LessonVariant& variant, QWidget* owner = nullptr);
    ~LessonWindow() override;

    const LessonVariant& variant() const { return variant_; }

    // ---- PictureSource ----
    // Both passes straight onto DrawCanvas; the caller has set Printing and the device state.
    void paintPicture() override;
    QSize plotSize() const override;
    QFont plotFont() const override;
    ExportVariant exportVariant() const override { return variant_.exportVariant(); }
    // Layers to the plot size, controls from the variables, full redraw. Called on show, on a plot
    // resize, after the settings dialog and after printing or export; never from paintEvent.
    void refresh() override;
    QWidget* dialogParent() override { return this; }

    // Every way of closing ends here. During an animation the close is remembered: the
    // animations stop and the window closes once the loop has returned.
    void done(int result) override;

    // ---- Drawing passes ----
    // Background pass: fills the background layer, draws the coordinate system and the stored
    // objects. Does nothing in a one-layer window, whose foreground pass draws everything.
    void drawBackground();
    // Foreground pass: fills the foreground layer, draws the moving parts, ANDs the background in
    // and shows the result.
    void drawPicture();
    // Background pass then foreground pass (a window with its own composition overrides it).
    virtual void fullRedraw();

    // The window's curve (curveValue) from xFrom to xTo with the variant's step and jump limits.
    void DrawCurve(double xLeft, double xRight, double xFrom, double xTo);

    // Waits while the window stays responsive, as the variant's delay kind says; sleeps in the
    // event loop instead of spinning.
    void Delay(int ms);

    // ---- World window (zoom, pad, rubber band); each ends with the check and a full redraw ----
    void ResetWorld() { initWorld(); }
    void CheckWorld() { checkWorld(); }
    void zoomOut();
    void zoomIn();
    void pan(int dirX, int dirY);
    // "Anfangswerte setzen" of the pad: the start window, without the check.
    void resetWorld();

    // ---- Buttons ----
    void openSettings();
    void openHelp();
    void printPicture();
    void exportMetafileFile();
    void exportMetafileClipboard();

    // ---- Animation ----
    // Runs the animation loop of a switch's click handler, with AnimationStep := step. While a
    // loop runs, a click on another switch takes the running loop over instead of nesting a new
    // one: the other switches go off and the old quantity's finished() runs first.
    void runAnimation(AnimationTrack track, double step);
    // value += AnimationStep / AnimationSteps; the direction turns at the ends of [min, max].
    void advanceAnimation(double& value, double min, double max);
    // The direction buttons.
    void reverseAnimation() { AnimationStep = -AnimationStep; }
    // Every animation switch off and AnimationRunning false; a running loop ends after its pass.
    void stopAnimations();
    bool animationLoopActive() const { return loopActive_; }

    // ---- Widgets of the frame ----
    PlotBox* plotBox() const { return plotBox_; }
    BitCheckBox* zoomCheckBox() const { return zoomBox_; }
    // The help button, or nullptr in a window whose variant has none.
    QPushButton* helpButton() const { return helpButton_; }
    // Whether a left drag on the plot draws a zoom rectangle now.
    bool rubberBandEnabled() const;

    // Signed step of the running animation, shared by all switches and direction buttons.
    double AnimationStep = 0.0;
    // The left button is held on the plot while no zoom rectangle is drawn.
    bool MouseDragActive = false;
    bool RubberBandActive = false;
    int ZoomAnchorX = 0;
    int ZoomAnchorY = 0;
    int ZoomCurrentX = 0;
    int ZoomCurrentY = 0;

protected:
    // ---- Hooks for the lesson windows ----
    // Stored objects, traced curves: drawn after the coordinate system in the background pass.
    virtual void paintBackground() {}
    // The moving parts of the foreground pass.
    virtual void paintForeground() = 0;
    // XAxisLabel and YAxisLabel before the coordinate system is drawn ("x" and "y").
    virtual void setAxisCaptions();
    // The curve DrawCurve draws: the window's value at x, nothing where it is undefined.
    virtual std::optional<double> curveValue(double x);
    // Edits, bars and boxes from the shared variables (the first step of refresh()).
    virtual void refreshControls() {}
    // The start window; a window with a fixed or own window overrides it.
    virtual void initWorld();
    // The bounds check after zoom, pan and rubber band; windows with own rules extend it.
    virtual void checkWorld();
    // After the world window changed by zoom, pan, band or the pad's centre, before the redraw.
    virtual void worldChanged(WorldChange how) { (void)how; }
    // Before the settings dialog opens (e.g. emptying an object list).
    virtual void beforeSettings() {}
    // The settings dialog; a window with its own dialog overrides it.
    virtual void showSettingsDialog();
    // Left button on the plot while no zoom rectangle is drawn (MouseDragActive is already set),
    // every move then, and the release (MouseDragActive already cleared).
    virtual void plotPress(QMouseEvent* event);
    virtual void plotMove(QMouseEvent* event);
    virtual void plotRelease(QMouseEvent* event);
    // Right button on the plot: the settings dialog, as "Einstellungen".
    virtual void plotRightClick(QMouseEvent* event);
    // Right button on the control panel or on a control of it that leaves the click to the panel
    // (labels, gaps); true when the window took the click. The frame does nothing with it.
    virtual bool panelRightClick(QMouseEvent* event);
    // Keys the window handles itself; true when it took the key.
    virtual bool windowKey(QKeyEvent* event);
    // Extra steps when the window closes (after the animations have stopped).
    virtual void closing() {}
    // Size of the off-screen layers and of the plot rectangle (the plot box's size).
    virtual QSize layerSize() const;
    // The plot's cursor after the "Zoom" box changed.
    virtual void updatePlotCursor();

    // ---- Services ----
    // A focus-less tool button showing a glyph, as the zoom, pan, reset and direction buttons are.
    static QToolButton* glyphButton(const QString& glyph, const QString& objectName, const QString& hint,
                                    QSize size, QWidget* parent);
    // Where the window's own controls go: above the coordinate-system group on the right.
    QVBoxLayout* lessonArea() const { return lessonLayout_; }
    // A row above plot and panel, empty and hidden until a window fills it.
    QVBoxLayout* topArea() const { return topLayout_; }
    QWidget* topPanel() const { return topPanel_; }
    QWidget* rightPanel() const { return rightPanel_; }
    // Every animation switch of the window, so that one turned on can set the others off.
    void registerAnimationSwitch(ToggleSwitch* s);
    const std::vector<ToggleSwitch*>& animationSwitches() const { return switches_; }

    QImage& backgroundImage() { return background_; }
    QImage& foregroundImage() { return foreground_; }
    QtCanvas* backgroundCanvas() const { return backgroundCanvas_.get(); }
    QtCanvas* foregroundCanvas() const { return foregroundCanvas_.get(); }
    // Fills a layer with BackgroundColor through its canvas.
    static void clearLayer(Canvas& canvas, QImage& image);
    // dst := dst AND src, pixel by pixel over the common area.
    static void andImages(QImage& dst, const QImage& src);
    // The picture the plot box shows (the foreground layer unless a window composes its own).
    void showPicture(const QImage* picture);
    void setPlotFontSpec(const Font& font);
    const Font& plotFontSpec() const { return plotFont_; }

    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildFrame();
    QWidget* buildCoordinateGroup();
    QWidget* buildButtons();
    void prepareLayers();
    void paintFixedParts();
    void worldButtonDone(WorldChange how);
    void onPlotPressed(QMouseEvent* event);
    void onPlotMoved(QMouseEvent* event);
    void onPlotReleased(QMouseEvent* event);
    void waitMoreThan(int ms);

    LessonVariant variant_;
    Font plotFont_;
    PlotBox* plotBox_ = nullptr;
    QWidget* topPanel_ = nullptr;
    QVBoxLayout* topLayout_ = nullptr;
    QWidget* rightPanel_ = nullptr;
    QVBoxLayout* lessonLayout_ = nullptr;
    BitCheckBox* zoomBox_ = nullptr;
    QPushButton* helpButton_ = nullptr;

    QImage background_;
    QImage foreground_;
    std::unique_ptr<QtCanvas> backgroundCanvas_;
    std::unique_ptr<QtCanvas> foregroundCanvas_;

    std::vector<ToggleSwitch*> switches_;
    AnimationTrack activeTrack_;
    bool loopActive_ = false;
    bool closePending_ = false;
    int pendingResult_ = QDialog::Rejected;
    bool closed_ = false;
};

} // namespace kurvex
