#include "output/ui/ExportClipboard.h"

#include "output/ExportWriters.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace velmor::output {

void copyToClipboard(const ExportTable& table)
{
    auto* data = new QMimeData;
    data->setText(writers::delimitedText(table, QLatin1Char('\t'), nullptr));
    data->setHtml(QString::fromUtf8(writers::html(table, nullptr)));
    QGuiApplication::clipboard()->setMimeData(data);
}

}
