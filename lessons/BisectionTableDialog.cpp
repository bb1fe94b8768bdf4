// Bisection step table (TForm14): the replayed steps in a grid and "&Weiter".
#include "lessons/BisectionTableDialog.h"

#include "core/Bisection.h"
#include "core/TermFunction.h"

#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <limits>

namespace kurvex {

namespace {

constexpr int kColumns = 6;
constexpr int kVerdictColumn = 2;

QTableWidgetItem* cell(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    return item;
}

QString number(std::optional<double> value, int decimals)
{
    return QString::fromStdString(BisectionNumber(value, decimals));
}

} // namespace

BisectionTableDialog::BisectionTableDialog(BisectionTableInput input, QWidget* parent)
    : QDialog(parent), input_(std::move(input))
{
    QFont bold = font();
    bold.setBold(true);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 2);
    column->setSpacing(4);

    table_ = new QTableWidget(0, kColumns, this);
    table_->setObjectName(QStringLiteral("StringGrid1"));
    table_->setFont(bold);
    table_->horizontalHeader()->setFont(bold);
    static const std::array<const char*, kColumns> kHeaders{
        "          a", "          b", "          m", "        f(a)", "        f(m)", "      f(a)*f(m)"};
    QStringList headers;
    for (const char* h : kHeaders) {
        headers << QString::fromLatin1(h);
    }
    table_->setHorizontalHeaderLabels(headers);
    // The blanks in front of the headers place them, as they always have.
    for (int c = 0; c < kColumns; ++c) {
        table_->horizontalHeaderItem(c)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    table_->verticalHeader()->hide();
    table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->setFocusPolicy(Qt::NoFocus);
    column->addWidget(table_, 1);

    continueButton_ = new QPushButton(QStringLiteral("&Weiter"), this);
    continueButton_->setObjectName(QStringLiteral("BitBtn2"));
    continueButton_->setFont(bold);
    connect(continueButton_, &QPushButton::clicked, this, &QDialog::accept);
    column->addWidget(continueButton_, 0, Qt::AlignHCenter);

    fillRows();
    fitToRows();
}

void BisectionTableDialog::fillRows()
{
    const BisectionReplay replay =
        ReplayBisection(TermFunction(input_.term), input_.startA, input_.startB, input_.tolerance);
    const int d = input_.decimals;
    for (const BisectionRow& row : replay.rows) {
        const int r = table_->rowCount();
        table_->insertRow(r);
        const std::array<QString, kColumns> texts{number(row.a, d),  number(row.b, d),
                                                  number(row.m, d),  number(row.fa, d),
                                                  number(row.fm, d), number(row.product(), d)};
        for (int c = 0; c < kColumns; ++c) {
            table_->setItem(r, c, cell(texts[static_cast<std::size_t>(c)]));
        }
    }
    if (!replay.verdict.solved) {
        const int r = table_->rowCount();
        table_->insertRow(r);
        table_->setItem(r, kVerdictColumn, cell(QStringLiteral("Keine Lösung!")));
    }
}

int BisectionTableDialog::columnWidth(int c) const
{
    // Fifteen letters wide, as the grid has always been, and wider where a number needs it (the
    // products near a pole run to ten digits before the comma).
    const QFontMetrics metrics(table_->font());
    const int margin = 2 * (table_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table_) + 1);
    int width = metrics.horizontalAdvance(QStringLiteral("AAAAAAAAAAAAAAA"));
    for (int r = 0; r < table_->rowCount(); ++r) {
        if (const QTableWidgetItem* item = table_->item(r, c)) {
            width = std::max(width, metrics.horizontalAdvance(item->text()) + margin);
        }
    }
    return width;
}

void BisectionTableDialog::fitToRows()
{
    const QFontMetrics metrics(table_->font());
    const int rowHeight = metrics.height() + 6;
    table_->horizontalHeader()->setFixedHeight(rowHeight);
    table_->verticalHeader()->setDefaultSectionSize(rowHeight);
    table_->verticalHeader()->setMinimumSectionSize(1);

    const int rows = table_->rowCount();
    const int contentHeight = (rows + 1) * rowHeight + 2 * table_->frameWidth();
    const int buttonHeight = continueButton_->sizeHint().height() + 6;
    // As tall and wide as the rows need, but never beyond the screen: the grid scrolls instead.
    int available = contentHeight + buttonHeight;
    int availableWidth = std::numeric_limits<int>::max();
    if (const QScreen* s = screen()) {
        available = s->availableGeometry().height() * 9 / 10;
        availableWidth = s->availableGeometry().width() * 9 / 10;
    }
    int gridHeight = std::min(contentHeight, available - buttonHeight);
    const bool scrolls = gridHeight < contentHeight;
    int gridWidth =
        2 * table_->frameWidth() + (scrolls ? table_->verticalScrollBar()->sizeHint().width() : 0);
    for (int c = 0; c < kColumns; ++c) {
        table_->setColumnWidth(c, columnWidth(c));
        gridWidth += table_->columnWidth(c);
    }
    if (gridWidth > availableWidth) {
        table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        gridWidth = availableWidth;
        gridHeight = std::min(gridHeight + table_->horizontalScrollBar()->sizeHint().height(),
                              available - buttonHeight);
    }
    table_->setFixedSize(gridWidth, gridHeight);
    setFixedSize(gridWidth, gridHeight + buttonHeight);
}

} // namespace kurvex
