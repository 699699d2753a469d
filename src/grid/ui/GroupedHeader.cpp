#include "grid/ui/GroupedHeader.h"

#include "grid/EditableGridModel.h"

#include <QPainter>
#include <QStyleOptionHeader>

namespace velmor::grid {

GroupedHeader::GroupedHeader(QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(false);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignCenter);
}

QString GroupedHeader::groupOf(int logicalIndex) const
{
    return model() ? model()->headerData(logicalIndex, Qt::Horizontal, EditableGridModel::GroupRole).toString() : QString();
}

int GroupedHeader::groupLines() const
{
    int lines = 0;
    for (int i = 0; model() && i < model()->columnCount(); ++i) {
        const QString group = groupOf(i);
        if (!group.isEmpty())
            lines = std::max(lines, int(group.count(QLatin1Char('\n'))) + 1);
    }
    return lines;
}

QSize GroupedHeader::sizeHint() const
{
    QSize size = QHeaderView::sizeHint();
    const int line = fontMetrics().height();
    size.setHeight(std::max(size.height(), line * (groupLines() + 1) + 6 + (groupLines() ? 6 : 0)));
    return size;
}

void GroupedHeader::paintSection(QPainter* painter, const QRect& rect, int logical) const
{
    const QString group = groupOf(logical);
    const QString heading = model()->headerData(logical, Qt::Horizontal, Qt::DisplayRole).toString();
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.textAlignment = Qt::AlignCenter;
    option.position = QStyleOptionHeader::Middle;
    if (group.isEmpty()) {
        option.rect = rect;
        option.text = heading;
        style()->drawControl(QStyle::CE_Header, &option, painter, this);
        return;
    }
    const int bandHeight = fontMetrics().height() * groupLines() + 6;
    // The band spans every visual neighbour of the same group.
    int first = visualIndex(logical);
    int last = first;
    while (first > 0 && groupOf(logicalIndex(first - 1)) == group)
        --first;
    while (last + 1 < count() && groupOf(logicalIndex(last + 1)) == group)
        ++last;
    const int left = sectionViewportPosition(logicalIndex(first));
    const int right = sectionViewportPosition(logicalIndex(last)) + sectionSize(logicalIndex(last));
    option.rect = QRect(left, rect.top(), right - left, bandHeight);
    option.text = group;
    style()->drawControl(QStyle::CE_Header, &option, painter, this);
    option.rect = QRect(rect.left(), rect.top() + bandHeight, rect.width(), rect.height() - bandHeight);
    option.text = heading;
    style()->drawControl(QStyle::CE_Header, &option, painter, this);
}

}
