// SPDX-License-Identifier: GPL-3.0-or-later
// The window on its own, with no phone behind any port.
#include "form1.h"
#include "fractionprogressbar.h"
#include "phonebookbackup.h"
#include "phonebooklistmodel.h"
#include "phoneworker.h"
#include "portdirectory.h"
#include "programlook.h"
#include "statusbar.h"
#include "temporaryuserfolders.h"
#include "windowtexts.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

class Form1WindowTest : public QObject {
    Q_OBJECT

public:
    static void initMain() { useTemporaryUserFolders(); }

private slots:
    void initTestCase() { applyProgramLook(); }

    void init()
    {
        m_worker = std::make_unique<PhoneWorker>(std::chrono::milliseconds(200));
        m_ports = std::make_unique<PortDirectory>(QStringList(), QString(), QStringList());
        m_form = std::make_unique<Form1>(*m_worker, *m_ports);
    }
    void cleanup()
    {
        m_form.reset();
        m_ports.reset();
        m_worker.reset();
    }

    void startUpState()
    {
        Form1 &f = *m_form;
        QCOMPARE(f.windowTitle(), QStringLiteral("VELDRANO v 1.5 - by TEVRAN52"));
        QCOMPARE(f.size(), QSize(523, 486));
        QCOMPARE(f.Label1->text(), QString());
        QCOMPARE(f.Text1->text(), QString());
        QCOMPARE(f.Text2->text(), QString());
        QCOMPARE(f.Label7->text(), QStringLiteral("0/0"));
        QCOMPARE(f.Label8->text(), QStringLiteral("0/0"));
        QCOMPARE(f.Label9->text(), QStringLiteral("COM 1:"));
        QCOMPARE(f.StatusBar1->panelText(1), QStringLiteral("DISCONNESSO"));
        QVERIFY(f.StatusBar1->panelText(2).startsWith(QStringLiteral("Visita: ")));
        QCOMPARE(f.StatusBar1->panelText(3), QStringLiteral("ESCI"));
        QCOMPARE(f.vars().RUBSEL(), QStringLiteral("ERROR"));
        QCOMPARE(f.vars().limits.MAXCARNOM, 0);
        QCOMPARE(f.vars().limits.MAXCARNUM, 0);
        QCOMPARE(f.vars().limits.MAXNUMRUB, 0);
        QCOMPARE(f.list1Rows().rowCount(), 0);
        QCOMPARE(f.list2Rows().rowCount(), 0);
        QVERIFY(f.VScroll1->isEnabled());
        QCOMPARE(f.VScroll1->value(), 1);
        QCOMPARE(f.ProgressBar1->valueF(), FractionProgressBar::kMinimum);
        QCOMPARE(f.ProgressBar1->value(), 0);
    }

    void tabOrderFollowsTheDesign()
    {
        Form1 &f = *m_form;
        const QList<QWidget *> expected = {f.Command1, f.Command2, f.List1, f.Command3, f.List2,
                                           f.Command4, f.Command5, f.Command6, f.Text1, f.Text2,
                                           f.Command7, f.Command8, f.Command9, f.VScroll1};
        f.show();
        QApplication::setActiveWindow(&f);
        QVERIFY(QTest::qWaitForWindowActive(&f));
        f.Command1->setFocus();
        for (qsizetype i = 1; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), expected.at(i)->objectName());
        }
    }

    // The button clicked hands its focus on while the operation runs, and
    // has it back once it has ended.
    void focusComesBackAfterAnOperation()
    {
        Form1 &f = *m_form;
        f.show();
        QApplication::setActiveWindow(&f);
        QVERIFY(QTest::qWaitForWindowActive(&f));
        f.Command6->setFocus();
        QTest::keyClick(f.Command6, Qt::Key_Space);
        QCOMPARE(f.StatusBar1->panelText(2), QStringLiteral("ERRORE: RUBRICA NON CARICATA"));
        QCOMPARE(QApplication::focusWidget(), f.Command6);
    }

    void selectorShowsThePortNumber()
    {
        m_form->VScroll1->setValue(10);
        QCOMPARE(m_form->Label9->text(), QStringLiteral("COM 10:"));
        m_form->VScroll1->setValue(3);
        QCOMPARE(m_form->Label9->text(), QStringLiteral("COM 3:"));
    }

    // Each caption, and the longest text an operation puts there, in the
    // font the control shows it in. The selector covers the end of the port
    // label, so its text must end before the selector.
    void textsFitTheirControls_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        const auto row = [](const char *control, const QString &text) {
            QTest::addRow("%s %s", control, qPrintable(text)) << QString::fromLatin1(control) << text;
        };
        row("Command1", WindowText::kOpenClose);
        row("Command2", WindowText::kReadSim);
        row("Command3", WindowText::kWriteSorted);
        row("Command4", WindowText::kLoadList);
        row("Command5", WindowText::kSaveList);
        row("Command6", WindowText::kSort);
        row("Command7", WindowText::kSaveEntry);
        row("Command8", WindowText::kDeleteEntry);
        row("Command9", WindowText::kReadPhone);
        row("Label1", QStringLiteral("1000/1000"));
        row("Label2", WindowText::kPosition);
        row("Label3", WindowText::kText);
        row("Label4", WindowText::kNumber);
        row("Label5", WindowText::kNameCount);
        row("Label6", WindowText::kNumberCount);
        row("Label7", QStringLiteral("40/40"));
        row("Label8", QStringLiteral("80/80"));
        row("Label9", WindowText::portLabel(1));
        row("Label9", WindowText::portLabel(10));
        row("panel1", WindowText::kDisconnected);
        row("panel2", WindowText::kVisitDesign);
        row("panel2", WindowText::kConnectedTo + QStringLiteral("VELDRANO GSM SIMULATOR"));
        row("panel2", QStringLiteral("SCRITTURA RUBRICA CELLULARE IN CORSO"));
        row("panel2", WindowText::kPortBusy);
        row("panel2", WindowText::kPortForbidden);
        row("panel2", WindowText::kPortAbsent);
        row("panel3", WindowText::kExit);
    }
    void textsFitTheirControls()
    {
        QFETCH(QString, control);
        QFETCH(QString, text);
        Form1 &f = *m_form;
        auto *widget = f.findChild<QWidget *>(control);
        QVERIFY(widget);
        QVERIFY(widget->setProperty("text", text));
        const int width = QFontMetrics(widget->font()).horizontalAdvance(text);
        const QRect room = textRoom(widget);
        QVERIFY2(width <= room.width(),
                 qPrintable(QStringLiteral("%1 of %2 pixels").arg(width).arg(room.width())));
        if (widget == f.Label9) {
            const int end = widget->mapTo(&f, room.topLeft()).x() + width;
            QVERIFY2(end < f.VScroll1->x(), qPrintable(QStringLiteral("ends at %1").arg(end)));
        }
    }

    void onlyTheExitPanelEndsTheProgram()
    {
        QSignalSpy finished(m_form.get(), &Form1::finished);
        const QString before = m_form->StatusBar1->panelText(2);
        emit m_form->StatusBar1->panelClicked(1);
        emit m_form->StatusBar1->panelClicked(2);
        QCOMPARE(finished.count(), 0);
        QCOMPARE(m_form->StatusBar1->panelText(2), before);
        emit m_form->StatusBar1->panelClicked(3);
        QCOMPARE(finished.count(), 1);
    }

    void aPortWithNoDeviceFreesTheSelectorAgain()
    {
        m_form->VScroll1->setValue(4);
        QTest::mouseClick(m_form->Command1, Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([this] { return !m_form->isBusy(); }));
        QCOMPARE(m_form->StatusBar1->panelText(1), WindowText::kDisconnected);
        QCOMPARE(m_form->StatusBar1->panelText(2), WindowText::kPortAbsent);
        QVERIFY(m_form->VScroll1->isEnabled());
    }

    // A message longer than its panel is cut with an ellipsis and shown
    // whole in the tooltip; one that fits is shown as it is.
    void longMessageIsShortenedAndWholeInTheTooltip()
    {
        StatusBar &bar = *m_form->StatusBar1;
        const auto *panel = bar.findChild<QLabel *>(QStringLiteral("panel2"));
        const QString whole = WindowText::kConnectedTo
            + QStringLiteral("SIEMENS S55 CON UN NOME DI MODELLO PIU LUNGO DEL PANNELLO");
        bar.setPanelText(2, whole);
        QCOMPARE(bar.panelText(2), whole);
        QVERIFY(panel->text().endsWith(QChar(0x2026)));
        QVERIFY(whole.startsWith(panel->text().chopped(1)));
        QVERIFY(panel->fontMetrics().horizontalAdvance(panel->text()) <= panel->contentsRect().width());
        QCOMPARE(panel->toolTip(), whole);

        bar.setPanelText(2, WindowText::kVisit);
        QCOMPARE(panel->text(), WindowText::kVisit);
        QCOMPARE(panel->toolTip(), QString());
    }

    // Before any read the limits are 0; typing, pasting and code all count,
    // spaces included.
    void countersFollowTheBoxes()
    {
        Form1 &f = *m_form;
        QTest::keyClicks(f.Text1, QStringLiteral("ZIO PINO "));
        QCOMPARE(f.Label7->text(), QStringLiteral("9/0"));
        QGuiApplication::clipboard()->setText(QStringLiteral("+39 06"));
        f.Text2->paste();
        QCOMPARE(f.Label8->text(), QStringLiteral("6/0"));
        f.Text2->setText(QString());
        QCOMPARE(f.Label8->text(), QStringLiteral("0/0"));
    }

    void progressBarStaysInRange_data()
    {
        QTest::addColumn<double>("maximum");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("shown");
        QTest::newRow("half") << 10.0 << 5.0001 << 5000;
        QTest::newRow("beyond the maximum") << 250.0 << 250.1 << 10000;
        QTest::newRow("below the minimum") << 10.0 << 0.0 << 0;
        QTest::newRow("maximum of zero keeps the old one") << 0.0 << 50.0001 << 5000;
    }
    void progressBarStaysInRange()
    {
        QFETCH(double, maximum);
        QFETCH(double, value);
        QFETCH(int, shown);
        FractionProgressBar bar;
        bar.setMaximumF(maximum);
        bar.setValueF(value);
        QCOMPARE(bar.value(), shown);
        QVERIFY(bar.valueF() <= bar.maximumF());
    }

    void fileDialogListsTheBackups()
    {
        // The dialog is modal: looked at once it shows, then cancelled.
        QList<QUrl> places;
        QStringList filters;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            places = dialog->sidebarUrls();
            filters = dialog->nameFilters();
            dialog->reject();
        });
        poll.start(10);

        QTest::mouseClick(m_form->Command4, Qt::LeftButton);

        QVERIFY(places.contains(QUrl::fromLocalFile(backupFolder())));
        QVERIFY(QFileInfo(backupFolder()).isDir());
        QCOMPARE(filters, (QStringList{"*.RDS (*.[Rr][Dd][Ss])", "*.vcf (*.[Vv][Cc][Ff])"}));
        QCOMPARE(m_form->StatusBar1->panelText(2), QStringLiteral("IMPOSSIBILE CARICARE"));
    }

private:
    // Where a control draws its text: a button inside its bevel, a framed
    // label half an "x" in from the frame.
    static QRect textRoom(const QWidget *widget)
    {
        if (const auto *button = qobject_cast<const QPushButton *>(widget)) {
            QStyleOptionButton option;
            option.initFrom(button);
            return button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        }
        QRect room = widget->contentsRect();
        const auto *label = qobject_cast<const QLabel *>(widget);
        if (label && label->frameWidth() > 0 && label->indent() < 0)
            room.setLeft(room.left() + label->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2);
        return room;
    }

    std::unique_ptr<PhoneWorker> m_worker;
    std::unique_ptr<PortDirectory> m_ports;
    std::unique_ptr<Form1> m_form;
};

QTEST_MAIN(Form1WindowTest)
#include "tst_form1window.moc"
