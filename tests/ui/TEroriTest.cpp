#include "ui/ColorButton.h"
#include "ui/GradientPanel.h"
#include "ui/TErori.h"
#include "UiTestUtil.h"

#include <QLabel>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFragment>

#include <gtest/gtest.h>

using velmor::ColorButton;
using velmor::TErori;
using velmor::test::whenReady;

namespace {

const QString Bold1 = QString(QChar(1));
const QString Bold2 = QString(QChar(2));
const QString Cr = QString(QChar(13));

struct LineLook {
    QString text;
    bool bold;
    Qt::Alignment alignment;
};

// The lines of a rich text as shown, with their weight and alignment.
std::vector<LineLook> linesOf(const QString& html)
{
    QTextDocument document;
    document.setHtml(html);
    std::vector<LineLook> lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        bool bold = false;
        bool allBold = true;
        bool any = false;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            any = true;
            const bool b = fragment.charFormat().fontWeight() >= QFont::Bold;
            bold = bold || b;
            allBold = allBold && b;
        }
        lines.push_back({block.text(), any && allBold, block.blockFormat().alignment()});
    }
    return lines;
}

std::vector<ColorButton*> buttonsOf(const TErori& d)
{
    return {d.BE1(), d.BE2(), d.BE3(), d.BE4()};
}

// Runs Mesaj and, once the dialog is up with a button focused, lets `answer` act on it.
// A dialog that never gets there fails the test and is closed.
int runMesaj(TErori& d, int kind, int buttons, const std::function<void()>& answer)
{
    whenReady(
        [&d] {
            QWidget* focus = QApplication::focusWidget();
            return d.isVisible() && QApplication::activeModalWidget() == &d && focus
                && qobject_cast<ColorButton*>(focus) && focus->window() == &d;
        },
        answer, [&d] {
            ADD_FAILURE() << "the message dialog did not come up with a focused button";
            d.done(0);
        });
    return d.Mesaj(QStringLiteral("Titlu"), QStringLiteral("Text"), kind, buttons);
}

void expectButtonColours(const ColorButton* b, const TErori::KindLook& look)
{
    EXPECT_EQ(b->faceColor(), look.button);
    EXPECT_EQ(b->pressedColor(), look.pressed);
    EXPECT_EQ(b->hotTrackColor(), look.hotTrack);
    EXPECT_EQ(b->lightColor(), look.light);
    EXPECT_EQ(b->shadowColor(), look.shadow);
}

}

TEST(TErori, FixedLayout)
{
    TErori d;
    EXPECT_EQ(d.size(), QSize(345, 177));
    EXPECT_EQ(d.minimumSize(), d.maximumSize());
    EXPECT_TRUE(d.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(d.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(d.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(d.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(d.titleBand()->geometry(), QRect(0, 0, 345, 49));
    EXPECT_EQ(d.buttonBand()->geometry(), QRect(0, 135, 345, 42));
    EXPECT_EQ(d.EroText()->size(), QSize(313, 65));
    EXPECT_TRUE(d.EroText()->wordWrap());
    EXPECT_EQ(d.EroText()->textFormat(), Qt::RichText);
    EXPECT_EQ(d.Image1()->size(), QSize(32, 32));
    EXPECT_TRUE(d.Label1()->font().bold());
    EXPECT_EQ(d.Label1()->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_FALSE(d.RichEdit1()->isVisibleTo(&d));

    const char* captions[] = {"DA", "NU", "RENUNT", "OK"};
    const char* names[] = {"BE1", "BE2", "BE3", "BE4"};
    auto buttons = buttonsOf(d);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(buttons[i]->objectName(), QString::fromLatin1(names[i]));
        EXPECT_EQ(buttons[i]->text(), QString::fromLatin1(captions[i]));
        EXPECT_EQ(buttons[i]->size(), QSize(73, 25));
        EXPECT_TRUE(buttons[i]->font().bold());
        EXPECT_EQ(buttons[i]->cursor().shape(), Qt::PointingHandCursor);
    }
    EXPECT_EQ(d.findChild<QLabel*>(QStringLiteral("EroText")), d.EroText());
    EXPECT_EQ(d.findChild<QLabel*>(QStringLiteral("Label1")), d.Label1());
}

TEST(TErori, ButtonLeftFormula)
{
    EXPECT_EQ(TErori::buttonLeft(1, 1), 134);
    EXPECT_EQ(TErori::buttonLeft(1, 2), 65);
    EXPECT_EQ(TErori::buttonLeft(2, 2), 203);
    // b = 3: gap (342 - 219) / 4 = 30, truncated.
    EXPECT_EQ(TErori::buttonLeft(1, 3), 30);
    EXPECT_EQ(TErori::buttonLeft(2, 3), 133);
    EXPECT_EQ(TErori::buttonLeft(3, 3), 236);
    EXPECT_EQ(TErori::buttonLeft(1, 4), 10);
    EXPECT_EQ(TErori::buttonLeft(4, 4), 259);
}

// Long sentences widen the dialog instead of leaving a lone word or "!" on a line of its own;
// short ones keep the designed size.
TEST(TErori, GrowsForLongLinesAndKeepsTheDesignedSizeForShortOnes)
{
    const QChar cr(13);
    struct Case {
        QString text;
        bool designed;
    };
    const Case cases[] = {
        {QStringLiteral("Salvare incheiata cu succes !"), true},
        {QStringLiteral("Localitatea MAGURA DE SUS a fost inlocuita cu VALEA LUNGA DE JOS."), false},
        {QStringLiteral("Prin Incarcare, se vor sterge DEFINITIV datele existente") + cr
             + QStringLiteral("si vor fi inlocuite cu cele din salvare !!!") + cr + QStringLiteral("Continuati Restaurarea ?"),
         false},
        {QString(400, QLatin1Char('x')), false},
    };
    for (const Case& c : cases) {
        TErori d;
        d.prepare(QStringLiteral("Titlu"), c.text, 2, 4);
        if (c.designed) {
            EXPECT_EQ(d.size(), QSize(TErori::ClientWidth, TErori::ClientHeight)) << c.text.toStdString();
            continue;
        }
        QFont bold = d.EroText()->font();
        bold.setBold(true);
        const QFontMetrics metrics(bold);
        EXPECT_LE(d.EroText()->width(), TErori::MaxTextWidth) << c.text.toStdString();
        for (const QString& line : c.text.split(cr)) {
            if (metrics.horizontalAdvance(line) < TErori::MaxTextWidth - 16) {
                EXPECT_GE(d.EroText()->width(), metrics.horizontalAdvance(line)) << line.toStdString();
            }
        }
        // Everything stays inside the dialog, the text fully shown.
        const int needed = d.EroText()->heightForWidth(d.EroText()->width());
        EXPECT_GE(d.EroText()->height(), std::min(needed, d.EroText()->height() + 1) - 1);
        EXPECT_TRUE(d.rect().contains(d.EroText()->geometry().translated(d.EroText()->parentWidget()->pos())));
        EXPECT_EQ(d.buttonBand()->geometry().bottom(), d.height() - 1);
    }
}

TEST(TErori, WarningDaNuLayoutAndColours)
{
    TErori d;
    EXPECT_EQ(d.prepare(QStringLiteral("Intrebare"), QStringLiteral("Continuati ?"), 0, 3), 2);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Atentie !"));
    EXPECT_EQ(d.Label1()->text(), QStringLiteral("Intrebare"));
    EXPECT_TRUE(d.BE1()->isVisibleTo(&d));
    EXPECT_TRUE(d.BE2()->isVisibleTo(&d));
    EXPECT_FALSE(d.BE3()->isVisibleTo(&d));
    EXPECT_FALSE(d.BE4()->isVisibleTo(&d));
    EXPECT_EQ(d.BE1()->x(), 65);
    EXPECT_EQ(d.BE2()->x(), 203);
    EXPECT_EQ(d.BE1()->text(), QStringLiteral("DA"));
    EXPECT_EQ(d.BE2()->text(), QStringLiteral("NU"));

    const TErori::KindLook look = TErori::lookOf(0);
    EXPECT_EQ(look.bandFrom, QColor(0xB7, 0xB1, 0x8A));
    EXPECT_EQ(look.bandTo, QColor(0x38, 0x36, 0x23));
    EXPECT_EQ(d.titleBand()->fromColor(), look.bandFrom);
    EXPECT_EQ(d.titleBand()->toColor(), look.bandTo);
    EXPECT_EQ(d.buttonBand()->fromColor(), look.bandFrom);
    EXPECT_EQ(d.buttonBand()->toColor(), look.bandTo);
    for (ColorButton* b : buttonsOf(d))
        expectButtonColours(b, look);
    EXPECT_EQ(d.BE1()->faceColor(), QColor(0x2C, 0x29, 0x1B));
    EXPECT_EQ(d.BE1()->pressedColor(), QColor(0x07, 0x07, 0x05));
    EXPECT_EQ(d.BE1()->hotTrackColor(), QColor(0x73, 0x77, 0x53));
    EXPECT_EQ(d.BE1()->lightColor(), QColor(0xDE, 0xDF, 0xD2));
    EXPECT_EQ(d.BE1()->shadowColor(), QColor(0x00, 0x00, 0x00));
}

TEST(TErori, ErrorOkLayoutAndColours)
{
    TErori d;
    EXPECT_EQ(d.prepare(QStringLiteral("Eroare grava"), QStringLiteral("Ceva"), 1, 4), 1);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Eroare"));
    EXPECT_TRUE(d.BE4()->isVisibleTo(&d));
    EXPECT_FALSE(d.BE1()->isVisibleTo(&d));
    EXPECT_FALSE(d.BE2()->isVisibleTo(&d));
    EXPECT_FALSE(d.BE3()->isVisibleTo(&d));
    EXPECT_EQ(d.BE4()->x(), 134);
    EXPECT_EQ(d.BE4()->text(), QStringLiteral("OK"));
    EXPECT_EQ(d.titleBand()->fromColor(), QColor(0xFF, 0xD5, 0xD5));
    EXPECT_EQ(d.titleBand()->toColor(), QColor(0xFF, 0x00, 0x00));
    EXPECT_EQ(d.BE4()->faceColor(), QColor(0xFF, 0x00, 0x00));
    EXPECT_EQ(d.BE4()->pressedColor(), QColor(0xA6, 0x00, 0x00));
    EXPECT_EQ(d.BE4()->hotTrackColor(), QColor(0xFF, 0x9B, 0x9B));
    EXPECT_EQ(d.BE4()->lightColor(), QColor(0xFF, 0xD9, 0xD9));
    EXPECT_EQ(d.BE4()->shadowColor(), QColor(0xFF, 0xFF, 0xFF));
}

TEST(TErori, InformationAndConfirmationLooks)
{
    TErori d;
    d.prepare(QStringLiteral("t"), QStringLiteral("x"), 2, 4);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Informatie"));
    EXPECT_EQ(d.titleBand()->fromColor(), QColor(0xE1, 0xDE, 0xFA));
    EXPECT_EQ(d.titleBand()->toColor(), QColor(0x00, 0x00, 0xBB));
    expectButtonColours(d.BE4(), {QString(), {}, {}, QColor(0x00, 0x00, 0xFF), QColor(0x00, 0x00, 0x93),
                                  QColor(0x9D, 0x9D, 0xFF), QColor(0xDF, 0xDF, 0xFF), QColor(0xFF, 0xFF, 0xFF)});

    d.prepare(QStringLiteral("t"), QStringLiteral("x"), 3, 3);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Confirmare"));
    EXPECT_EQ(d.buttonBand()->fromColor(), QColor(0x81, 0xA2, 0xD3));
    EXPECT_EQ(d.buttonBand()->toColor(), QColor(0x36, 0x5F, 0x9C));
    expectButtonColours(d.BE1(), {QString(), {}, {}, QColor(0x39, 0x66, 0xA8), QColor(0x00, 0x00, 0x93),
                                  QColor(0x71, 0x96, 0xCE), QColor(0xEC, 0xF1, 0xF9), QColor(0x00, 0x00, 0x00)});
}

TEST(TErori, UndefinedKindLooksLikeError)
{
    TErori d;
    d.prepare(QStringLiteral("t"), QStringLiteral("x"), 1, 4);
    const QImage errorPicture = d.Image1()->pixmap().toImage();
    for (int kind : {5, 4, 255, -1}) {
        d.prepare(QStringLiteral("t"), QStringLiteral("x"), kind, 4);
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Eroare")) << kind;
        EXPECT_EQ(d.titleBand()->fromColor(), QColor(0xFF, 0xD5, 0xD5)) << kind;
        EXPECT_EQ(d.titleBand()->toColor(), QColor(0xFF, 0x00, 0x00)) << kind;
        expectButtonColours(d.BE4(), TErori::lookOf(1));
        EXPECT_EQ(d.Image1()->pixmap().toImage(), errorPicture) << kind;
    }
    d.prepare(QStringLiteral("t"), QStringLiteral("x"), 0, 4);
    EXPECT_NE(d.Image1()->pixmap().toImage(), errorPicture);
}

TEST(TErori, FourButtonsInOrder)
{
    TErori d;
    EXPECT_EQ(d.prepare(QStringLiteral("t"), QStringLiteral("x"), 3, 15), 4);
    EXPECT_EQ(d.BE1()->x(), 10);
    EXPECT_EQ(d.BE2()->x(), 93);
    EXPECT_EQ(d.BE3()->x(), 176);
    EXPECT_EQ(d.BE4()->x(), 259);
    for (ColorButton* b : buttonsOf(d)) {
        EXPECT_TRUE(b->isVisibleTo(&d));
        EXPECT_EQ(b->y(), (42 - 25) / 2);
    }
}

TEST(TErori, TwoButtonsOtherThanDaNu)
{
    TErori d;
    // NU and OK: the visible ones take the first and second slots in BE order.
    EXPECT_EQ(d.prepare(QStringLiteral("t"), QStringLiteral("x"), 1, 2 | 4), 2);
    EXPECT_EQ(d.BE2()->x(), 65);
    EXPECT_EQ(d.BE4()->x(), 203);
    // A later message re-lays the buttons from scratch.
    EXPECT_EQ(d.prepare(QStringLiteral("t"), QStringLiteral("x"), 1, 8), 1);
    EXPECT_EQ(d.BE3()->x(), 134);
    EXPECT_FALSE(d.BE2()->isVisibleTo(&d));
    EXPECT_FALSE(d.BE4()->isVisibleTo(&d));
}

TEST(TErori, NoButtonsReturnsCancelWithoutShowing)
{
    TErori d;
    bool shown = false;
    // Were the dialog shown, this closes it so the test fails instead of hanging.
    whenReady([&d] { return d.isVisible(); }, [&d, &shown] { shown = true; d.done(0); }, 1500);
    EXPECT_EQ(d.Mesaj(QStringLiteral("t"), QStringLiteral("x"), 1, 0), 2);
    EXPECT_FALSE(d.isVisible());
    QTest::qWait(1700);
    EXPECT_FALSE(shown);
    // Flags outside the four buttons count as none.
    EXPECT_EQ(d.Mesaj(QStringLiteral("t"), QStringLiteral("x"), 1, 16 | 32), 2);
    EXPECT_FALSE(d.isVisible());
}

TEST(TErori, ClickingEachButtonGivesItsResult)
{
    TErori d;
    EXPECT_EQ(runMesaj(d, 1, 4, [&d] { QTest::mouseClick(d.BE4(), Qt::LeftButton); }), 1);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(runMesaj(d, 3, 3, [&d] { QTest::mouseClick(d.BE1(), Qt::LeftButton); }), 6);
    EXPECT_EQ(runMesaj(d, 3, 3, [&d] { QTest::mouseClick(d.BE2(), Qt::LeftButton); }), 7);
    EXPECT_EQ(runMesaj(d, 3, 15, [&d] { QTest::mouseClick(d.BE3(), Qt::LeftButton); }), 2);
}

TEST(TErori, EscapeReturnsCancel)
{
    TErori d;
    // Escape sent to the dialog itself.
    EXPECT_EQ(runMesaj(d, 0, 3, [&d] { QTest::keyClick(&d, Qt::Key_Escape); }), 2);
    // Escape while a button has the focus: the dialog sees it first.
    EXPECT_EQ(runMesaj(d, 0, 3, [&d] {
                  d.BE1()->setFocus();
                  QTest::keyClick(d.BE1(), Qt::Key_Escape);
              }),
              2);
    // The result of an earlier message does not carry over.
    EXPECT_EQ(runMesaj(d, 3, 3, [&d] { QTest::mouseClick(d.BE1(), Qt::LeftButton); }), 6);
    EXPECT_EQ(runMesaj(d, 3, 3, [&d] { QTest::keyClick(&d, Qt::Key_Escape); }), 2);
}

TEST(TErori, CloseBoxReturnsCancel)
{
    TErori d;
    EXPECT_EQ(runMesaj(d, 2, 4, [&d] { d.close(); }), 2);
    EXPECT_FALSE(d.isVisible());
}

TEST(TErori, EnterPressesTheFocusedButton)
{
    TErori d;
    // The first visible button has the focus when the dialog opens.
    EXPECT_EQ(runMesaj(d, 3, 3,
                       [&d] {
                           EXPECT_EQ(QApplication::focusWidget(), d.BE1());
                           QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
                       }),
              6);
    EXPECT_EQ(runMesaj(d, 3, 3, [&d] {
                  d.BE2()->setFocus();
                  QTest::keyClick(d.BE2(), Qt::Key_Space);
              }),
              7);
}

TEST(TErori, ShownCentredAndOnTop)
{
    TErori d;
    QRect geometry;
    QRect screenArea;
    EXPECT_EQ(runMesaj(d, 2, 4,
                       [&] {
                           geometry = d.frameGeometry();
                           screenArea = d.screen()->availableGeometry();
                           QTest::mouseClick(d.BE4(), Qt::LeftButton);
                       }),
              1);
    EXPECT_LE(std::abs(geometry.center().x() - screenArea.center().x()), 1);
    EXPECT_LE(std::abs(geometry.center().y() - screenArea.center().y()), 1);
    EXPECT_EQ(d.size(), QSize(345, 177));
}

TEST(TErori, BoldMarkersAndCentredLines)
{
    TErori d;
    d.prepare(QStringLiteral("t"), QStringLiteral("A") + Cr + Bold1 + QStringLiteral("B") + Cr + Bold2 + QStringLiteral("C"), 2, 4);
    for (const QString& html : {d.EroText()->text(), d.RichEdit1()->toHtml()}) {
        const auto lines = linesOf(html);
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(lines[0].text, QStringLiteral("A"));
        EXPECT_EQ(lines[1].text, QStringLiteral("B"));
        EXPECT_EQ(lines[2].text, QStringLiteral("C"));
        EXPECT_FALSE(lines[0].bold);
        EXPECT_TRUE(lines[1].bold);
        EXPECT_FALSE(lines[2].bold);
        for (const auto& line : lines)
            EXPECT_TRUE(line.alignment & Qt::AlignHCenter) << line.text.toStdString();
    }
}

TEST(TErori, BoldLastsUntilTheMarkedLine)
{
    TErori d;
    // Bold from the line with 1 up to the line before the one with 2; a line with both is not bold;
    // only the first marker of a line is taken out.
    const QString text = Bold1 + QStringLiteral("L1") + Cr + QStringLiteral("L2") + Cr + QStringLiteral("L3") + Bold2 + Cr
        + QStringLiteral("L4") + Cr + Bold1 + QStringLiteral("L5") + Bold2 + Cr + QStringLiteral("L6") + Bold1
        + Bold1;
    d.prepare(QStringLiteral("t"), text, 2, 4);
    const auto lines = linesOf(d.EroText()->text());
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_TRUE(lines[0].bold);
    EXPECT_TRUE(lines[1].bold);
    EXPECT_FALSE(lines[2].bold);
    EXPECT_FALSE(lines[3].bold);
    EXPECT_FALSE(lines[4].bold);
    EXPECT_EQ(lines[4].text, QStringLiteral("L5"));
    EXPECT_TRUE(lines[5].bold);
    EXPECT_EQ(lines[5].text, QStringLiteral("L6") + Bold1);
}

TEST(TErori, LineFeedStaysInItsLine)
{
    TErori d;
    d.prepare(QStringLiteral("t"), QStringLiteral("unu\ndoi") + Cr + QStringLiteral("trei"), 2, 4);
    const auto lines = linesOf(d.EroText()->text());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].text.startsWith(QStringLiteral("unu")));
    EXPECT_TRUE(lines[0].text.endsWith(QStringLiteral("doi")));
    EXPECT_EQ(lines[1].text, QStringLiteral("trei"));
}

TEST(TErori, NewMessageReplacesTheBody)
{
    TErori d;
    d.prepare(QStringLiteral("t"), Bold1 + QStringLiteral("vechi") + Cr + QStringLiteral("x"), 2, 4);
    d.prepare(QStringLiteral("t2"), QStringLiteral("nou"), 2, 4);
    const auto lines = linesOf(d.EroText()->text());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, QStringLiteral("nou"));
    EXPECT_FALSE(lines[0].bold);
    EXPECT_EQ(d.Label1()->text(), QStringLiteral("t2"));
}

TEST(TErori, BandsArePaintedWithTheKindGradient)
{
    TErori d;
    d.prepare(QStringLiteral("t"), QStringLiteral("x"), 1, 4);
    const QImage band = d.buttonBand()->grab().toImage();
    const QColor left = band.pixelColor(0, 1);
    const QColor right = band.pixelColor(band.width() - 1, 1);
    EXPECT_NEAR(left.red(), 0xFF, 3);
    EXPECT_NEAR(left.green(), 0xD5, 3);
    EXPECT_NEAR(right.red(), 0xFF, 3);
    EXPECT_NEAR(right.green(), 0x00, 6);
}
