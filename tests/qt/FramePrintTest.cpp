// Printing from the frame: Ctrl+P, the print settings, and what comes out in
// a PDF file, read back with poppler's tools.
#include <gtest/gtest.h>

#include <QDoubleSpinBox>
#include <QFontDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <filesystem>

#include "FrameFixture.h"
#include "dialogs/FontColorDialog.h"
#include "dialogs/PrintDialog.h"
#include "dialogs/PrinterCanvas.h"
#include "dialogs/UpDown.h"

namespace tw::test {
namespace {

QString Poppler(const QString& tool, const QStringList& args) {
    QProcess p;
    p.start(tool, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0) ADD_FAILURE() << tool.toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

int Pages(const std::string& pdf) {
    const QString info = Poppler("pdfinfo", {QString::fromStdString(pdf)});
    return QRegularExpression("Pages:\\s+(\\d+)").match(info).captured(1).toInt();
}

/// The printed lines of one page.
QStringList PageLines(const std::string& pdf, int page) {
    const QString p = QString::number(page);
    QStringList lines = Poppler("pdftotext", {"-f", p, "-l", p, QString::fromStdString(pdf), "-"})
                            .split('\n', Qt::SkipEmptyParts);
    lines.removeAll(QStringLiteral("\f"));
    return lines;
}

struct Word {
    QString text;
    double xMin, yMin, xMax, yMax;
};

std::vector<Word> Words(const std::string& pdf, int page) {
    const QString p = QString::number(page);
    const QString html =
        Poppler("pdftotext", {"-bbox", "-f", p, "-l", p, QString::fromStdString(pdf), "-"});
    static const QRegularExpression word(
        "<word xMin=\"([-\\d.]+)\" yMin=\"([-\\d.]+)\" xMax=\"([-\\d.]+)\" "
        "yMax=\"([-\\d.]+)\">([^<]*)<");
    std::vector<Word> out;
    for (const auto& m : word.globalMatch(html))
        out.push_back({m.captured(5), m.captured(1).toDouble(), m.captured(2).toDouble(),
                       m.captured(3).toDouble(), m.captured(4).toDouble()});
    return out;
}

const Word& Find(const std::vector<Word>& words, const char* text) {
    for (const Word& w : words)
        if (w.text == QString::fromUtf8(text)) return w;
    throw std::runtime_error(std::string("no word ") + text);
}

QImage PageImage(const std::string& pdf, int page, const std::string& out) {
    const QString p = QString::number(page);
    Poppler("pdftoppm", {"-r", "40", "-f", p, "-l", p, "-singlefile", QString::fromStdString(pdf),
                         QString::fromStdString(out)});
    return QImage(QString::fromStdString(out + ".ppm"));
}

class FramePrint : public FrameFixture {
  protected:
    /// A frame whose one document holds `text`, its window active.
    std::unique_ptr<TTarnwickEditor> StartWith(const std::string& text,
                                               std::function<void(OptionData&)> adjust = {}) {
        auto frame = Start(std::move(adjust));
        frame->OpenFile(File("doc.txt", text), false);
        QApplication::setActiveWindow(frame.get());
        frame->ActiveChild()->mmText->setFocus();
        QApplication::processEvents();
        return frame;
    }

    /// Presses Ctrl+P in the active document; `act` works the dialog it shows.
    void PressCtrlP(TTarnwickEditor& frame, std::function<void(TPrintDialog&)> act) {
        bool shown = false;
        QTimer::singleShot(0, &frame, [&] {
            if (auto* d = qobject_cast<TPrintDialog*>(QApplication::activeModalWidget())) {
                shown = true;
                act(*d);
            }
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        });
        QApplication::setActiveWindow(&frame);
        frame.ActiveChild()->mmText->setFocus();
        QTest::keyClick(frame.ActiveChild()->mmText, Qt::Key_P, Qt::ControlModifier);
        EXPECT_TRUE(shown);
    }

    /// Answers the next modal dialog, of type D, with `act` once it is up.
    template <class D>
    static void Answer(std::function<void(D&)> act) {
        QTimer::singleShot(0, [act] {
            auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            act(*d);
        });
    }

    static void PrintTo(TPrintDialog& dialog, const std::string& pdf) {
        dialog.ChoosePdfFile = [pdf](const QString&) { return QString::fromStdString(pdf); };
        dialog.btPrintExecute->click();
    }

    std::string Pdf(const char* name) { return files_.File(name); }
};

TEST_F(FramePrint, CtrlPTakesTheDocumentsFontAndThreeCopiesAreThreeIdenticalSets) {
    auto frame = StartWith("first line\r\nsecond line\r\n", [](OptionData& o) {
        o.FontSize = 11;
        o.FontStyle = kFontBold;
        o.FontColor = 0x0000FF;  // red, as the settings store colours
    });
    const std::string pdf = Pdf("copies.pdf");
    PressCtrlP(*frame, [&](TPrintDialog& d) {
        EXPECT_EQ(d.windowTitle(), "プリント設定");
        EXPECT_EQ(d.lbFont->text(), "FixedSys");
        EXPECT_TRUE(d.lbFont->font().bold());
        EXPECT_EQ(d.edSize->text(), "11");
        EXPECT_EQ(d.lbColor->palette().color(QPalette::Window), QColor(Qt::red));
        QTest::mouseClick(d.btNumUpDown->Down, Qt::LeftButton);
        EXPECT_EQ(d.edPrintNum->text(), "1");  // no wrap below 1
        QTest::mouseClick(d.btNumUpDown->Up, Qt::LeftButton);
        QTest::mouseClick(d.btNumUpDown->Up, Qt::LeftButton);
        EXPECT_EQ(d.edPrintNum->text(), "3");
        PrintTo(d, pdf);
        EXPECT_FALSE(d.isVisible());
    });
    ASSERT_EQ(Pages(pdf), 3);
    const QImage first = PageImage(pdf, 1, Pdf("p1"));
    for (int page = 1; page <= 3; ++page) {
        EXPECT_EQ(PageLines(pdf, page), QStringList({"first line", "second line"})) << page;
        EXPECT_EQ(PageImage(pdf, page, Pdf("p")), first) << page;
    }

    // The copies stay for the next showing; Esc closes without printing.
    std::filesystem::remove(pdf);
    PressCtrlP(*frame, [&](TPrintDialog& d) {
        EXPECT_EQ(d.edPrintNum->text(), "3");
        d.ChoosePdfFile = [pdf](const QString&) { return QString::fromStdString(pdf); };
        QTest::keyClick(&d, Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

TEST_F(FramePrint, LinesBreakAtThePaperNotAtTheWrapColumnAndTabsStopEveryEightCharacters) {
    std::string digits, kana;
    for (int i = 0; i < 30; ++i)
        digits += "0123456789";
    for (int i = 0; i < 60; ++i)
        kana += "\x82\xa0";  // あ
    auto frame =
        StartWith(digits + "\r\n" + kana + "\r\na\tb\r\nabcdefgh\tc\r\nabcdefghijklmnop\r\n");
    ASSERT_TRUE(frame->ActiveChild()->Edit().WordWrap());
    ASSERT_GT(frame->ActiveChild()->Edit().Lines().Count(), 8);  // displayed in wrapped rows
    const std::string pdf = Pdf("layout.pdf");
    PressCtrlP(*frame, [&](TPrintDialog& d) { PrintTo(d, pdf); });

    const QStringList lines = PageLines(pdf, 1);
    // 14-point half-width characters: some 80 to a line of A4's printable width.
    ASSERT_GE(lines.size(), 11);
    EXPECT_GT(lines[0].size(), 72);
    EXPECT_LT(lines[0].size(), 300);
    EXPECT_EQ((lines[0] + lines[1] + lines[2] + lines[3]).toStdString(), digits);
    EXPECT_EQ(lines[3].size(), 300 - 3 * lines[0].size());
    const QString allKana = QString(60, QChar(0x3042));
    EXPECT_EQ(lines[4] + lines[5], allKana);
    EXPECT_EQ(lines[4].size(), lines[0].size() / 2);  // each あ two half-width characters wide

    const std::vector<Word> words = Words(pdf, 1);
    EXPECT_NEAR(Find(words, "b").xMin, Find(words, "abcdefgh").xMax, 0.3);
    EXPECT_NEAR(Find(words, "c").xMin, Find(words, "abcdefghijklmnop").xMax, 0.3);
}

TEST_F(FramePrint, TwentyPointsFromTheFontDialogOnALandscapePageBreakTwoLinesBeforeTheBottom) {
    std::string text;
    for (int i = 1; i <= 100; ++i)
        text += "0000000000 " + std::to_string(1000 + i) + "\r\n";
    auto frame = StartWith(text);
    const std::string pdf = Pdf("pages.pdf");
    PressCtrlP(*frame, [&](TPrintDialog& d) {
        Answer<TFontColorDialog>([](TFontColorDialog& f) {
            QTest::keyClick(f.Fonts, Qt::Key_Escape);
            EXPECT_FALSE(f.isVisible());  // not an empty frame around a closed chooser
            f.reject();
        });
        d.btFont->click();
        EXPECT_EQ(d.edSize->text(), "14");
        Answer<TFontColorDialog>([](TFontColorDialog& f) {
            QFont font(QStringLiteral("IPAGothic"));
            font.setPointSize(20);
            f.SetSelectedFont(font);
            f.SetColor(Qt::red);
            f.accept();
        });
        d.btFont->click();
        EXPECT_EQ(d.edSize->text(), "20");
        EXPECT_EQ(d.lbFont->text(), "IPAGothic");
        Answer<QPageSetupDialog>([](QPageSetupDialog& s) {
            s.findChild<QRadioButton*>("landscape")->click();
            for (const char* margin : {"topMargin", "leftMargin", "rightMargin", "bottomMargin"})
                s.findChild<QDoubleSpinBox*>(margin)->setValue(0);
            s.accept();
        });
        d.btOption->click();
        PrintTo(d, pdf);
    });

    const std::vector<Word> first = Words(pdf, 1);
    const Word& zeros = Find(first, "0000000000");
    EXPECT_NEAR(zeros.xMax - zeros.xMin, 100.0, 0.5);  // ten half-width characters of 20 points
    EXPECT_NEAR(zeros.yMax - zeros.yMin, 20.0, 0.5);
    EXPECT_NEAR(zeros.xMin, 0.0, 0.1);  // no margins left
    const double pitch = Find(first, "1002").yMin - Find(first, "1001").yMin;
    // A landscape A4 page, 595 points high; a new page once y passes the
    // page height less two lines.
    EXPECT_NE(Poppler("pdfinfo", {QString::fromStdString(pdf)}).indexOf("842 x 595"), -1);
    const int perPage = static_cast<int>((595 - 2 * pitch) / pitch) + 1;
    ASSERT_EQ(Pages(pdf), (100 + perPage - 1) / perPage);
    int next = 1001;
    for (int page = 1; page <= Pages(pdf); ++page) {
        const int from = next;
        for (const QString& line : PageLines(pdf, page))
            EXPECT_EQ(line, "0000000000 " + QString::number(next++));
        EXPECT_EQ(next - from, page < Pages(pdf) ? perPage : 100 - (page - 1) * perPage) << page;
    }
    EXPECT_EQ(next, 1101);

    // The text is red.
    const QImage image = PageImage(pdf, 1, Pdf("red"));
    bool red = false;
    for (int y = 0; y < image.height() && !red; ++y)
        for (int x = 0; x < image.width() && !red; ++x) {
            const QColor c = image.pixelColor(x, y);
            red = c.red() > 200 && c.green() < 100 && c.blue() < 100;
        }
    EXPECT_TRUE(red);
}

TEST_F(FramePrint, APrintThatCannotStartLeavesTheDialogOpen) {
    auto frame = StartWith("text\r\n");
    PressCtrlP(*frame, [&](TPrintDialog& d) {
        d.ChoosePdfFile = [](const QString&) { return QString(); };  // the user cancels
        d.btPrintExecute->click();
        EXPECT_TRUE(d.isVisible());
        d.ChoosePdfFile = [this](const QString&) {
            return QString::fromStdString(Pdf("missing-folder/out.pdf"));
        };
        EXPECT_THROW(d.btPrintExecuteClick(), PrinterError);
        EXPECT_TRUE(d.isVisible());
    });
    EXPECT_FALSE(std::filesystem::exists(Pdf("missing-folder")));
}

}  // namespace
}  // namespace tw::test
