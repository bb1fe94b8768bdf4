// Base of every lesson window: plot, off-screen layers and panes, zoom and pan, rubber band,
// standard buttons, keys, Delay, the animation loop and the close rules.
#pragma once

#include "lesson/AnimationLoop.h"
#include "lesson/LessonVariant.h"
#include "lesson/PictureSource.h"
#include "platform/Canvas.h"

#include <QDialog>
#include <QImage>

#include <functional>
#include <memory>
#include <optional>

class QPushButton;
class QToolButton;
class QVBoxLayout;
class QWidget;

namespace kurvex {

class BitCheckBox;
class PlotBox;
class PlotColumnLayout;
class QtCanvas;

// How the world window was changed.
enum class WorldChange { Zoom, Pan, Band, Reset };

// A point of the plot in world coordinates, and the pane it lies in.
struct WorldPoint {
    double x = 0.0;
    double y = 0.0;
    int pane = 0;
};

// The value of a curve at x; nothing where it is undefined.
using CurveFunction = std::function<std::optional<double>(double x)>;

// The lesson windows' shared frame. A window derives from it, states its variant (picture plan and
// constants), adds its own controls to the frame's areas and paints its parts in the pane hooks.
// Every picture is painted through DrawCanvas, so printing and metafile export reuse the passes.
class LessonWindow : public QDialog, public PictureSource {
    Q_OBJECT
public:
    explicit LessonWindow(const LessonVariant& variant, QWidget* owner = nullptr);
    ~LessonWindow() override;

    const LessonVariant& variant() const { return variant_; }

    // ---- PictureSource ----
    // Both passes of every pane straight onto DrawCanvas; the caller has set Printing and the
    // device state.
    void paintPicture() override;
    QSize plotSize() const override;
    QFont plotFont() const override;
    ExportVariant exportVariant() const override;
    // Layers to the plot size, controls from the variables, full redraw. Called on show, on a plot
    // resize, after the settings dialog and after printing or export; never from paintEvent.
    void refresh() override;
    QWidget* dialogParent() override { return this; }

    // Every way of closing ends here. During an animation the close is remembered: the
    // animations stop and the window closes once the loop has returned.
    void done(int result) override;

    // ---- Drawing passes ----
    // Background pass: the fixed parts of every pane into the background layer. Does nothing
    // without a background layer, where the foreground pass draws everything.
    void drawBackground();
    // Foreground pass: the moving parts of every pane, the background ANDed in, and the result shown.
    void drawPicture();
    // Background pass then foreground pass (a window with its own composition overrides it).
    virtual void fullRedraw();

    // A curve from xFrom to xTo with the variant's step and jump limits (the step set by the
    // window's x range), in CurveColor and LineWidth on DrawCanvas.
    void drawCurve(const CurveFunction& f, double xFrom, double xTo);
    // The same in the caller's colour and pen width (before DrawScale) instead of CurveColor and
    // LineWidth, which stay as they are.
    void drawCurve(const CurveFunction& f, double xFrom, double xTo, TColor color, int lineWidth);
    // The window's own curve (curveValue) over the window, or from xFrom to xTo.
    void drawCurve();
    void drawCurve(double xFrom, double xTo);

    // Waits while the window stays responsive, as the variant's delay kind says.
    void Delay(int ms) { animation_.delay(ms); }

    // ---- World window (zoom, pad, rubber band); each ends with the check and a full redraw ----
    void zoomOut();
    void zoomIn();
    void pan(int dirX, int dirY);
    // "Anfangswerte setzen" of the pad: the start window, without the check.
    void resetWorld();
    // The world point under a pixel of the plot box, in the pane it lies in.
    WorldPoint worldAt(QPointF pixel) const;

    // ---- Buttons ----
    void openSettings();
    void openHelp();
    void printPicture();
    void exportMetafileFile();
    void exportMetafileClipboard();

    // ---- Animation (see AnimationLoop) ----
    void runAnimation(AnimationTrack track, double step);
    void advanceAnimation(double& value, double min, double max) { animation_.advance(value, min, max); }
    void advanceAnimationByWholeStep(double& value, double min, double max)
    {
        animation_.advanceByWholeStep(value, min, max);
    }
    void reverseAnimation() { animation_.reverse(); }
    void setAnimationStep(double step) { animation_.setStep(step); }
    void stopAnimations() { animation_.stopAll(); }
    bool animationLoopActive() const { return animation_.active(); }
    double animationStep() const { return animation_.step(); }
    void registerAnimationSwitch(ToggleSwitch* s) { animation_.registerSwitch(s); }
    int animationSwitchCount() const { return animation_.switchCount(); }
    // x crosses the world window one pixel column a frame, turning at its edges; show shows x and
    // draws after each step, finished runs after the last frame. step is the window's, so its
    // direction button can reverse it and a zoom can set it anew (pixelColumn()).
    void runPixelSweep(ToggleSwitch* toggle, double& x, double& step, std::function<void()> show,
                       std::function<void()> finished = {});
    // The world width of one pixel column of the plot.
    static double pixelColumn();

    // ---- Widgets and state of the frame ----
    PlotBox* plotBox() const { return plotBox_; }
    BitCheckBox* zoomCheckBox() const { return zoomBox_; }
    // The help button, or nullptr in a window whose variant has none.
    QPushButton* helpButton() const { return helpButton_; }
    // Whether a left drag on the plot draws a zoom rectangle now.
    bool rubberBandEnabled() const;
    // The left button is held on the plot while no zoom rectangle is drawn.
    bool mouseDragActive() const { return mouseDragActive_; }
    // Draws into layers of this size instead of the plot box's, for benchmarks and tests that need
    // a picture of a given size whatever the screen; nothing returns to the plot box's size.
    void setFixedLayerSize(std::optional<QSize> size) { fixedLayerSize_ = size; }

    // A zoom rectangle is being dragged.
    bool rubberBandActive() const { return rubberBandActive_; }

protected:
    // ---- Hooks for the lesson windows; pane is 0 (top) or 1 ----
    // The coordinate system of a pane: by default its axis captions and the shared painter.
    virtual void paintCoordinateSystem(int pane);
    // XAxisLabel and YAxisLabel before a pane's coordinate system is drawn ("x" and "y").
    virtual void setAxisCaptions(int pane);
    // Stored objects, traced curves: drawn after the coordinate system in the background pass.
    virtual void paintBackground(int pane) { (void)pane; }
    // The moving parts of the foreground pass.
    virtual void paintForeground(int pane) = 0;
    // The curve drawCurve() draws: the window's value at x, nothing where it is undefined.
    virtual std::optional<double> curveValue(double x);
    // Edits, bars and boxes from the shared variables (the first step of refresh()).
    virtual void refreshControls() {}
    // The start window; a window with a fixed or own window overrides it.
    virtual void initWorld();
    // The bounds check after zoom, pan, band and the settings dialog; windows with own rules extend it.
    virtual void checkWorld();
    // After the world window changed by zoom, pan, band or the pad's centre, before the redraw.
    virtual void worldChanged(WorldChange how) { (void)how; }
    // Before the settings dialog opens (e.g. emptying an object list).
    virtual void beforeSettings() {}
    // The settings dialog; a window with its own dialog overrides it.
    virtual void showSettingsDialog();
    // Left button on the plot while no zoom rectangle is drawn (mouseDragActive() is already set),
    // every move then, and the release (already cleared).
    virtual void plotPress(QMouseEvent* event) { (void)event; }
    virtual void plotMove(QMouseEvent* event) { (void)event; }
    virtual void plotRelease(QMouseEvent* event) { (void)event; }
    // Right button on the plot: the settings dialog, as "Einstellungen".
    virtual void plotRightClick(QMouseEvent* event);
    // Right button on the control panel or on a control of it that leaves the click to the panel
    // (labels, gaps); true when the window took the click. The frame does nothing with it.
    virtual bool panelRightClick(QMouseEvent* event);
    // Keys the window handles itself; true when it took the key.
    virtual bool windowKey(QKeyEvent* event);
    // Extra steps when the window closes (after the animations have stopped); the frame then puts
    // DrawScale back to the screen's and clears ModuleOpen.
    virtual void closing() {}
    // Size of the off-screen layers (the plot box's size).
    virtual QSize layerSize() const;
    // Whether the window's own drag is available now, which shows the variant's drag cursor.
    virtual bool plotDragAvailable() const { return true; }

    // ---- Services ----
    // The plot's cursor for the state of "Zoom" and of the window's drag; call after a change.
    void updatePlotCursor();
    // Where the window's own controls go: above the coordinate-system group on the right.
    QVBoxLayout* lessonArea() const { return lessonLayout_; }
    QWidget* rightPanel() const { return rightPanel_; }
    // Rows above the plot and panel, below the plot, and a column left of the plot; each hidden
    // until the window puts something into it.
    QVBoxLayout* topArea();
    QVBoxLayout* bottomArea();
    QVBoxLayout* leftArea();
    QWidget* topPanel() const { return topPanel_; }

    // Points DrawCanvas at a pane: on screen at the pane's part of a layer, on a printer or metafile
    // at the pane's place below the panes above it. The passes do this for the pane hooks; a window
    // drawing outside them (a traced curve) calls it, and endPanes() afterwards.
    enum class Layer { Background, Foreground };
    void beginPane(int pane, Layer layer = Layer::Foreground);
    void endPanes();
    // The foreground and background canvases, while the window is shown (nullptr otherwise).
    QtCanvas* foregroundCanvas() const { return foregroundCanvas_.get(); }
    QtCanvas* backgroundCanvas() const { return backgroundCanvas_.get(); }
    QImage& backgroundImage() { return background_; }
    QImage& foregroundImage() { return foreground_; }
    // Fills a layer with BackgroundColor through its canvas.
    static void clearLayer(Canvas& canvas, QImage& image);
    // dst := dst AND src, pixel by pixel over the common area.
    static void andImages(QImage& dst, const QImage& src);
    void setPlotFontSpec(const Font& font);
    const Font& plotFontSpec() const { return plotFont_; }

    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    // LessonLayout.cpp
    void buildFrame();
    QWidget* buildCoordinateGroup();
    QWidget* buildButtons();
    // The opening size the variant plans, then the width the plot's shape gives, centred.
    void openAtPlannedSize();
    // The screen's whole working height, title bar included, at the top of the screen.
    void takeFullHeight();
    // The window's width from its height, so that the plot in its shape fills the room beside the
    // panels; the window centred horizontally on the screen.
    void fitWidthToPlot(bool opening = false);

    void prepareLayers();
    // A pane's clip on a printer or metafile, in the pane's coordinates.
    Rect printPaneClip(int top) const;
    void setPlotGeometry(QSize box);
    void paintFixedParts(int pane);
    void worldButtonDone(WorldChange how);
    void onPlotPressed(QMouseEvent* event);
    void onPlotMoved(QMouseEvent* event);
    void onPlotReleased(QMouseEvent* event);

    LessonVariant variant_;
    Font plotFont_;
    AnimationLoop animation_;
    PlotBox* plotBox_ = nullptr;
    PlotColumnLayout* plotColumn_ = nullptr;
    QWidget* topPanel_ = nullptr;
    QVBoxLayout* topLayout_ = nullptr;
    QWidget* bottomPanel_ = nullptr;
    QVBoxLayout* bottomLayout_ = nullptr;
    QWidget* leftPanel_ = nullptr;
    QVBoxLayout* leftLayout_ = nullptr;
    QWidget* rightPanel_ = nullptr;
    QVBoxLayout* lessonLayout_ = nullptr;
    BitCheckBox* zoomBox_ = nullptr;
    QPushButton* helpButton_ = nullptr;

    QImage background_;
    QImage foreground_;
    std::unique_ptr<QtCanvas> backgroundCanvas_;
    std::unique_ptr<QtCanvas> foregroundCanvas_;
    // The device origin and clip of the picture while it is printed or recorded, and the pane
    // drawn now.
    Point printOrigin_;
    std::optional<Rect> printClip_;
    int currentPane_ = 0;

    std::optional<QSize> fixedLayerSize_;
    bool mouseDragActive_ = false;
    bool rubberBandActive_ = false;
    QPoint bandAnchor_;
    bool closePending_ = false;
    int pendingResult_ = QDialog::Rejected;
    bool closed_ = false;
    bool firstShow_ = true;
    // The last size asked of the window manager, and the size the window had then.
    QSize widthRequest_;
    QSize sizeAtRequest_;
    bool widthFitPending_ = false;
    // A full-height opening corrects its height on its first moves, once the window manager's frame
    // is known.
    static constexpr int kFullHeightChecks = 4;
    int fullHeightChecks_ = 0;
};

} // namespace kurvex
