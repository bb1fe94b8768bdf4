// Start-value dialog of the sine fit (TForm50).
#include "fitting/SineStartDialog.h"

#include "controls/BitCheckBox.h"
#include "controls/EditRoutines.h"
#include "core/NumberText.h"
#include "core/Settings.h"
#include "core/SineStartRules.h"
#include "lesson/ControlFactory.h"
#include "numeric/SineFit.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace kurvex {

namespace {

double* userStart(int index)
{
    static const std::array<double*, 4> starts{&SineUserStartA, &SineUserStartB, &SineUserStartC,
                                               &SineUserStartD};
    return starts[static_cast<std::size_t>(index)];
}

QString numberText(double v)
{
    return QString::fromStdString(FormatNumber(ResultDigits, v)).trimmed();
}

QLabel* boldLabel(const char* name, const QString& text, QWidget* parent)
{
    QLabel* l = MakeLabel(QString::fromLatin1(name), text, parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

} // namespace

SineStartDialog::SineStartDialog(QWidget* owner) : QDialog(owner, Qt::Tool)
{
    setWindowTitle(QStringLiteral("Startwerte und Einstellungen y = a sin(bx+c)+d"));
    buildControls();
    // The size of the form, or more where the fonts or the caption need it: at the form's width the
    // title bar cut the caption to "Startwerte und E… = a sin(bx+c)+d".
    resize(sizeHint().expandedTo(QSize(std::max(301, CaptionWidth(*this)), 244)));
    if (owner != nullptr) {
        const QRect o = owner->frameGeometry();
        move(o.x() + (o.width() - width()) / 2, o.y() + (o.height() - height()) / 2);
    }
}

void SineStartDialog::buildControls()
{
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(4);
    grid->addWidget(boldLabel("Label7", QStringLiteral("Startwerte"), this), 0, 1);
    grid->addWidget(boldLabel("Label10", QStringLiteral("gefittete Werte"), this), 0, 2);

    struct Row {
        const char* caption;
        const char* captionName;
        const char* editName;
        const char* labelName;
        int gridRow;
    };
    static constexpr std::array<Row, 4> kRows{{{"a =", "Label6", "Edit1", "Label1", 1},
                                               {"b =", "Label5", "Edit2", "Label2", 2},
                                               {"c =", "Label8", "Edit3", "Label3", 4},
                                               {"d =", "Label9", "Edit4", "Label4", 5}}};
    for (int i = 0; i < 4; ++i) {
        const Row& r = kRows[static_cast<std::size_t>(i)];
        grid->addWidget(boldLabel(r.captionName, QString::fromLatin1(r.caption), this), r.gridRow, 0);
        QLineEdit* edit = MakeNumberEdit(QString::fromLatin1(r.editName), this);
        startEdits_[static_cast<std::size_t>(i)] = edit;
        grid->addWidget(edit, r.gridRow, 1);
        QLabel* fitted = boldLabel(r.labelName, {}, this);
        fitted->setStyleSheet(QStringLiteral("color: #0000ff;"));
        fittedLabels_[static_cast<std::size_t>(i)] = fitted;
        grid->addWidget(fitted, r.gridRow, 2);
        ConnectEditExit(edit, this, [this, i] { onStartValueEntered(i); });
    }
    grid->addWidget(boldLabel("Label13", QStringLiteral("p = 2pi/b ="), this), 3, 0);
    startPeriod_ = MakeLabel(QStringLiteral("Label11"), {}, this);
    fittedPeriod_ = MakeLabel(QStringLiteral("Label12"), {}, this);
    grid->addWidget(startPeriod_, 3, 1);
    grid->addWidget(fittedPeriod_, 3, 2);

    grid->addWidget(boldLabel("Label17", QStringLiteral("Iterationszahl ="), this), 6, 0);
    iterationsEdit_ = MakeNumberEdit(QStringLiteral("Edit7"), this);
    iterationsEdit_->setMaxLength(4);
    grid->addWidget(iterationsEdit_, 6, 1);
    ConnectEditExit(iterationsEdit_, this, [this] { onIterationsEntered(); });

    defaultsBox_ =
        MakeCheckBox(QStringLiteral("BitCheckBox1"), QStringLiteral("Defaultwerte (automatisch)"), this);
    defaultsBox_->setChecked(true);
    grid->addWidget(defaultsBox_, 7, 0, 1, 3);
    connect(defaultsBox_, &BitCheckBox::clicked, this, &SineStartDialog::onDefaultsToggled);

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setAutoDefault(false);
    grid->addWidget(ok, 8, 2);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void SineStartDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (NewModel) {
        SineUserStartA = SineStartValues[0];
        SineUserStartB = SineStartValues[1];
        SineUserStartC = SineStartValues[2];
        SineUserStartD = SineStartValues[3];
        SineIterations = SineAutoIterations;
    }
    showStartValues();
    for (std::size_t i = 0; i < fittedLabels_.size(); ++i) {
        fittedLabels_[i]->setText(numberText(SineParams[i]));
    }
    fittedPeriod_->setText(QString::fromStdString(SinePeriodText(SineParams[1], ResultDigits)).trimmed());
    defaultsBox_->setChecked(NewModel);
    enableEdits();
}

void SineStartDialog::showStartValues()
{
    for (int i = 0; i < 4; ++i) {
        QLineEdit* edit = startEdits_[static_cast<std::size_t>(i)];
        edit->setText(numberText(*userStart(i)));
        edit->setModified(false);
    }
    startPeriod_->setText(QString::fromStdString(SinePeriodText(SineUserStartB, ResultDigits)).trimmed());
    iterationsEdit_->setText(QString::number(SineIterations));
    iterationsEdit_->setModified(false);
}

void SineStartDialog::enableEdits()
{
    for (QLineEdit* edit : startEdits_) {
        edit->setEnabled(!NewModel);
    }
    iterationsEdit_->setEnabled(!NewModel);
}

void SineStartDialog::onDefaultsToggled()
{
    NewModel = defaultsBox_->Checked();
    enableEdits();
    if (!NewModel) {
        return;
    }
    SineUserStartA = SineStartValues[0];
    SineUserStartB = SineStartValues[1];
    SineUserStartC = SineStartValues[2];
    SineUserStartD = SineStartValues[3];
    showStartValues();
}

void SineStartDialog::onStartValueEntered(int index)
{
    QLineEdit* edit = startEdits_[static_cast<std::size_t>(index)];
    double value = *userStart(index);
    if (!ReadNumberEdit(edit, value) && edit->isModified()) {
        return;
    }
    // A zero amplitude or frequency gives the iteration nothing to work with.
    const bool guarded = index <= 1;
    *userStart(index) = SineStartValue(value, SineStartValues[static_cast<std::size_t>(index)], guarded);
    edit->setText(QString::fromStdString(FormatNumberShort(ResultDigits, *userStart(index))).trimmed());
    edit->setModified(false);
}

void SineStartDialog::onIterationsEntered()
{
    SineIterations = SineIterationLimit(iterationsEdit_->text().toStdString());
    iterationsEdit_->setText(QString::number(SineIterations));
    iterationsEdit_->setModified(false);
}

void SineStartDialog::keyPressEvent(QKeyEvent* event)
{
    // Enter goes on to the next field and never presses "OK"; Esc closes as in any dialog.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        focusNextChild();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace kurvex
