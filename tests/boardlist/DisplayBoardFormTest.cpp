// The board description window: its lines, Copy Text, printing, and saving as rich text.
#include "boardlist/DisplayBoardForm.h"

#include "boards/BoardData.h"
#include "boardlist/ProgramBoardForm.h"
#include "boardlist/RtfWriter.h"
#include "widgets/DialogSeam.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QListWidget>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>

namespace {

// Reads the text of an RTF document back as its paragraphs: enough of the format to read what
// any writer of plain paragraphs produces (groups, destinations, \par, \tab, \uN, \'hh, escapes).
QStringList ParseRtf(const QByteArray& rtf, QString* error)
{
    QStringList lines;
    QString current;
    std::u16string units;
    struct TGroup {
        bool Skip;
        int Uc;
    };
    std::vector<TGroup> groups{{false, 1}};
    int skipFallback = 0;
    auto flushUnits = [&] {
        if (!units.empty()) current += QString::fromUtf16(units.data(), qsizetype(units.size()));
        units.clear();
    };
    auto text = [&](QChar c) {
        if (skipFallback > 0) {
            --skipFallback;
            return;
        }
        if (groups.back().Skip) return;
        flushUnits();
        current += c;
    };
    for (qsizetype i = 0; i < rtf.size();) {
        const char c = rtf[i];
        if (c == '\r' || c == '\n') {
            ++i;
            continue;
        }
        if (c == '{') {
            flushUnits();
            groups.push_back(groups.back());
            ++i;
            continue;
        }
        if (c == '}') {
            flushUnits();
            groups.pop_back();
            if (groups.empty()) break;
            ++i;
            continue;
        }
        if (c != '\\') {
            text(QChar::fromLatin1(c));
            ++i;
            continue;
        }
        ++i;
        if (i >= rtf.size()) {
            *error = "dangling backslash";
            return lines;
        }
        const char s = rtf[i];
        if (s == '\\' || s == '{' || s == '}') {
            text(QChar::fromLatin1(s));
            ++i;
            continue;
        }
        if (s == '\'') {
            const int byte = rtf.mid(i + 1, 2).toInt(nullptr, 16);
            text(QChar(byte)); // only ASCII control characters are written this way
            i += 3;
            continue;
        }
        if (s == '*') {
            groups.back().Skip = true;
            ++i;
            continue;
        }
        qsizetype j = i;
        while (j < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[j]))) ++j;
        const QByteArray word = rtf.mid(i, j - i);
        qsizetype k = j;
        if (k < rtf.size() && (rtf[k] == '-' || std::isdigit(static_cast<unsigned char>(rtf[k])))) ++k;
        while (k < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[k]))) ++k;
        const QByteArray param = rtf.mid(j, k - j);
        if (k < rtf.size() && rtf[k] == ' ') ++k;
        i = k;
        if (word.isEmpty()) {
            *error = "bad control symbol";
            return lines;
        }
        if (word == "fonttbl" || word == "colortbl" || word == "stylesheet" || word == "info")
            groups.back().Skip = true;
        else if (groups.back().Skip)
            continue;
        else if (word == "par") {
            flushUnits();
            lines << current;
            current.clear();
        } else if (word == "tab")
            text(QLatin1Char('\t'));
        else if (word == "uc")
            groups.back().Uc = param.toInt();
        else if (word == "u") {
            int n = param.toInt();
            if (n < 0) n += 65536;
            units.push_back(char16_t(n));
            skipFallback = groups.back().Uc;
        }
    }
    if (!current.isEmpty()) lines << current;
    return lines;
}

} // namespace

class DisplayBoardFormTest : public QObject {
    Q_OBJECT

    QTemporaryDir Dir;
    QStringList Boxes;

    std::unique_ptr<TDisplayBoardForm> Make(const QString& fileAnswer = QString())
    {
        auto form = std::make_unique<TDisplayBoardForm>();
        form->setAttribute(Qt::WA_DeleteOnClose, false);
        DialogSeam().MessageBox = [this](QWidget*, const QString& caption, const QString& text, int, bool) {
            Boxes << caption + QLatin1Char('|') + text;
            return int(QMessageBox::Ok);
        };
        DialogSeam().FileDialog = [fileAnswer](QWidget*, QFileDialog&) { return fileAnswer; };
        return form;
    }

    static std::vector<std::string> DescriptionOfANewBoard(int type)
    {
        TBoardData boards;
        std::vector<std::string> lines;
        boards.AddBoard(type)->DisplayBoard(lines);
        return lines;
    }

private slots:
    void init()
    {
        Boxes.clear();
        DialogSeam() = {};
    }

    void RtfOfPlainAndAwkwardLinesReadsBack()
    {
        const QStringList lines{
            QStringLiteral("Configurable Board Settings: "), QStringLiteral("plain"),
            QStringLiteral("     indented by five"),         QString(),
            QStringLiteral("back\\slash {braces} and\ttab"), QStringLiteral("caf\u00e9 \u20ac \u2603 \U0001D11E end")};
        const std::string rtf = MakeRtfDocument(lines);
        for (const char c : rtf) QVERIFY2(static_cast<unsigned char>(c) < 0x80, "the document is plain ASCII");
        QVERIFY(rtf.rfind("{\\rtf1", 0) == 0);
        QString error;
        QCOMPARE(ParseRtf(QByteArray::fromStdString(rtf), &error), lines);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(QString::fromStdString(RtfEscape(QStringLiteral("a{b}\\"))), QStringLiteral("a\\{b\\}\\\\"));
        QCOMPARE(QString::fromStdString(RtfEscape(QStringLiteral("\u00e9"))), QStringLiteral("\\u233?"));
        QCOMPARE(QString::fromStdString(RtfEscape(QStringLiteral("\uffff"))), QStringLiteral("\\u-1?"));
    }

    void ShowsTheDescriptionBelowTheFirstLineAndSavesItAsRtf()
    {
        const std::vector<std::string> description = DescriptionOfANewBoard(0);
        QVERIFY(description.size() > 3);
        const QString fileName = Dir.filePath("orb4.rtf");
        auto form = Make(fileName);
        QCOMPARE(form->windowTitle(), QStringLiteral("Display Board Settings"));
        QCOMPARE(form->Lines(), QStringList{"Configurable Board Settings: "});
        form->AddLines(description);
        QStringList expected{"Configurable Board Settings: "};
        for (const std::string& line : description) expected << QString::fromStdString(line);
        QCOMPARE(form->Lines(), expected);
        QCOMPARE(form->DisplayList->toPlainText(), expected.join('\n'));
        QVERIFY(form->DisplayList->isReadOnly());
        QCOMPARE(form->SaveDialog->defaultSuffix(), QStringLiteral("rtf"));
        QCOMPARE(form->SaveDialog->nameFilters(), QStringList{"Rich Text files (*.rtf)"});

        form->SaveAs1->trigger();
        QVERIFY(Boxes.isEmpty());
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QString error;
        QCOMPARE(ParseRtf(file.readAll(), &error), expected);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void AFailingSaveIsShown()
    {
        auto form = Make(Dir.filePath("no/such/folder/x.rtf"));
        form->SaveAs1->trigger();
        QCOMPARE(Boxes.size(), 1);
        QVERIFY(Boxes.constFirst().startsWith(QStringLiteral("Display Board Settings|Could not save ")));
        QVERIFY(!QFile::exists(Dir.filePath("no/such/folder/x.rtf")));
    }

    void CopyTextPutsEveryLineOnTheClipboard()
    {
        auto form = Make();
        form->AddLines({"one", "     two"});
        QApplication::clipboard()->clear();
        form->CopyTextButton->click();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Configurable Board Settings: \none\n     two"));
        QVERIFY(!form->DisplayList->textCursor().hasSelection());
        QApplication::clipboard()->clear();
        form->Copy1->trigger();
        QCOMPARE(QApplication::clipboard()->text().count('\n'), 2);
    }

    void PrintsToTheChosenPrinterWithTheDocumentTitle()
    {
        auto form = Make();
        form->AddLines(DescriptionOfANewBoard(4));
        const QString pdf = Dir.filePath("settings.pdf");
        QString docName;
        DialogSeam().Printer = [&](QWidget*, QPrinter& printer) {
            docName = printer.docName();
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        };
        form->PrintTextButton->click();
        QCOMPARE(docName, QStringLiteral("Board Settings"));
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.read(5) == "%PDF-");
        // Cancelling prints nothing.
        QFile::remove(pdf);
        DialogSeam().Printer = [](QWidget*, QPrinter&) { return false; };
        form->Print1->trigger();
        QVERIFY(!QFile::exists(pdf));
    }

    void DisplayBoardOpensBesideTheBoardWindowAndOutlivesIt()
    {
        TBoardData boards;
        boards.AddBoard(3)->Name = "shuttle";
        QWidget frame;
        frame.resize(900, 700);
        TProgramBoardLinks links;
        TDisplayBoardForm* shown = nullptr;
        links.ShowChild = [&](QWidget* form) {
            shown = qobject_cast<TDisplayBoardForm*>(form);
            form->setParent(&frame);
            form->show();
        };
        auto* list = new TProgramBoardForm(boards, std::move(links), &frame);
        list->move(40, 50);
        frame.show();
        list->BoardTabControl->setCurrentIndex(3);
        list->DisplayBoard1->trigger();
        QVERIFY(!shown); // nothing selected
        list->BoardListBox->setCurrentRow(0);
        list->DisplayBoard1->trigger();
        QVERIFY(shown);
        std::vector<std::string> description;
        boards.GetBoardForChange(3, 0)->DisplayBoard(description);
        QCOMPARE(shown->Lines().size(), qsizetype(description.size() + 1));
        QCOMPARE(shown->Lines().at(1), QString::fromStdString(description.front()));
        QCOMPARE(shown->pos(), QPoint(70, 80));
        QPointer<TDisplayBoardForm> display = shown;
        delete list;
        QVERIFY(display);
        display->CloseButton->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!display);
    }
};

QTEST_MAIN(DisplayBoardFormTest)
#include "DisplayBoardFormTest.moc"
