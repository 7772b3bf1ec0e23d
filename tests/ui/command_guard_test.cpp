// The guard around the dialog's command handlers: which errors it reports, in which box, and that
// the window goes on.
#include "platform/file_error.h"
#include "platform/qt/command_guard.h"
#include "tests/ui/ui_test_support.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QtTest>

#include <new>
#include <stdexcept>

class CommandGuardTest : public QObject {
    Q_OBJECT

private slots:
    void reportsEachErrorInTheFrameworkBox_data();
    void reportsEachErrorInTheFrameworkBox();
    void runsAHandlerThatSucceedsWithoutABox();
    void letsOtherErrorsPass();
};

struct Seen {
    bool shown = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    bool ownedByWindow = false;
};

void CommandGuardTest::reportsEachErrorInTheFrameworkBox_data() {
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("icon");
    QTest::newRow("refused seek") << 0 << "Seek failed on an unnamed file." << int(QMessageBox::Critical);
    QTest::newRow("failed read") << 1 << "Input/output error while reading an unnamed file."
                                 << int(QMessageBox::Critical);
    QTest::newRow("exhausted memory") << 2 << "Out of memory." << int(QMessageBox::Warning);
}

void CommandGuardTest::reportsEachErrorInTheFrameworkBox() {
    QFETCH(int, error);
    QFETCH(QString, text);
    QFETCH(int, icon);

    QDialog window;
    window.show();
    Seen seen;
    const auto driver = uitest::WhenModal<QMessageBox>([&](QMessageBox* box) {
        seen = {true, box->windowTitle(), box->text(), box->icon(), int(box->standardButtons()),
                box->parentWidget() == &window};
        box->accept();
    });
    bool handlerRan = false;
    lintara::RunCommand(&window, [&] {
        handlerRan = true;
        if (error == 0) throw lintara::FileError(lintara::FileError::Operation::Seek, EINVAL, "Invalid argument");
        if (error == 1) throw lintara::FileError(lintara::FileError::Operation::Read, EIO, "Input/output error");
        throw std::bad_alloc();
    });

    QVERIFY(handlerRan);
    QVERIFY2(seen.shown, "no error box was shown");
    QCOMPARE(seen.title, QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
    QCOMPARE(seen.title, QStringLiteral("ui_command_guard_tests"));
    QCOMPARE(seen.text, text);
    QCOMPARE(int(seen.icon), icon);
    QCOMPARE(seen.buttons, int(QMessageBox::Ok));
    QVERIFY(seen.ownedByWindow);
    QVERIFY(window.isVisible()); // the window goes on
}

void CommandGuardTest::runsAHandlerThatSucceedsWithoutABox() {
    bool boxShown = false;
    const auto driver = uitest::WhenModal<QMessageBox>([&](QMessageBox* box) { boxShown = true; box->accept(); }, 200);
    int calls = 0;
    lintara::RunCommand(nullptr, [&] { ++calls; });
    QTest::qWait(300);
    QCOMPARE(calls, 1);
    QVERIFY(!boxShown);
}

void CommandGuardTest::letsOtherErrorsPass() {
    QVERIFY_THROWS_EXCEPTION(std::logic_error,
                             lintara::RunCommand(nullptr, [] { throw std::logic_error("a bug"); }));
}

QTEST_MAIN(CommandGuardTest)
#include "command_guard_test.moc"
