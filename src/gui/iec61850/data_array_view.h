#pragma once
// The map of the internal data array: the NByte_IN bytes in rows of 32, each
// enabled variable in its own colour (a bit variable in its bit's slice of
// the byte), overlapping bytes in red, free bytes plain. Hovering a byte names
// what sits there; clicking a variable asks for its row to be selected.
//
// DataArrayGrid only draws the DataArrayMap it is given; DataArrayView is the
// window around it, with the number of bytes in use and the problems below.
// The variable editor owns the window and gives it a new map whenever its
// table changes, saved or not.

#include "core/iec61850/data_array_map.h"
#include "gui/common/dialog_chrome.h"

#include <QWidget>

class QLabel;

namespace mirandel {

class TextTable;

class DataArrayGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int Bytes_Per_Row = 32;
    static constexpr int Cell_Width = 24; // 3 pixels per bit
    static constexpr int Cell_Height = 18;
    static constexpr int Label_Width = 44;

    DataArrayGrid(const TextTable &texts, QWidget *parent = nullptr);

    void setMap(const DataArrayMap &map);
    const DataArrayMap &map() const { return m_map; }

    // The cell of `byte`, and the byte under `pos` (-1 outside the cells).
    QRect byteRect(int byte) const;
    int byteAt(const QPoint &pos) const;
    // The span drawn under `pos`: a bit variable only over its own slice.
    const VariableSpan *spanAt(const QPoint &pos) const;
    // True when two variables share `byte`.
    bool isOverlap(int byte) const { return m_overlap.value(byte); }
    // The colour of the variable of data row `row`.
    static QColor rowColour(int row);
    // What the tooltip over `byte` says.
    QString byteText(int byte) const;

    QSize sizeHint() const override;

signals:
    void variableClicked(int row);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    const TextTable &m_texts;
    DataArrayMap m_map;
    QList<bool> m_overlap; // per byte
};

class DataArrayView : public BaseDialog {
    Q_OBJECT
public:
    DataArrayView(AppContext &context, Prompter &prompter, QWidget *parent = nullptr);

    void Set_Lang() override;
    void setMap(const DataArrayMap &map);
    DataArrayGrid *grid() const { return m_grid; }

signals:
    void variableClicked(int row);

private:
    void updateSummary();

    DataArrayGrid *m_grid;
    QLabel *m_summary;
    FlatButton *Btn_Close;
};

} // namespace mirandel
