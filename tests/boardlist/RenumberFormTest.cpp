// The discovery window against the simulated bus: discovery, identification, renumbering and
// copying new boards into the board lists.
#include "boardlist/RenumberForm.h"

#include "support/SimLink.h"
#include "boards/BoardData.h"
#include "widgets/TabStopDelegate.h"
#include "widgets/DialogSeam.h"
#include "widgets/SpinEdit.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

class RenumberFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TBoardData> Boards;
    QStringList Status;
    QStringList Boxes;

    std::unique_ptr<TRenumberForm> Make(TMessageSender sender, TBoardData* boards)
    {
        TRenumberLinks links;
        links.Send = std::move(sender);
        links.ShowStatus = [this](const QString& text) { Status << text; };
        auto form = std::make_unique<TRenumberForm>(boards, std::move(links), nullptr,
                                                    TProductList(RAILSCOPE_SOURCE_DIR "/data/progdevicelist.csv"));
        DialogSeam().MessageBox = [this](QWidget*, const QString& caption, const QString& text, int, bool) {
            Boxes << caption + QLatin1Char('|') + text;
            return int(QMessageBox::Ok);
        };
        return form;
    }

    // Discovers the boards of the simulated bus; the 5 s of silence that end it are cut short
    // once every board has answered.
    void Discover(TRenumberForm& form, uint32_t expected)
    {
        form.DiscoverButton->click();
        QTRY_COMPARE_WITH_TIMEOUT(form.Discovery().GetRepliesCounted(), expected, 5000);
        QVERIFY(form.TimeoutTimer->isActive());
        QCOMPARE(form.TimeoutTimer->interval(), 5000);
        form.TimeoutTimerTimer();
    }

    static QStringList Serials(const TBoardData& boards, int type)
    {
        QStringList serials;
        for (uint32_t i = 0; i < boards.BoardCount(type); ++i)
            serials << QString::number(boards.GetBoard(type, i)->SerialNumber);
        return serials;
    }

private slots:
    void init()
    {
        Boards = std::make_unique<TBoardData>();
        Status.clear();
        Boxes.clear();
        DialogSeam() = {};
    }

    void StartsIdleWithOnlyDiscoverEnabled()
    {
        auto form = Make({}, Boards.get());
        QCOMPARE(form->windowTitle(), QStringLiteral("Display & Change Board Serial Numbers"));
        QCOMPARE(form->BoardCountEdit->text(), QStringLiteral("0"));
        QCOMPARE(form->SerialNumberEdit->Value(), 1000);
        QCOMPARE(form->SerialNumberEdit->MinValue(), 1);
        QCOMPARE(form->SerialNumberEdit->MaxValue(), 65535);
        QCOMPARE(form->CopyNewBoardsButton->text(), QStringLiteral("Copy new to Configure "));
        QCOMPARE(form->CopyNewBoardsButton->toolTip(),
                 QStringLiteral("Copy newly discovered boards to the Configure Boards window"));
        QVERIFY(form->DiscoverButton->isEnabled());
        QVERIFY(!form->IdentifyButton->isEnabled());
        QVERIFY(!form->RenumberButton->isEnabled());
        QVERIFY(!form->CopyNewBoardsButton->isEnabled());
        QCOMPARE(form->MsgDelayTimer->interval(), 50);
        QCOMPARE(Status, QStringList{"No Address change active"});
        QVERIFY(form->ListLines().isEmpty());
    }

    void HeadingsStandOverTheirColumnsAtTabStops()
    {
        auto form = Make({}, Boards.get());
        form->show();
        form->BoardList->addItems({QStringLiteral("1001\tORB4\tBrenmoor Electronics\tORB4 Signal Controller"),
                                   QStringLiteral("1002\tKPX9\tBrenmoor Electronics\tKPX9 Lever Panel Master")});
        QCoreApplication::processEvents(); // the headings follow the lines once they are in
        const auto* tabs = static_cast<const TTabStopDelegate*>(form->BoardList->itemDelegate());
        const qreal distance = tabs->TabStopDistance();
        const int textLeft = form->BoardList->viewport()->mapTo(form.get(), QPoint(tabs->TextLeft(), 0)).x();
        const QList<QLabel*> headings = form->Headings->Labels();
        QCOMPARE(headings.size(), 4);
        QList<int> x;
        for (const QLabel* heading : headings) {
            x << heading->mapTo(form.get(), QPoint(0, 0)).x();
            const qreal stops = (x.last() - textLeft) / distance;
            QVERIFY2(qAbs(stops - qRound(stops)) * distance <= 1.0, qPrintable(heading->text()));
            QVERIFY(heading->width() >= heading->sizeHint().width());
            if (x.size() > 1)
                QVERIFY2(x.last() > x[x.size() - 2] + headings[x.size() - 2]->sizeHint().width(),
                         qPrintable(heading->text()));
        }
        QCOMPARE(x[0], textLeft);
        // Each heading stands past the widest text of the column before it, where its column starts.
        const QFontMetrics list = form->BoardList->fontMetrics();
        QVERIFY(x[2] >= x[1] + list.horizontalAdvance(QStringLiteral("KPX9")));
        QVERIFY(x[3] >= x[2] + list.horizontalAdvance(QStringLiteral("Brenmoor Electronics")));
        QVERIFY(x[3] < x[2] + list.horizontalAdvance(QStringLiteral("Brenmoor Electronics")) + distance);
    }

    void DiscoversIdentifiesRenumbersAndCopiesTheSimulatedBoards()
    {
        TSimLink link;
        QVERIFY(link.Comm.Enabled());
        Boards->AddBoard(0)->SerialNumber = 1001; // the ORB4 is described already
        auto form = Make(link.Sender(), Boards.get());
        link.Target = form.get();
        form->show();

        form->DiscoverButton->click();
        QCOMPARE(form->ListLines(), QStringList{"Discovering boards on LocoNet (this takes several seconds)....."});
        QCOMPARE(Status.constLast(), QStringLiteral("Discovering....."));
        QVERIFY(!form->DiscoverButton->isEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(form->Discovery().GetRepliesCounted(), 5u, 5000);
        QCOMPARE(form->BoardCountEdit->text(), QStringLiteral("5"));
        QVERIFY(Boxes.isEmpty());
        form->TimeoutTimerTimer(); // five seconds without a reply
        QCOMPARE(Boxes, QStringList{"Discover:|Discovery complete!"});
        QCOMPARE(Status.constLast(), QStringLiteral("No Address change active"));
        QStringList lines = form->ListLines();
        lines.sort();
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines.at(0), QStringLiteral("1001\tORB4\tBrenmoor Electronics\tORB4 Signal Controller"));
        QVERIFY(lines.at(4).startsWith(QStringLiteral("1005\tQXP6\tBrenmoor Electronics\t")));
        QVERIFY(form->IdentifyButton->isEnabled());
        QVERIFY(form->RenumberButton->isEnabled());
        QVERIFY(form->CopyNewBoardsButton->isEnabled());

        // Copy new to Configure adds the four boards not yet described, each to its type.
        form->CopyNewBoardsButton->click();
        QCOMPARE(Serials(*Boards, 0), QStringList{"1001"});
        QCOMPARE(Serials(*Boards, 1), QStringList{"1002"});
        QCOMPARE(Serials(*Boards, 2), QStringList{"1003"});
        QCOMPARE(Serials(*Boards, 3), QStringList{"1004"});
        QCOMPARE(Serials(*Boards, 4), QStringList{"1005"});
        QVERIFY(Boards->IsModified(1));
        // Again: nothing more is added.
        form->CopyNewBoardsButton->click();
        for (int type = 0; type < 5; ++type) QCOMPARE(Boards->BoardCount(type), 1u);

        // Identify the board on the first line.
        Boxes.clear();
        form->BoardList->setCurrentRow(0);
        const QString selectedSerial = form->ListLines().at(0).section('\t', 0, 0);
        form->IdentifyButton->click();
        QCOMPARE(Status.constLast(), QStringLiteral("Identifying target board..."));
        QVERIFY(!form->DiscoverButton->isEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(Boxes, QStringList{"Identify:|Identify successful!"}, 5000);
        QVERIFY(!form->TimeoutTimer->isActive());

        // A number another found board has is refused before anything is sent; so is its own.
        Boxes.clear();
        const int sent = link.Sent;
        form->SerialNumberEdit->SetValue(1003);
        form->RenumberButton->click();
        form->SerialNumberEdit->SetValue(selectedSerial.toInt());
        form->RenumberButton->click();
        QCOMPARE(Boxes, (QStringList{"Error:|New number duplicates a board on LocoNet! Choose a different value",
                                     "Error:|New number duplicates a board on LocoNet! Choose a different value"}));
        QCOMPARE(link.Sent, sent);

        // A free number is given to the board.
        Boxes.clear();
        form->SerialNumberEdit->SetValue(2001);
        form->RenumberButton->click();
        QTRY_COMPARE_WITH_TIMEOUT(Boxes, QStringList{"change address:|Change Address successful. Relabel board now!"},
                                  5000);
        QVERIFY(Status.contains(QStringLiteral("Changing address...")));
        QVERIFY(form->ListLines().at(0).startsWith(QStringLiteral("2001\t")));
        QCOMPARE(form->ListLines().size(), 5);
        // The board lists are not changed by it.
        for (int type = 0; type < 5; ++type) QVERIFY(!Serials(*Boards, type).contains(QStringLiteral("2001")));
    }

    void MessagesWithoutASelectionOrBoards()
    {
        auto form = Make([](std::unique_ptr<TLocoNetMessage>) {}, nullptr);
        form->CopyNewBoardsButtonClick();
        form->IdentifyButtonClick();
        form->RenumberButtonClick();
        QCOMPARE(Boxes,
                 (QStringList{"Error|You need to discover some boards first",
                              "Error:|Select a board in the list first!", "Error:|Select a board in the list first!"}));
    }

    void TimeOutsEndTheConversation()
    {
        TSimLink link;
        auto form = Make(link.Sender(), nullptr);
        link.Target = form.get();
        form->show();
        Discover(*form, 5);
        form->CopyNewBoardsButton->click();
        QCOMPARE(Boxes.constLast(), QStringLiteral("Error|Config Board Pointer is undefined"));

        // No reply in time: the identification ends; a late reply is ignored.
        Boxes.clear();
        form->BoardList->setCurrentRow(2);
        form->IdentifyButton->click();
        form->TimeoutTimerTimer();
        QCOMPARE(Boxes, QStringList{"Timout Error:|Board did not response to Identify message"});
        QVERIFY(form->DiscoverButton->isEnabled());
        QTest::qWait(50);
        QCOMPARE(Boxes.size(), 1);

        // A discovery with no answer at all ends with an empty list.
        TSimLink silent("sim:traffic=off;boards=");
        auto empty = Make(silent.Sender(), Boards.get());
        silent.Target = empty.get();
        Boxes.clear();
        empty->DiscoverButton->click();
        QTest::qWait(50);
        empty->TimeoutTimerTimer();
        QCOMPARE(Boxes, QStringList{"Discover:|Discovery complete!"});
        QVERIFY(empty->ListLines().isEmpty());
        QCOMPARE(empty->BoardCountEdit->text(), QStringLiteral("0"));
        QVERIFY(!empty->IdentifyButton->isEnabled());
        QVERIFY(!empty->CopyNewBoardsButton->isEnabled());
    }

    void ClosingShowsInactive()
    {
        auto form = Make({}, Boards.get());
        form->show();
        QSignalSpy closed(form.get(), &TRenumberForm::FormClosed);
        form->close();
        QCOMPARE(closed.count(), 1);
        QCOMPARE(Status.constLast(), QStringLiteral("(Inactive)"));
    }
};

QTEST_MAIN(RenumberFormTest)
#include "RenumberFormTest.moc"
