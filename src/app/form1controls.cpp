// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the window's controls with their design-time properties. Positions
// come in twips from the top left corner of the client area, 15 to a pixel.
#include "form1.h"

#include "phonebooklistmodel.h"

#include "fractionprogressbar.h"
#include "portdirectory.h"
#include "separatordelegate.h"
#include "spinscrollbar.h"
#include "statusbar.h"
#include "windowtexts.h"

#include <QAction>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

namespace {

constexpr int kTwipsPerPixel = 15;
constexpr int kClientWidth = 7845;
constexpr int kClientHeight = 7290;

QRect twips(int left, int top, int width, int height)
{
    return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel,
                 width / kTwipsPerPixel, height / kTwipsPerPixel);
}

template <typename W>
W *place(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *widget = new W(parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    return widget;
}

QPushButton *button(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *b = place<QPushButton>(parent, name, geometry);
    b->setText(text);
    b->setAutoDefault(false);
    return b;
}

QLabel *label(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *l = place<QLabel>(parent, name, geometry);
    l->setText(text);
    l->setTextFormat(Qt::PlainText);
    return l;
}

// The lists need a fixed-pitch font so that the fields of the lines stand
// in columns.
QFont listFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Terminal"), QStringLiteral("DejaVu Sans Mono"),
                      QStringLiteral("Monospace")});
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(8);
    return font;
}

QListView *list(QWidget *parent, const char *name, PhonebookListModel *model, const QRect &geometry)
{
    auto *view = place<QListView>(parent, name, geometry);
    view->setModel(model);
    view->setFont(listFont());
    view->setItemDelegate(new SeparatorDelegate(view));
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setUniformItemSizes(true);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    return view;
}

// An item of a list's context menu; its shortcut works while the list
// has the focus.
QAction *menuItem(QListView *list, const char *name, const QString &text)
{
    auto *action = new QAction(text, list);
    action->setObjectName(QLatin1String(name));
    action->setShortcutContext(Qt::WidgetShortcut);
    list->addAction(action);
    return action;
}

}

void Form1::createControls()
{
    setWindowTitle(WindowText::kCaption);
    setFixedSize(kClientWidth / kTwipsPerPixel, kClientHeight / kTwipsPerPixel);

    m_list1 = new PhonebookListModel(PhonebookListModel::Duplicates::Unmarked, this);
    m_list2 = new PhonebookListModel(PhonebookListModel::Duplicates::Marked, this);

    Command1 = button(this, "Command1", WindowText::kOpenClose, twips(60, 60, 6375, 495));
    Command2 = button(this, "Command2", WindowText::kReadSim, twips(90, 630, 3855, 390));
    List1 = list(this, "List1", m_list1, twips(60, 1080, 7755, 1650));
    Command3 = button(this, "Command3", WindowText::kWriteSorted, twips(3960, 6060, 3855, 375));
    ProgressBar1 = place<FractionProgressBar>(this, "ProgressBar1", twips(60, 6480, 7755, 315));
    List2 = list(this, "List2", m_list2, twips(60, 3240, 7755, 1650));
    List2->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List2->setContextMenuPolicy(Qt::ActionsContextMenu);
    mnuDoppioni = menuItem(List2, "mnuDoppioni", WindowText::kDropDuplicates);
    mnuTogli = menuItem(List2, "mnuTogli", WindowText::kRemoveFromList);
    mnuTogli->setShortcut(QKeySequence::Delete);
    mnuAggiungi = menuItem(List2, "mnuAggiungi", WindowText::kAddList);
    StatusBar1 = new StatusBar({1440 / kTwipsPerPixel, 4905 / kTwipsPerPixel, 1440 / kTwipsPerPixel}, this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setGeometry(twips(0, 6855, 7845, 435));
    StatusBar1->setPanelText(1, WindowText::kDisconnected);
    StatusBar1->setPanelText(2, WindowText::kVisitDesign);
    StatusBar1->setPanelText(3, WindowText::kExit);
    Command4 = button(this, "Command4", WindowText::kLoadList, twips(5040, 5040, 2775, 375));
    Command5 = button(this, "Command5", WindowText::kSaveList, twips(5040, 5520, 2775, 435));
    Command6 = button(this, "Command6", WindowText::kSort, twips(60, 2820, 7755, 375));
    Label1 = label(this, "Label1", WindowText::kPositionDesign, twips(1080, 4995, 2775, 255));
    Label1->setAutoFillBackground(true);
    Label1->setBackgroundRole(QPalette::Base);
    Label1->setForegroundRole(QPalette::Text);
    Label2 = label(this, "Label2", WindowText::kPosition, twips(120, 5040, 915, 195));
    Label3 = label(this, "Label3", WindowText::kText, twips(420, 5340, 585, 195));
    Text1 = place<QLineEdit>(this, "Text1", twips(1080, 5295, 2775, 285));
    Text1->setText(QStringLiteral("Text1"));
    Label4 = label(this, "Label4", WindowText::kNumber, twips(240, 5700, 765, 195));
    Text2 = place<QLineEdit>(this, "Text2", twips(1080, 5655, 2775, 285));
    Text2->setText(QStringLiteral("Text2"));
    Command7 = button(this, "Command7", WindowText::kSaveEntry, twips(120, 6060, 1695, 375));
    Command8 = button(this, "Command8", WindowText::kDeleteEntry, twips(1860, 6060, 1995, 375));
    Label5 = label(this, "Label5", WindowText::kNameCount, twips(3900, 5340, 375, 195));
    Label6 = label(this, "Label6", WindowText::kNumberCount, twips(3900, 5700, 420, 195));
    // The counters reach to the load and save buttons, so that "11/14"
    // is read whole.
    Label7 = label(this, "Label7", WindowText::kCounterDesign, twips(4320, 5340, 720, 195));
    Label8 = label(this, "Label8", WindowText::kCounterDesign, twips(4320, 5700, 720, 195));
    Command9 = button(this, "Command9", WindowText::kReadPhone, twips(4005, 630, 3810, 390));
    Label9 = label(this, "Label9", WindowText::portLabel(1), twips(6510, 210, 1185, 225));
    // The selector covers the end of the label; in Times New Roman, or
    // Liberation Serif with the same widths, "COM 10:" just ends before it.
    QFont portFont;
    portFont.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif")});
    portFont.setPointSizeF(11.25);
    Label9->setFont(portFont);
    VScroll1 = place<SpinScrollBar>(this, "VScroll1", twips(7380, 180, 315, 315));
    VScroll1->setRange(PortDirectory::kFirstCom, PortDirectory::kLastCom);
    VScroll1->setPageStep(1);
    VScroll1->setValue(1);
    VScroll1->setFocusPolicy(Qt::StrongFocus);
    VScroll1->raise();

    // Tab order of the design, which is not the order on screen.
    const QList<QWidget *> tabOrder = {Command1, Command2, List1, Command3, List2, Command4,
                                       Command5, Command6, Text1, Text2, Command7, Command8,
                                       Command9, VScroll1};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder.at(i - 1), tabOrder.at(i));
}
