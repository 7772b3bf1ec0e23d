// The main dialog as it opens: template, texts, menu, columns, focus, and how it ends.
#include "dialog_units.h"
#include "lintara_app.h"
#include "lintara_dlg.h"
#include "about_dlg.h"
#include "tests/ui/ui_test_support.h"

#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

class MainDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void dialogUnitsComeFromTheFont();
    void controlsFollowTheTemplate();
    void tabOrderIsTheTemplateOrder();
    void windowHasItsCaptionIconAndFixedFrame();
    void menuBarHoldsFileAndHelp();
    void resultListHasTwoHalfWidthColumns();
    void startsWithEmptyBoxClearedCheckBoxAndFocusInTheList();
    void noPushButtonIsADefaultButton();
    void opensCentredOnTheScreen();
    void endingCodes_data();
    void endingCodes();
    void enterOnAPushButtonPressesIt();
    void startUpStepRunsTheDialogAndReturnsFalse();
    void aboutBoxOpensFromTheMenuAndSystemCommands_data();
    void aboutBoxOpensFromTheMenuAndSystemCommands();
    void minimisedIconIsCentredWithTruncation_data();
    void minimisedIconIsCentredWithTruncation();

private:
    std::unique_ptr<uitest::Sandbox> sandbox_;
};

void MainDialogTest::initTestCase() {
    sandbox_ = std::make_unique<uitest::Sandbox>();
    sandbox_->SetUserInstallDir(sandbox_->Tree().AddInstall("ut").string());
}

void MainDialogTest::cleanupTestCase() { sandbox_.reset(); }

template <class W>
W* Child(QWidget& dialog, const char* name) {
    W* child = dialog.findChild<W*>(QString::fromLatin1(name));
    if (!child) qFatal("no child %s", name);
    return child;
}

QLabel* LabelWithText(QWidget& dialog, const QString& text) {
    for (QLabel* label : dialog.findChildren<QLabel*>())
        if (label->text() == text) return label;
    return nullptr;
}

void MainDialogTest::dialogUnitsComeFromTheFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    const QFontMetrics metrics(font);
    const DialogUnits units(metrics);
    const double average = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52.0;
    QVERIFY(qAbs(units.BaseX() - average) <= 0.5);
    QCOMPARE(units.BaseY(), metrics.ascent() + metrics.descent());
    // Four horizontal units make one average character, eight vertical ones its height.
    QCOMPARE(units.ToPixelsX(4), units.BaseX());
    QCOMPARE(units.ToPixelsY(8), units.BaseY());
    QCOMPARE(units.ToPixelsX(320), 80 * units.BaseX());
    QCOMPARE(units.ToPixelsY(200), 25 * units.BaseY());
    QCOMPARE(units.ToPixelsX(7), qRound(7 * units.BaseX() / 4.0));
    QCOMPARE(units.ToPixels(QRect(7, 61, 248, 122)),
             QRect(units.ToPixelsX(7), units.ToPixelsY(61), units.ToPixelsX(248), units.ToPixelsY(122)));

    // A larger font gives a larger dialog of the same proportions.
    QFont large = font;
    large.setPixelSize(26);
    const DialogUnits largeUnits{QFontMetrics(large)};
    QVERIFY(largeUnits.ToPixelsX(320) > units.ToPixelsX(320) * 3 / 2);
    QVERIFY(largeUnits.ToPixelsY(200) > units.ToPixelsY(200) * 3 / 2);
}

void MainDialogTest::controlsFollowTheTemplate() {
    CLintaraDlg dialog;
    auto* list = Child<QTreeWidget>(dialog, "resultList");
    QWidget* client = list->parentWidget();
    const DialogUnits units(client->fontMetrics());
    QCOMPARE(client->font().pointSize(), 8);
    QCOMPARE(client->size(), QSize(units.ToPixelsX(320), units.ToPixelsY(200)));

    struct Expected {
        QWidget* control;
        QRect units;
        QString text;
    };
    const Expected table[] = {
        {list, {7, 61, 248, 122}, {}},
        {Child<QLineEdit>(dialog, "fileNameBox"), {7, 16, 248, 12}, {}},
        {LabelWithText(dialog, QStringLiteral("Filename:")), {7, 7, 31, 8}, QStringLiteral("Filename:")},
        {LabelWithText(dialog, QStringLiteral("Dependancies:")), {7, 51, 49, 8}, QStringLiteral("Dependancies:")},
        {Child<QPushButton>(dialog, "browseButton"), {263, 16, 50, 12}, QStringLiteral("Browse")},
        {Child<QPushButton>(dialog, "goButton"), {263, 60, 50, 14}, QStringLiteral("Go!")},
        {Child<QCheckBox>(dialog, "missingOnlyCheckBox"), {7, 31, 112, 10}, QStringLiteral("Only Show Missing Packages")},
    };
    for (const Expected& expected : table) {
        QVERIFY(expected.control);
        QCOMPARE(expected.control->parentWidget(), client);
        QCOMPARE(expected.control->geometry(), units.ToPixels(expected.units));
        if (auto* button = qobject_cast<QAbstractButton*>(expected.control)) QCOMPARE(button->text(), expected.text);
        // Every text fits its control.
        if (auto* label = qobject_cast<QLabel*>(expected.control))
            QVERIFY2(label->sizeHint().width() <= label->width(), qPrintable(expected.text));
    }
    // The client area lies right below the menu bar.
    QCOMPARE(client->geometry().top(), dialog.findChild<QMenuBar*>()->geometry().bottom() + 1);
}

void MainDialogTest::tabOrderIsTheTemplateOrder() {
    CLintaraDlg dialog;
    const QList<QWidget*> expected = {
        Child<QTreeWidget>(dialog, "resultList"), Child<QLineEdit>(dialog, "fileNameBox"),
        Child<QPushButton>(dialog, "browseButton"), Child<QPushButton>(dialog, "goButton"),
        Child<QCheckBox>(dialog, "missingOnlyCheckBox")};
    QList<QWidget*> order;
    QWidget* widget = expected.first();
    do {
        if (widget->focusPolicy() & Qt::TabFocus) order << widget;
        widget = widget->nextInFocusChain();
    } while (widget != expected.first() && order.size() < 20);
    QCOMPARE(order, expected);
}

void MainDialogTest::windowHasItsCaptionIconAndFixedFrame() {
    CLintaraDlg dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Lintara"));
    QList<QSize> sizes = dialog.windowIcon().availableSizes();
    std::sort(sizes.begin(), sizes.end(), [](QSize a, QSize b) { return a.width() < b.width(); });
    QCOMPARE(sizes, (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));
    QVERIFY(!dialog.windowIcon().pixmap(32).toImage().isNull());
    // A window of its own, with a title bar, a system menu and a close box, and no sizing.
    QCOMPARE(dialog.windowType(), Qt::Window);
    QVERIFY(dialog.parentWidget() == nullptr);
    const Qt::WindowFlags flags = dialog.windowFlags();
    QVERIFY(flags & Qt::WindowTitleHint);
    QVERIFY(flags & Qt::WindowSystemMenuHint);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QVERIFY(!dialog.isSizeGripEnabled());
}

void MainDialogTest::menuBarHoldsFileAndHelp() {
    CLintaraDlg dialog;
    auto* menuBar = dialog.findChild<QMenuBar*>();
    QVERIFY(menuBar);
    const QList<QAction*> menus = menuBar->actions();
    QCOMPARE(menus.size(), 2);
    QCOMPARE(menus[0]->text(), QStringLiteral("&File"));
    QCOMPARE(menus[1]->text(), QStringLiteral("&Help"));
    const QList<QAction*> fileItems = menus[0]->menu()->actions();
    const QList<QAction*> helpItems = menus[1]->menu()->actions();
    QCOMPARE(fileItems.size(), 1);
    QCOMPARE(helpItems.size(), 1);
    QCOMPARE(fileItems[0]->text(), QStringLiteral("E&xit"));
    QCOMPARE(fileItems[0]->statusTip(), QStringLiteral("Exits the program"));
    QCOMPARE(helpItems[0]->text(), QStringLiteral("&About..."));
    QCOMPARE(helpItems[0]->statusTip(), QStringLiteral("Displays the About Dialog"));
    // Reached through their mnemonics only.
    QVERIFY(fileItems[0]->shortcut().isEmpty());
    QVERIFY(helpItems[0]->shortcut().isEmpty());
}

void MainDialogTest::resultListHasTwoHalfWidthColumns() {
    CLintaraDlg dialog;
    auto* list = Child<QTreeWidget>(dialog, "resultList");
    QCOMPARE(list->columnCount(), 2);
    QCOMPARE(list->headerItem()->text(0), QStringLiteral("FileName"));
    QCOMPARE(list->headerItem()->text(1), QStringLiteral("Status"));
    const int half = list->contentsRect().width() / 2;
    QVERIFY(half > 0);
    QCOMPARE(list->columnWidth(0), half);
    QCOMPARE(list->columnWidth(1), half);
    QVERIFY(!list->isSortingEnabled());
    QVERIFY(!list->header()->sectionsClickable());
    QVERIFY(!list->header()->isSortIndicatorShown());
    QCOMPARE(list->selectionMode(), QAbstractItemView::ExtendedSelection);
    QVERIFY(!list->rootIsDecorated());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    // Once laid out, the columns still share the client width, one pixel left over when it is odd.
    QCOMPARE(list->columnWidth(0), list->viewport()->width() / 2);
}

void MainDialogTest::startsWithEmptyBoxClearedCheckBoxAndFocusInTheList() {
    CLintaraDlg dialog;
    QVERIFY(Child<QLineEdit>(dialog, "fileNameBox")->text().isEmpty());
    QCOMPARE(Child<QCheckBox>(dialog, "missingOnlyCheckBox")->checkState(), Qt::Unchecked);
    QCOMPARE(Child<QTreeWidget>(dialog, "resultList")->topLevelItemCount(), 0);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(QApplication::focusWidget(), Child<QTreeWidget>(dialog, "resultList"));
}

void MainDialogTest::noPushButtonIsADefaultButton() {
    CLintaraDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        QVERIFY2(!button->isDefault(), qPrintable(button->text()));
        QVERIFY2(!button->autoDefault(), qPrintable(button->text()));
    }
}

void MainDialogTest::opensCentredOnTheScreen() {
    CLintaraDlg dialog;
    QRect frame;
    const auto driver = uitest::WhenModal<CLintaraDlg>([&](CLintaraDlg* open) {
        frame = open->frameGeometry();
        open->reject();
    });
    dialog.exec();
    const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    QVERIFY2((frame.center() - centre).manhattanLength() <= 2,
             qPrintable(QStringLiteral("centre %1,%2").arg(frame.center().x()).arg(frame.center().y())));
}

void MainDialogTest::endingCodes_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("code");
    QTest::newRow("Enter in the result list") << "Enter" << "resultList" << CLintaraDlg::kOk;
    QTest::newRow("Enter in the file-name box") << "Enter" << "fileNameBox" << CLintaraDlg::kOk;
    QTest::newRow("Enter on the check box") << "Enter" << "missingOnlyCheckBox" << CLintaraDlg::kOk;
    QTest::newRow("keypad Enter") << "keypad Enter" << "fileNameBox" << CLintaraDlg::kOk;
    QTest::newRow("Escape") << "Escape" << "fileNameBox" << CLintaraDlg::kCancel;
    QTest::newRow("Escape on a button") << "Escape" << "goButton" << CLintaraDlg::kCancel;
    QTest::newRow("close box") << "close" << "resultList" << CLintaraDlg::kCancel;
    QTest::newRow("File > Exit") << "Exit" << "resultList" << CLintaraDlg::kExit;
}

void MainDialogTest::endingCodes() {
    QFETCH(QString, how);
    QFETCH(QString, focus);
    QFETCH(int, code);
    CLintaraDlg dialog;
    const auto driver = uitest::WhenModal<CLintaraDlg>([&](CLintaraDlg* open) {
        QWidget* target = open->findChild<QWidget*>(focus);
        target->setFocus();
        if (how == "Enter")
            QTest::keyClick(target, Qt::Key_Return);
        else if (how == "keypad Enter")
            QTest::keyClick(target, Qt::Key_Enter, Qt::KeypadModifier);
        else if (how == "Escape")
            QTest::keyClick(target, Qt::Key_Escape);
        else if (how == "close")
            open->close();
        else
            open->findChild<QAction*>(QStringLiteral("exitCommand"))->trigger();
    });
    QCOMPARE(dialog.exec(), code);
    QVERIFY(!dialog.isVisible());
}

void MainDialogTest::enterOnAPushButtonPressesIt() {
    CLintaraDlg dialog;
    auto* go = Child<QPushButton>(dialog, "goButton");
    QSignalSpy clicks(go, &QPushButton::clicked);
    bool stillOpen = false;
    const auto driver = uitest::WhenModal<CLintaraDlg>([&](CLintaraDlg* open) {
        go->setFocus();
        QTest::keyClick(go, Qt::Key_Return);
        stillOpen = open->isVisible();
        open->done(42);
    });
    QCOMPARE(dialog.exec(), 42);
    QVERIFY(stillOpen);
    QCOMPARE(clicks.count(), 1);
}

void MainDialogTest::startUpStepRunsTheDialogAndReturnsFalse() {
    auto* application = qobject_cast<CLintaraApp*>(QCoreApplication::instance());
    QVERIFY(application);
    bool ran = false;
    const auto driver = uitest::WhenModal<CLintaraDlg>([&](CLintaraDlg* open) {
        ran = open->windowTitle() == QStringLiteral("Lintara");
        QTest::keyClick(open, Qt::Key_Escape);
    });
    QCOMPARE(application->InitInstance(), false);
    QVERIFY(ran);
}

void MainDialogTest::aboutBoxOpensFromTheMenuAndSystemCommands_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<uint>("command");
    QTest::addColumn<bool>("opens");
    QTest::newRow("Help > About...") << "menu" << 0u << true;
    QTest::newRow("system command 16") << "system" << 16u << true;
    QTest::newRow("system command 31") << "system" << 31u << true;
    QTest::newRow("high bits ignored") << "system" << 0x10010u << true;
    QTest::newRow("system command 32") << "system" << 32u << false;
    QTest::newRow("system command 15") << "system" << 15u << false;
    QTest::newRow("the platform's close") << "system" << 0xF060u << false;
}

void MainDialogTest::aboutBoxOpensFromTheMenuAndSystemCommands() {
    QFETCH(QString, how);
    QFETCH(uint, command);
    QFETCH(bool, opens);
    CLintaraDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    bool opened = false;
    QWidget* owner = nullptr;
    QSize size;
    const auto driver = uitest::WhenModal<CAboutDlg>(
        [&](CAboutDlg* box) {
            opened = true;
            owner = box->parentWidget();
            size = box->size();
            QTest::keyClick(box, Qt::Key_Escape);
        },
        opens ? 10000 : 300);
    bool handled = true;
    if (how == "menu")
        dialog.findChild<QAction*>(QStringLiteral("aboutCommand"))->trigger();
    else
        handled = dialog.OnSysCommand(command);
    if (!opens) QTest::qWait(400);
    QCOMPARE(opened, opens);
    QCOMPARE(handled, opens);
    if (opens) {
        QCOMPARE(owner, &dialog);
        QCOMPARE(size, QSize(332, 263));
    }
    QVERIFY(dialog.isVisible()); // the main dialog goes on
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void MainDialogTest::minimisedIconIsCentredWithTruncation_data() {
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QSize>("icon");
    QTest::addColumn<QPoint>("origin");
    QTest::newRow("36 x 36") << QSize(36, 36) << QSize(32, 32) << QPoint(2, 2);
    QTest::newRow("37 x 37") << QSize(37, 37) << QSize(32, 32) << QPoint(3, 3);
    QTest::newRow("empty: toward zero") << QSize(0, 0) << QSize(32, 32) << QPoint(-15, -15);
    QTest::newRow("wide") << QSize(160, 28) << QSize(32, 32) << QPoint(64, -1);
}

void MainDialogTest::minimisedIconIsCentredWithTruncation() {
    QFETCH(QSize, client);
    QFETCH(QSize, icon);
    QFETCH(QPoint, origin);
    QCOMPARE(CLintaraDlg::IconOrigin(client, icon), origin);
}

int main(int argc, char* argv[]) {
    CLintaraApp application(argc, argv);
    MainDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "main_dialog_test.moc"
