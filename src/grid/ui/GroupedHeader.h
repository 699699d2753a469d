#pragma once

#include <QHeaderView>

namespace velmor::grid {

// A horizontal header whose adjacent columns with the same group heading (the model's GroupRole)
// share one band above their own headings.
class GroupedHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit GroupedHeader(QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logical) const override;

private:
    QString groupOf(int logicalIndex) const;
    int groupLines() const;
};

}
