// A table header whose first section carries a check-all box.
#pragma once

#include <QHeaderView>

class TableHeaderView : public QHeaderView {
    Q_OBJECT
public:
    explicit TableHeaderView(Qt::Orientation orientation, QWidget* parent = nullptr);

    bool isChecked() const { return checked_; }
    // Sets the box without emitting checkStateChanged: for pages that mirror their rows into
    // the header (emitting would check or uncheck every row again).
    void setChecked(bool checked);

    // The box in a section rectangle: 14 x 14 unchecked, 15 x 15 checked.
    static QRect boxRect(const QRect& section, bool checked);

signals:
    void checkStateChanged(bool checked);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRect sectionRect(int logicalIndex) const;
    bool checked_ = false;
};
