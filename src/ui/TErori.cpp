#include "ui/TErori.h"

#include "ui/ColorButton.h"
#include "ui/GradientPanel.h"
#include "ui/KindPictures.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

#include <algorithm>

namespace velmor {

namespace {

constexpr QRgb BodyGround = 0xE4E4E4;  // light grey behind the text
constexpr QRgb BodyText = 0x800000;    // dark red

struct ButtonDef {
    const char* name;
    const char* caption;
    int flag;
    int result;
};

// In layout order.
constexpr ButtonDef Buttons[4] = {
    {"BE1", "DA", 1, 6},
    {"BE2", "NU", 2, 7},
    {"BE3", "RENUNT", 8, 2},
    {"BE4", "OK", 4, 1},
};

}

TErori::KindLook TErori::lookOf(int kind)
{
    switch (kind) {
    case 0:
        return {QStringLiteral("Atentie !"), QColor(0xB7, 0xB1, 0x8A), QColor(0x38, 0x36, 0x23),
                QColor(0x2C, 0x29, 0x1B), QColor(0x07, 0x07, 0x05), QColor(0x73, 0x77, 0x53),
                QColor(0xDE, 0xDF, 0xD2), QColor(0x00, 0x00, 0x00)};
    case 2:
        return {QStringLiteral("Informatie"), QColor(0xE1, 0xDE, 0xFA), QColor(0x00, 0x00, 0xBB),
                QColor(0x00, 0x00, 0xFF), QColor(0x00, 0x00, 0x93), QColor(0x9D, 0x9D, 0xFF),
                QColor(0xDF, 0xDF, 0xFF), QColor(0xFF, 0xFF, 0xFF)};
    case 3:
        return {QStringLiteral("Confirmare"), QColor(0x81, 0xA2, 0xD3), QColor(0x36, 0x5F, 0x9C),
                QColor(0x39, 0x66, 0xA8), QColor(0x00, 0x00, 0x93), QColor(0x71, 0x96, 0xCE),
                QColor(0xEC, 0xF1, 0xF9), QColor(0x00, 0x00, 0x00)};
    default:
        return {QStringLiteral("Eroare"), QColor(0xFF, 0xD5, 0xD5), QColor(0xFF, 0x00, 0x00),
                QColor(0xFF, 0x00, 0x00), QColor(0xA6, 0x00, 0x00), QColor(0xFF, 0x9B, 0x9B),
                QColor(0xFF, 0xD9, 0xD9), QColor(0xFF, 0xFF, 0xFF)};
    }
}

int TErori::buttonLeft(int j, int count, int width)
{
    const int gap = (width - 3 - ButtonWidth * count) / (count + 1);
    return j * (gap + ButtonWidth) - ButtonWidth;
}

TErori::TErori(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint
                          | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Erori"));
    setModal(true);
    setFixedSize(ClientWidth, ClientHeight);
    setSizeGripEnabled(false);

    m_titleBand = new GradientPanel(this);
    m_titleBand->setObjectName(QStringLiteral("PanelTitlu"));
    m_titleBand->setGeometry(0, 0, ClientWidth, TitleBandHeight);

    m_image = new QLabel(m_titleBand);
    m_image->setObjectName(QStringLiteral("Image1"));
    m_image->setGeometry(10, (TitleBandHeight - 32) / 2, 32, 32);

    m_label1 = new QLabel(m_titleBand);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setGeometry(52, 0, ClientWidth - 60, TitleBandHeight);
    m_label1->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    m_label1->setTextFormat(Qt::PlainText);
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setBold(true);
    titleFont.setPixelSize(16);
    m_label1->setFont(titleFont);
    QPalette titlePalette = m_label1->palette();
    titlePalette.setColor(QPalette::WindowText, Qt::white);
    m_label1->setPalette(titlePalette);

    const int bodyHeight = ClientHeight - TitleBandHeight - ButtonBandHeight;
    m_body = new GradientPanel(this);
    m_body->setObjectName(QStringLiteral("PanelCorp"));
    m_body->setGeometry(0, TitleBandHeight, ClientWidth, bodyHeight);
    m_body->setDirection(GradientPanel::Direction::Vertical);
    m_body->setColors(Qt::white, QColor(BodyGround));

    m_eroText = new QLabel(m_body);
    m_eroText->setObjectName(QStringLiteral("EroText"));
    m_eroText->setGeometry((ClientWidth - 313) / 2, (bodyHeight - 65) / 2, 313, 65);
    m_eroText->setWordWrap(true);
    m_eroText->setTextFormat(Qt::RichText);
    m_eroText->setAlignment(Qt::AlignCenter);
    m_eroText->setAutoFillBackground(true);
    QPalette bodyPalette = m_eroText->palette();
    bodyPalette.setColor(QPalette::Window, QColor(BodyGround));
    bodyPalette.setColor(QPalette::WindowText, QColor(BodyText));
    m_eroText->setPalette(bodyPalette);

    m_buttonBand = new GradientPanel(this);
    m_buttonBand->setObjectName(QStringLiteral("PanelButoane"));
    m_buttonBand->setGeometry(0, ClientHeight - ButtonBandHeight, ClientWidth, ButtonBandHeight);

    for (int i = 0; i < 4; ++i) {
        const ButtonDef& def = Buttons[i];
        auto* button = new ColorButton(QString::fromLatin1(def.caption), m_buttonBand);
        button->setObjectName(QString::fromLatin1(def.name));
        button->setAutoDefault(false);
        button->setGeometry(buttonLeft(i + 1, 4), (ButtonBandHeight - ButtonHeight) / 2, ButtonWidth,
                            ButtonHeight);
        button->setVisible(false);
        button->installEventFilter(this);
        const int result = def.result;
        connect(button, &QPushButton::clicked, this, [this, result] { buttonClicked(result); });
        m_buttons[i] = button;
    }

    m_richEdit = new QTextEdit(this);
    m_richEdit->setObjectName(QStringLiteral("RichEdit1"));
    m_richEdit->setVisible(false);

    applyKind(1);
}

int TErori::prepare(const QString& title, const QString& text, int kind, int buttons)
{
    m_result = 2;
    m_label1->setText(title);
    fitToText(composeBody(text));
    applyKind(kind);

    int visible = 0;
    for (int i = 0; i < 4; ++i) {
        const bool on = (buttons & Buttons[i].flag) != 0;
        m_buttons[i]->setVisible(on);
        if (on)
            ++visible;
    }
    if (visible == 0)
        return 0;

    int j = 0;
    for (ColorButton* button : m_buttons) {
        if (button->isVisibleTo(this)) {
            ++j;
            button->move(buttonLeft(j, visible, width()), button->y());
        }
    }
    return visible;
}

int TErori::Mesaj(const QString& title, const QString& text, int kind, int buttons)
{
    if (prepare(title, text, kind, buttons) == 0)
        return m_result;
    exec();
    return m_result;
}

QStringList TErori::composeBody(const QString& text)
{
    QStringList shown;
    m_richEdit->clear();
    QTextDocument* document = m_richEdit->document();
    QTextCursor cursor(document);

    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);

    bool bold = false;
    const QStringList lines = text.split(QChar(13));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        int at = line.indexOf(QChar(1));
        if (at >= 0) {
            line.remove(at, 1);
            bold = true;
        }
        at = line.indexOf(QChar(2));
        if (at >= 0) {
            line.remove(at, 1);
            bold = false;
        }
        // A line feed stays inside its line: it breaks the line without starting a paragraph.
        line.replace(QChar(10), QChar::LineSeparator);

        shown << line.split(QChar::LineSeparator);
        if (i > 0)
            cursor.insertBlock();
        cursor.setBlockFormat(centred);
        QTextCharFormat format;
        format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
        cursor.setBlockCharFormat(format);
        cursor.insertText(line, format);
    }

    m_eroText->setText(document->toHtml());
    return shown;
}

void TErori::fitToText(const QStringList& lines)
{
    constexpr int DesignedTextWidth = 313;
    constexpr int DesignedTextHeight = 65;
    QFont bold = m_eroText->font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    int widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const int textWidth = std::clamp(widest + 16, DesignedTextWidth, MaxTextWidth);
    int textHeight = 0;
    for (const QString& line : lines)
        textHeight += metrics.boundingRect(QRect(0, 0, textWidth - 8, 100000), Qt::TextWordWrap, line.isEmpty() ? QStringLiteral(" ") : line).height();
    textHeight = std::max(DesignedTextHeight, textHeight + 8);

    const int width = ClientWidth + textWidth - DesignedTextWidth;
    const int bodyHeight = ClientHeight - TitleBandHeight - ButtonBandHeight + textHeight - DesignedTextHeight;
    const int height = TitleBandHeight + bodyHeight + ButtonBandHeight;
    setFixedSize(width, height);
    m_titleBand->setGeometry(0, 0, width, TitleBandHeight);
    m_label1->setGeometry(52, 0, width - 60, TitleBandHeight);
    m_body->setGeometry(0, TitleBandHeight, width, bodyHeight);
    m_eroText->setGeometry((width - textWidth) / 2, (bodyHeight - textHeight) / 2, textWidth, textHeight);
    m_buttonBand->setGeometry(0, height - ButtonBandHeight, width, ButtonBandHeight);
    for (ColorButton* button : m_buttons)
        button->move(button->x(), (ButtonBandHeight - ButtonHeight) / 2);
}

void TErori::applyKind(int kind)
{
    m_kind = kind;
    const KindLook look = lookOf(kind);
    setWindowTitle(look.caption);
    const QPixmap picture = kindPicture(kind);
    m_image->setPixmap(picture);
    setWindowIcon(QIcon(picture));
    m_titleBand->setColors(look.bandFrom, look.bandTo);
    m_buttonBand->setColors(look.bandFrom, look.bandTo);
    for (ColorButton* button : m_buttons)
        button->setColors(look.button, look.pressed, look.hotTrack, look.light, look.shadow);
}

void TErori::buttonClicked(int result)
{
    m_result = result;
    done(result);
}

void TErori::reject()
{
    QDialog::done(m_result);
}

void TErori::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (QScreen* s = screen()) {
        const QRect area = s->availableGeometry();
        const QSize outer = frameGeometry().size();
        move(area.center() - QPoint(outer.width() / 2, outer.height() / 2));
    }
    for (ColorButton* button : m_buttons) {
        if (button->isVisible()) {
            button->setFocus(Qt::ActiveWindowFocusReason);
            break;
        }
    }
}

bool TErori::eventFilter(QObject* watched, QEvent* event)
{
    // The dialog sees key presses before its buttons: Escape always closes it.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            reject();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}
