#include "gui/iec61850/data_array_view.h"

#include "core/app/app_context.h"
#include "core/iec61850/variable_table.h"
#include "core/lang/text_ids.h"
#include "gui/common/look.h"

#include <QHelpEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QToolTip>
#include <QVBoxLayout>

namespace mirandel {

namespace {

const QColor kOverlap(220, 40, 40);
const QColor kFree(255, 255, 255);
const QColor kLines(200, 200, 190);

constexpr int bitWidth = DataArrayGrid::Cell_Width / 8;

// The slice of a byte cell that bit `bit` takes: bit 7 on the left.
QRect bitRect(const QRect &cell, int bit)
{
    const int b = qBound(0, bit, 7);
    return QRect(cell.left() + (7 - b) * bitWidth, cell.top(), bitWidth, cell.height());
}

} // namespace

DataArrayGrid::DataArrayGrid(const TextTable &texts, QWidget *parent)
    : QWidget(parent)
    , m_texts(texts)
{
    setObjectName(QStringLiteral("DataArrayGrid"));
    setMouseTracking(true);
    setFont(programFont(10));
    m_overlap.resize(NByte_IN);
    setFixedSize(sizeHint());
}

QSize DataArrayGrid::sizeHint() const
{
    const int rows = (NByte_IN + Bytes_Per_Row - 1) / Bytes_Per_Row;
    return {Label_Width + Bytes_Per_Row * Cell_Width + 1, rows * Cell_Height + 1};
}

QColor DataArrayGrid::rowColour(int row)
{
    // Hues a golden angle apart, so neighbouring rows never look alike.
    return QColor::fromHsv((row * 137 + 200) % 360, 110, 235);
}

void DataArrayGrid::setMap(const DataArrayMap &map)
{
    m_map = map;
    m_overlap.fill(false);
    for (const MapProblem &p : m_map.problems) {
        if (p.kind != MapProblem::Overlap)
            continue;
        for (int b = p.first; b <= p.last && b < NByte_IN; ++b)
            m_overlap[b] = true;
    }
    update();
}

QRect DataArrayGrid::byteRect(int byte) const
{
    return QRect(Label_Width + (byte % Bytes_Per_Row) * Cell_Width, (byte / Bytes_Per_Row) * Cell_Height, Cell_Width,
                 Cell_Height);
}

int DataArrayGrid::byteAt(const QPoint &pos) const
{
    if (pos.x() < Label_Width || pos.y() < 0)
        return -1;
    const int column = (pos.x() - Label_Width) / Cell_Width;
    const int byte = (pos.y() / Cell_Height) * Bytes_Per_Row + column;
    return column < Bytes_Per_Row && byte < NByte_IN ? byte : -1;
}

const VariableSpan *DataArrayGrid::spanAt(const QPoint &pos) const
{
    const int byte = byteAt(pos);
    if (byte < 0)
        return nullptr;
    const QRect cell = byteRect(byte);
    const VariableSpan *bitSpan = nullptr;
    for (const VariableSpan *span : m_map.at(byte)) {
        if (!span->isBit())
            return span;
        if (!bitSpan && bitRect(cell, span->bit).contains(pos))
            bitSpan = span;
    }
    return bitSpan;
}

QString DataArrayGrid::byteText(int byte) const
{
    const QList<const VariableSpan *> spans = m_map.at(byte);
    if (spans.isEmpty())
        return m_texts.text(Text_Map_Free).arg(byte);
    QStringList lines;
    for (const VariableSpan *span : spans) {
        QString line = m_texts.text(Text_Map_Byte_Row).arg(byte).arg(span->row + 1).arg(span->name);
        if (span->isBit())
            line += QStringLiteral(", ") + m_texts.text(Text_Map_Bit).arg(span->bit);
        lines.append(line);
    }
    for (const MapProblem &p : m_map.problems) {
        if (p.kind == MapProblem::Overlap && p.first <= byte && byte <= p.last)
            lines.append(m_texts.text(Text_Map_Overlap).arg(p.otherRow + 1).arg(p.row + 1).arg(byte));
    }
    return lines.join(QLatin1Char('\n'));
}

bool DataArrayGrid::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const int byte = byteAt(help->pos());
        if (byte >= 0)
            QToolTip::showText(help->globalPos(), byteText(byte), this, byteRect(byte));
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void DataArrayGrid::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    painter.setPen(kGreyText);
    for (int first = 0; first < NByte_IN; first += Bytes_Per_Row) {
        const QRect label(0, (first / Bytes_Per_Row) * Cell_Height, Label_Width - 4, Cell_Height);
        painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter, QString::number(first));
    }
    for (int byte = 0; byte < NByte_IN; ++byte) {
        const QRect cell = byteRect(byte);
        painter.fillRect(cell, kFree);
        if (m_overlap[byte]) {
            painter.fillRect(cell, kOverlap);
        } else {
            for (const VariableSpan *span : m_map.at(byte))
                painter.fillRect(span->isBit() ? bitRect(cell, span->bit) : cell, rowColour(span->row));
        }
        painter.setPen(kLines);
        painter.drawRect(cell.adjusted(0, 0, 0, 0));
    }
    // The first byte of each variable carries its row number.
    painter.setPen(Qt::black);
    for (const VariableSpan &span : m_map.spans) {
        if (span.first < NByte_IN && !span.isBit())
            painter.drawText(byteRect(span.first), Qt::AlignCenter, QString::number(span.row + 1));
    }
}

void DataArrayGrid::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        if (const VariableSpan *span = spanAt(event->position().toPoint()))
            emit variableClicked(span->row);
    }
    QWidget::mousePressEvent(event);
}

DataArrayView::DataArrayView(AppContext &context, Prompter &prompter, QWidget *parent)
    : BaseDialog(context, prompter, parent)
{
    setObjectName(QStringLiteral("FDataArrayMap"));
    setModal(false);
    auto *body = new QWidget(this);
    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(8, 4, 8, 4);
    m_grid = new DataArrayGrid(context.texts, body);
    auto *scroll = new QScrollArea(body);
    scroll->setWidget(m_grid);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setMinimumWidth(m_grid->width() + 24);
    layout->addWidget(scroll, 1);
    m_summary = new QLabel(body);
    m_summary->setObjectName(QStringLiteral("L_Map_Summary"));
    m_summary->setWordWrap(true);
    m_summary->setTextFormat(Qt::PlainText);
    layout->addWidget(m_summary);
    setContent(body);

    Btn_Close = buttonBand()->addButton(QStringLiteral("Btn_Close"), 16);
    Btn_Close->setAutoDefault(false);
    connect(Btn_Close, &QPushButton::clicked, this, &QDialog::close);
    connect(m_grid, &DataArrayGrid::variableClicked, this, &DataArrayView::variableClicked);
    resize(m_grid->width() + 40, 560);
    Set_Lang();
}

void DataArrayView::Set_Lang()
{
    setWindowTitle(m_context.text(Text_Map_Title));
    titleBand()->descLabel()->setText(m_context.text(Text_Map_Title));
    titleBand()->descLabel()->adjustSize();
    Btn_Close->setText(m_context.text(Text_Map_Close));
    updateSummary();
}

void DataArrayView::setMap(const DataArrayMap &map)
{
    m_grid->setMap(map);
    updateSummary();
}

void DataArrayView::updateSummary()
{
    const DataArrayMap &map = m_grid->map();
    int used = 0;
    for (int byte = 0; byte < NByte_IN; ++byte)
        used += map.at(byte).isEmpty() ? 0 : 1;
    QStringList lines = {m_context.text(Text_Map_In_Use).arg(used).arg(NByte_IN)};
    for (const MapProblem &p : map.problems) {
        switch (p.kind) {
        case MapProblem::Overlap:
            lines.append(m_context.text(Text_Map_Overlap).arg(p.otherRow + 1).arg(p.row + 1).arg(p.first));
            break;
        case MapProblem::PastEnd:
            lines.append(m_context.text(Text_Map_Past_End).arg(p.row + 1));
            break;
        case MapProblem::DuplicateName:
            lines.append(m_context.text(Text_Map_Same_Name).arg(p.otherRow + 1).arg(p.row + 1));
            break;
        }
    }
    m_summary->setText(lines.join(QLatin1Char('\n')));
    m_summary->setStyleSheet(map.problems.isEmpty() ? QString() : QStringLiteral("color: rgb(200,0,0)"));
}

} // namespace mirandel
