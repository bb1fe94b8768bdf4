// The value table "Wertetabelle" of the fitting window.
#include "fitting/ValueTablePanel.h"

#include "core/NumberText.h"
#include "core/PointFiles.h"
#include "lesson/ControlFactory.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QVBoxLayout>

namespace kurvex {

namespace {

constexpr int kRows = static_cast<int>(kMaxTablePoints);
constexpr int kTableDecimals = 6;

// What a committed cell keeps: its value's text, or nothing.
QString normalisedCell(const QString& text)
{
    const auto v = CellValue(text.toStdString());
    return v ? QString::fromStdString(CellText(*v)) : QString();
}

bool isEnter(const QKeyEvent* e)
{
    return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
}

// The in-place editor of a cell: "." types ",", and Enter on an invalid text empties it and stays.
class CellDelegate : public QStyledItemDelegate {
public:
    explicit CellDelegate(ValueTable* table) : QStyledItemDelegate(table), table_(table) {}

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        const auto* edit = qobject_cast<QLineEdit*>(editor);
        if (edit == nullptr) {
            return;
        }
        model->setData(index, normalisedCell(edit->text()), Qt::EditRole);
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        auto* edit = qobject_cast<QLineEdit*>(object);
        if (edit == nullptr || event->type() != QEvent::KeyPress) {
            return QStyledItemDelegate::eventFilter(object, event);
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->text() == QStringLiteral(".")) {
            edit->insert(QStringLiteral(","));
            return true;
        }
        if (!isEnter(key)) {
            return QStyledItemDelegate::eventFilter(object, event);
        }
        if (!edit->text().trimmed().isEmpty() && !CellValue(edit->text().toStdString())) {
            edit->clear();
            return true;
        }
        emit commitData(edit);
        emit closeEditor(edit, QAbstractItemDelegate::NoHint);
        table_->moveAfterEnter();
        return true;
    }

private:
    ValueTable* table_;
};

} // namespace

ValueTable::ValueTable(QWidget* parent) : QTableWidget(kRows, 2, parent)
{
    setObjectName(QStringLiteral("StringGrid1"));
    setToolTip(QStringLiteral("Messwerte eingeben"));
    setHorizontalHeaderLabels({QStringLiteral("         x"), QStringLiteral("         y")});
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(20);
    setEditTriggers(QAbstractItemView::AllEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setItemDelegate(new CellDelegate(this));
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < 2; ++c) {
            setItem(r, c, new QTableWidgetItem);
        }
    }
}

void ValueTable::moveAfterEnter()
{
    const int row = std::max(0, currentRow());
    if (currentColumn() <= 0) {
        setCurrentCell(row, 1);
        return;
    }
    setCurrentCell(row + 1 < rowCount() ? row + 1 : 0, 0);
}

void ValueTable::keyPressEvent(QKeyEvent* event)
{
    if (state() == QAbstractItemView::EditingState) {
        QTableWidget::keyPressEvent(event);
        return;
    }
    if (isEnter(event)) {
        event->accept();
        moveAfterEnter();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Delete:
        if (QTableWidgetItem* cell = currentItem()) {
            cell->setText(QString());
        }
        event->accept();
        return;
    case Qt::Key_Escape:
        // With points that were never saved, Esc here must not close the window.
        event->accept();
        return;
    default:
        break;
    }
    if (event->text() == QStringLiteral(".")) {
        QKeyEvent comma(QEvent::KeyPress, Qt::Key_Comma, event->modifiers(), QStringLiteral(","));
        QTableWidget::keyPressEvent(&comma);
        event->setAccepted(comma.isAccepted());
        return;
    }
    QTableWidget::keyPressEvent(event);
}

ValueTablePanel::ValueTablePanel(QWidget* parent)
    : PlotOverlayPanel(QStringLiteral("Panel4"), QStringLiteral("Label4"), QStringLiteral("Wertetabelle"),
                       parent)
{
    QVBoxLayout* column = this->column();
    table_ = new ValueTable(this);
    // Room for fifteen digits in each column.
    table_->setColumnWidth(0, 150);
    table_->horizontalHeader()->setStretchLastSection(true);
    column->addWidget(table_, 1);
    auto* buttons = new QHBoxLayout;
    auto* clear =
        MakeGlyphButton(QStringLiteral("löschen"), QStringLiteral("SpeedButton25"), {}, this, QSize(70, 24));
    auto* back =
        MakeGlyphButton(QStringLiteral("zurück"), QStringLiteral("SpeedButton13"), {}, this, QSize(70, 24));
    buttons->addWidget(clear);
    buttons->addStretch(1);
    buttons->addWidget(back);
    column->addLayout(buttons);
    connect(clear, &QToolButton::clicked, this, [this] { clearRows(0); });
    connect(back, &QToolButton::clicked, this, &ValueTablePanel::backRequested);
    resize(350, 420);
}

void ValueTablePanel::clearRows(int from)
{
    for (int r = from; r < table_->rowCount(); ++r) {
        table_->item(r, 0)->setText(QString());
        table_->item(r, 1)->setText(QString());
    }
}

void ValueTablePanel::fill(const std::vector<DataPoint>& points)
{
    const int n = std::min(static_cast<int>(points.size()), table_->rowCount());
    const auto cell = [](double v) {
        return QString::fromStdString(FormatNumber(kTableDecimals, v)).remove(QLatin1Char(' '));
    };
    for (int r = 0; r < n; ++r) {
        table_->item(r, 0)->setText(cell(points[static_cast<std::size_t>(r)].x));
        table_->item(r, 1)->setText(cell(points[static_cast<std::size_t>(r)].y));
    }
    clearRows(n);
}

std::vector<DataPoint> ValueTablePanel::rows() const
{
    std::vector<DataPoint> out;
    for (int r = 0; r < table_->rowCount(); ++r) {
        const auto x = CellValue(table_->item(r, 0)->text().toStdString());
        const auto y = CellValue(table_->item(r, 1)->text().toStdString());
        if (x && y) {
            out.push_back({*x, *y});
        }
    }
    return out;
}

void ValueTablePanel::showCentred()
{
    showCentredOnPlot();
    table_->setCurrentCell(0, 0);
    table_->setFocus(Qt::OtherFocusReason);
}

} // namespace kurvex
